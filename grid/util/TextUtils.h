#pragma once
// Text helpers of the grid: integers at the start of a text, searching,
// line breaks, names, links, kinds of cell text, cell references and CSV
// fields. Positions are 1-based, 0 meaning "not found".
#include "grid/util/GridTypes.h"

#include <string>
#include <string_view>

namespace cb::grid {

// The longest leading integer of a text (optional sign, then digits).
// Returns false when there is none; clean is true when nothing follows it.
bool ReadLeadingInt(std::string_view text, int& value, bool& clean);
// The whole text reads as an integer.
bool ReadCleanInt(std::string_view text, int& value);

// --- text ------------------------------------------------------------------
int PosInUpperCase(std::string_view pattern, std::string_view text);
int FirstCharPos(char c, std::string_view text);
int FirstCharPosOut(char c, std::string_view text, int& pos);
int PosWithOut(std::string_view pattern, std::string_view text, int& pos);
char FirstCharInSet(std::string_view set, std::string_view text);
void FillWithChar(std::string& text, char c);
std::string CollapseRepeatedChar(char c, std::string_view text);
std::string BackslashNToCR(std::string_view text);
void LFToCRLF(std::string& text);
void TildeToCRLF(std::string& text);
void QuoteMultiLineText(std::string& text);
void ExtractFirstLine(std::string& text, bool keepRest, std::string& line);
int CountTextLines(std::string_view text, bool multiLine);
// Cell texts are UTF-8 here: there is no OEM code page to convert from.
void OemToAnsiText(std::string& text);
char LowerAsciiChar(char c);
std::string CapitaliseName(std::string_view text);
bool IsURLOrMail(std::string_view text);
void StripURLScheme(std::string& text);

// Kinds of cell text.
enum TCellTextKind : int {
    ctkPlain = 0,
    ctkHTML = 1,
    ctkRichText = 2,
    ctkFormula = 3,
    ctkWideText = 5
};
TCellTextKind CellTextKind(std::string_view text, bool htmlEnabled);
// The characters of a wide text: after its mark "|\", two bytes a
// character, the high one first (a last odd byte is dropped).
std::u16string DecodeWideText(std::string_view text);
// The wide text with its mark, as DecodeWideText reads it.
std::string EncodeWideText(std::u16string_view text);
// "R<row>C<col>" references; the cell is (column, row).
bool ParseRowColRef(std::string_view text, TGridCoord& cell);

// --- CSV fields --------------------------------------------------------------
int ClosingQuotePos(char quote, std::string_view text, int& pos);
int CountClosingQuotes(char quote, std::string_view text);
int CountChar(char c, std::string_view text);

}  // namespace cb::grid
