#pragma once
// CRC-32 of the zip format (reflected polynomial 0xEDB88320).
#include <cstddef>
#include <cstdint>

namespace cb::zip {

// The standard 256-entry table.
const std::uint32_t* Crc32Table();

inline std::uint32_t UpdateCrc32(std::uint32_t Crc, std::uint8_t Byte) {
    return Crc32Table()[(Crc ^ Byte) & 0xFF] ^ (Crc >> 8);
}
// Running update without the pre- and post-conditioning: start at
// 0xFFFFFFFF and take the complement at the end.
std::uint32_t UpdateCrc32(std::uint32_t Crc, const void* Data, std::size_t Length);
// The finished checksum of a buffer ("abc" gives 0x352441C2).
inline std::uint32_t Crc32(const void* Data, std::size_t Length) {
    return ~UpdateCrc32(0xFFFFFFFFu, Data, Length);
}

}  // namespace cb::zip
