#pragma once
// Text and numbers as PDF content writes them, shared by the table and chart
// PDF writers: WinAnsi bytes, escaped strings, numbers with "." whatever the
// locale.
#include <cstddef>
#include <string>
#include <string_view>

namespace cb::rtl {

// Decodes the code point at Text[I] and moves I past it (U+FFFD for a
// malformed sequence, which advances one byte).
char32_t NextCodePoint(std::string_view Text, std::size_t& I);
// The WinAnsi (code page 1252) byte of a code point, -1 when it has none.
int WinAnsiCode(char32_t CodePoint);
// The code point of a WinAnsi byte, 0 for the five codes without one.
char32_t WinAnsiChar(unsigned char Code);
// UTF-8 to WinAnsi bytes, "?" for what WinAnsi lacks.
std::string Utf8ToWinAnsi(std::string_view Utf8);
// A PDF string's body: "\", "(" and ")" escaped, control bytes as octal.
std::string PdfEscapeString(std::string_view Bytes);
// A number with Decimals decimals and "." as the separator; never "-0.00".
std::string PdfNumber(double Value, int Decimals);

}  // namespace cb::rtl
