#include "platform/rtl/PdfText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace cb::rtl {

namespace {

// Unicode code points of WinAnsi codes 0x80..0x9F (0: none).
const char32_t kWinAnsiHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

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

int WinAnsiCode(char32_t CodePoint) {
    if (CodePoint < 0x80 || (CodePoint >= 0xA0 && CodePoint <= 0xFF)) return static_cast<int>(CodePoint);
    for (int k = 0; k < 32; ++k)
        if (kWinAnsiHigh[k] == CodePoint) return 0x80 + k;
    return -1;
}

char32_t WinAnsiChar(unsigned char Code) {
    return Code >= 0x80 && Code < 0xA0 ? kWinAnsiHigh[Code - 0x80] : char32_t(Code);
}

std::string Utf8ToWinAnsi(std::string_view Utf8) {
    std::string out;
    out.reserve(Utf8.size());
    for (std::size_t i = 0; i < Utf8.size();) {
        int code = WinAnsiCode(NextCodePoint(Utf8, i));
        out += code >= 0 ? static_cast<char>(code) : '?';
    }
    return out;
}

std::string PdfEscapeString(std::string_view Bytes) {
    std::string out;
    out.reserve(Bytes.size() + 8);
    for (unsigned char c : Bytes) {
        if (c == '\\' || c == '(' || c == ')') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32 || c == 127) {
            char oct[5];
            std::snprintf(oct, sizeof oct, "\\%03o", c);
            out += oct;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string PdfNumber(double Value, int Decimals) {
    if (!std::isfinite(Value)) Value = 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::fixed, Decimals);
    std::string s(buf, r.ptr);
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

}  // namespace cb::rtl
