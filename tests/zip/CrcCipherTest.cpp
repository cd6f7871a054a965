// CRC-32 and the password cipher against known values.
#include "zip/Crc32.h"
#include "zip/ZipCipher.h"

#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

using namespace cb::zip;

TEST(Crc32, KnownValuesAndZlib) {
    struct TCase {
        std::string Data;
        std::uint32_t Crc;
    };
    const TCase cases[] = {
        {"", 0}, {"abc", 0x352441C2u}, {"123456789", 0xCBF43926u}, {std::string(1, '\0'), 0xD202EF8Du}};
    for (const auto& c : cases) EXPECT_EQ(Crc32(c.Data.data(), c.Data.size()), c.Crc) << c.Data;
    // Any length and alignment agrees with zlib, also when fed in pieces.
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>(i * 7 + i / 13);
    for (std::size_t len : {1u, 7u, 8u, 9u, 63u, 1000u}) {
        const std::uint32_t z = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data() + 1), static_cast<uInt>(len - 1)));
        EXPECT_EQ(Crc32(data.data() + 1, len - 1), z) << len;
        std::uint32_t running = 0xFFFFFFFF;
        for (std::size_t i = 1; i < len; i += 5)
            running = UpdateCrc32(running, data.data() + i, std::min<std::size_t>(5, len - i));
        EXPECT_EQ(~running, z) << len;
    }
}

TEST(ZipCipher, KeysStreamAndRoundTrip) {
    TZipCipher empty;
    empty.InitKeys("");
    EXPECT_EQ(empty.Key(0), 0x12345678u);
    EXPECT_EQ(empty.Key(1), 0x23456789u);
    EXPECT_EQ(empty.Key(2), 0x34567890u);

    // One key update with byte 'a' worked by hand from the rules.
    TZipCipher c;
    c.InitKeys("a");
    const std::uint32_t k0 = UpdateCrc32(0x12345678u, static_cast<std::uint8_t>('a'));
    const std::uint32_t k1 = (0x23456789u + (k0 & 0xFF)) * 134775813u + 1u;
    const std::uint32_t k2 = UpdateCrc32(0x34567890u, static_cast<std::uint8_t>(k1 >> 24));
    EXPECT_EQ(c.Key(0), k0);
    EXPECT_EQ(c.Key(1), k1);
    EXPECT_EQ(c.Key(2), k2);
    const std::uint32_t t = (k2 & 0xFFFF) | 2;
    EXPECT_EQ(c.KeyStreamByte(), static_cast<std::uint8_t>((t * (t ^ 1)) >> 8));

    std::string text = "The quick brown fox jumps over the lazy dog";
    std::string buf = text;
    TZipCipher enc, dec;
    enc.InitKeys("secret");
    dec.InitKeys("secret");
    enc.Encrypt(reinterpret_cast<std::uint8_t*>(buf.data()), buf.size());
    EXPECT_NE(buf, text);
    dec.Decrypt(reinterpret_cast<std::uint8_t*>(buf.data()), buf.size());
    EXPECT_EQ(buf, text);
}
