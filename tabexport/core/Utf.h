#pragma once
// UTF-8 helpers of the writers: character counts and UTF-16 conversion.
// Malformed bytes count as one character each and become U+FFFD.
#include <cstddef>
#include <string>
#include <string_view>

namespace cb::tabexport {

// Code points in the text.
std::size_t Utf8Length(std::string_view Text);
std::u16string Utf8ToUtf16(std::string_view Text);
// Appends the UTF-16 of Text to Out; returns the code units added.
std::size_t AppendUtf16(std::string_view Text, std::u16string& Out);
// The first MaxChars code points of Text.
std::string Utf8Left(std::string_view Text, std::size_t MaxChars);
bool IsAscii(std::string_view Text);
// Decodes the code point at Text[I] and moves I past it (U+FFFD for a
// malformed sequence, which advances one byte).
char32_t NextCodePoint(std::string_view Text, std::size_t& I);
// The WinAnsi (code page 1252) byte of a code point, -1 when it has none.
int WinAnsiCode(char32_t CodePoint);

}  // namespace cb::tabexport
