#include "zip/Crc32.h"

#include <array>
#include <bit>
#include <cstring>

namespace cb::zip {

namespace {

// Eight tables: the first is the standard one, the others let the update
// take eight bytes per step.
struct TCrcTables {
    std::array<std::array<std::uint32_t, 256>, 8> T{};
    TCrcTables() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            T[0][n] = c;
        }
        for (std::uint32_t n = 0; n < 256; ++n)
            for (int k = 1; k < 8; ++k) T[k][n] = T[0][T[k - 1][n] & 0xFF] ^ (T[k - 1][n] >> 8);
    }
};

const TCrcTables& Tables() {
    static const TCrcTables tables;
    return tables;
}

}  // namespace

const std::uint32_t* Crc32Table() {
    return Tables().T[0].data();
}

std::uint32_t UpdateCrc32(std::uint32_t Crc, const void* Data, std::size_t Length) {
    const auto& t = Tables().T;
    auto p = static_cast<const std::uint8_t*>(Data);
    while (Length >= 8) {
        std::uint32_t lo, hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + 4, 4);
        if constexpr (std::endian::native == std::endian::big) {
            lo = __builtin_bswap32(lo);
            hi = __builtin_bswap32(hi);
        }
        lo ^= Crc;
        Crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][hi & 0xFF] ^
              t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        p += 8;
        Length -= 8;
    }
    while (Length--) Crc = t[0][(Crc ^ *p++) & 0xFF] ^ (Crc >> 8);
    return Crc;
}

}  // namespace cb::zip
