#include "tabexport/core/Utf.h"

namespace cb::tabexport {

char32_t NextCodePoint(std::string_view Text, std::size_t& i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(Text[k]); };
    unsigned char c = b(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int len = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (len == 0 || i + std::size_t(len) > Text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = c & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        unsigned char t = b(i + std::size_t(k));
        if ((t & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
        ++i;
        return 0xFFFD;
    }
    i += std::size_t(len);
    return cp;
}

namespace {

char32_t Next(std::string_view Text, std::size_t& i) {
    return NextCodePoint(Text, i);
}

// Unicode code points of WinAnsi codes 0x80..0x9F (0: none).
const char32_t kWinAnsiHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

int WinAnsiCode(char32_t CodePoint) {
    if (CodePoint < 0x80 || (CodePoint >= 0xA0 && CodePoint <= 0xFF)) return static_cast<int>(CodePoint);
    for (int k = 0; k < 32; ++k)
        if (kWinAnsiHigh[k] == CodePoint) return 0x80 + k;
    return -1;
}

std::size_t Utf8Length(std::string_view Text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < Text.size(); ++n) Next(Text, i);
    return n;
}

std::size_t AppendUtf16(std::string_view Text, std::u16string& Out) {
    std::size_t before = Out.size();
    for (std::size_t i = 0; i < Text.size();) {
        char32_t cp = Next(Text, i);
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
    for (std::size_t n = 0; n < MaxChars && i < Text.size(); ++n) Next(Text, i);
    return std::string(Text.substr(0, i));
}

bool IsAscii(std::string_view Text) {
    for (char c : Text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace cb::tabexport
