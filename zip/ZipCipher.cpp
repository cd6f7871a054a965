#include "zip/ZipCipher.h"

#include "zip/Crc32.h"

namespace cb::zip {

void TZipCipher::InitKeys(std::string_view Password) {
    FKeys[0] = 0x12345678u;
    FKeys[1] = 0x23456789u;
    FKeys[2] = 0x34567890u;
    for (char c : Password) UpdateKeys(static_cast<std::uint8_t>(c));
}

void TZipCipher::UpdateKeys(std::uint8_t Plain) {
    FKeys[0] = UpdateCrc32(FKeys[0], Plain);
    FKeys[1] = (FKeys[1] + (FKeys[0] & 0xFF)) * 134775813u + 1u;
    FKeys[2] = UpdateCrc32(FKeys[2], static_cast<std::uint8_t>(FKeys[1] >> 24));
}

void TZipCipher::Encrypt(std::uint8_t* Buffer, std::size_t Length) {
    for (std::size_t i = 0; i < Length; ++i) Buffer[i] = EncryptByte(Buffer[i]);
}

void TZipCipher::Decrypt(std::uint8_t* Buffer, std::size_t Length) {
    for (std::size_t i = 0; i < Length; ++i) Buffer[i] = DecryptByte(Buffer[i]);
}

}  // namespace cb::zip
