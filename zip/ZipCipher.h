#pragma once
// The traditional zip password cipher. It is weak: it keeps out a casual
// reader, not an attacker.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cb::zip {

class TZipCipher {
public:
    // Keys from the password's bytes; an empty password leaves the initial keys.
    void InitKeys(std::string_view Password);
    void UpdateKeys(std::uint8_t Plain);
    std::uint8_t KeyStreamByte() const {
        const std::uint32_t t = (FKeys[2] & 0xFFFF) | 2;
        return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
    }
    std::uint8_t EncryptByte(std::uint8_t Plain) {
        const std::uint8_t c = Plain ^ KeyStreamByte();
        UpdateKeys(Plain);
        return c;
    }
    std::uint8_t DecryptByte(std::uint8_t Cipher) {
        const std::uint8_t p = Cipher ^ KeyStreamByte();
        UpdateKeys(p);
        return p;
    }
    void Encrypt(std::uint8_t* Buffer, std::size_t Length);
    void Decrypt(std::uint8_t* Buffer, std::size_t Length);
    std::uint32_t Key(int Index) const { return FKeys[Index]; }

private:
    std::uint32_t FKeys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

// The runtime's pseudo-random generator the encryption header draws from:
// seed = seed * 134775813 + 1, a value below N is the high half of seed * N.
class TZipRandom {
public:
    explicit TZipRandom(std::uint32_t Seed) : FSeed(Seed) {}
    std::uint32_t Next(std::uint32_t N) {
        FSeed = FSeed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(FSeed) * N) >> 32);
    }

private:
    std::uint32_t FSeed;
};

}  // namespace cb::zip
