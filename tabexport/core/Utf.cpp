#include "tabexport/core/Utf.h"

namespace cb::tabexport {

std::size_t Utf8Length(std::string_view Text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < Text.size(); ++n) NextCodePoint(Text, i);
    return n;
}

std::size_t AppendUtf16(std::string_view Text, std::u16string& Out) {
    std::size_t before = Out.size();
    for (std::size_t i = 0; i < Text.size();) {
        char32_t cp = NextCodePoint(Text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            Out += char16_t(0xD800 + (cp >> 10));
            Out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            Out += char16_t(cp);
        }
    }
    return Out.size() - before;
}

std::u16string Utf8ToUtf16(std::string_view Text) {
    std::u16string out;
    out.reserve(Text.size());
    AppendUtf16(Text, out);
    return out;
}

std::string Utf8Left(std::string_view Text, std::size_t MaxChars) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < MaxChars && i < Text.size(); ++n) NextCodePoint(Text, i);
    return std::string(Text.substr(0, i));
}

bool IsAscii(std::string_view Text) {
    for (char c : Text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace cb::tabexport
