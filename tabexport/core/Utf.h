#pragma once
// UTF-8 helpers of the writers: character counts and UTF-16 conversion.
// Malformed bytes count as one character each and become U+FFFD.
#include "platform/rtl/PdfText.h"

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
// Code points and WinAnsi bytes, from the runtime.
using cb::rtl::NextCodePoint;
using cb::rtl::WinAnsiCode;

}  // namespace cb::tabexport
