#pragma once
// Text helpers of the mark-up language: colours, entities, plain text and
// escaping of text that must not be read as mark-up.
#include "platform/gfx/Color.h"

#include <string>
#include <string_view>

namespace cb::grid {

using cb::gfx::TColor;

// "clRed", "clBtnFace", ... compared ignoring case; unknown names give black.
TColor HTMLColorByName(std::string_view name);
// "#RRGGBB" (the "#" optional) as a 0x00BBGGRR colour; bad digits read as 0.
TColor HTMLHexColor(std::string_view text);
// A colour attribute value: "#RRGGBB" or a name; clNone when empty.
TColor HTMLColor(std::string_view value);

// Position of needle in text ignoring ASCII case, npos when absent.
size_t PosNoCase(std::string_view needle, std::string_view text, size_t from = 0);
// Replaces the first occurrence of what (ignoring case); true when replaced.
bool ReplaceFirstNoCase(std::string& text, std::string_view what, std::string_view with);

// <BR> and <HR> become CR LF, other tags are removed, entities stay. An
// unterminated tag is dropped.
std::string HTMLToPlainText(std::string_view text);

// Writes text so that the renderer shows it as it stands: "&", "<", ">" and
// double quotes become entities. Everything a user or a cube supplies goes
// through this before it is placed in mark-up.
std::string EscapeHTML(std::string_view text);

// Replaces the entities of one text run, once, left to right: "&amp;",
// "&quot;", "&sect;", "&permil;", "&reg;", "&copy;", "&para;", "&trade;",
// "&euro;" in any case; "&nbsp;", "&lt;", "&gt;" in lower case only.
std::string DecodeEntities(std::string_view text);

// Longest leading integer (blanks and sign allowed; "$" or "0x" for hex); 0
// when none. clean is set when nothing but blanks follows.
int HTMLReadInt(std::string_view text, bool* clean = nullptr);

// The text between the first pair of double quotes after name in tag (searched
// as given, so callers pass upper-cased tag text and names); empty when absent.
std::string_view HTMLAttribute(std::string_view tag, std::string_view name, bool* found = nullptr);

}  // namespace cb::grid
