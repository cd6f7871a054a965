#pragma once
// Small stateless helpers of the grid: text, numbers, dates, CSV fields and
// a few drawing tasks. Positions are 1-based, 0 meaning "not found".
// Separators and the short date format come from the process-wide format
// settings unless a set is passed.
#include "grid/GridTypes.h"

#include "platform/rtl/FormatSettings.h"

#include <string>
#include <string_view>

namespace cb::gfx {
class TCanvas;
class TBitmap;
}  // namespace cb::gfx

namespace cb::grid {

// Days since 30 December 1899, fraction = time of day.
using TDateTime = double;

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Throws cb::rtl::EConvertError for an invalid date.
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
// The date written with the short date format (d, dd, m, mm, yy, yyyy).
std::string FormatShortDate(TDateTime date, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());

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
int CellTextKind(std::string_view text, bool htmlEnabled);
// "R<row>C<col>" references; the cell is (column, row).
bool ParseRowColRef(std::string_view text, TGridCoord& cell);

// --- numbers, dates and limits --------------------------------------------
int ClampToLimits(int value, int lower, int upper);
int MaxOfTwo(int a, int b);
int MinOfTwo(int a, int b);
bool CellInGridRect(const TGridRect& rect, int col, int row);
std::string NormaliseNumberText(std::string_view text, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
// 0 integer, 1 float, 2 not a number.
int NumberTextKind(std::string_view text, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
bool ParseShortDate(std::string_view text, TDateTime& date,
                    const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
// 0 when the text does not have the form; a day or month out of range
// throws cb::rtl::EConvertError.
TDateTime ParseMDYDate(std::string_view text);
TDateTime ParseDMYDate(std::string_view text);
TDateTime StepDate(int years, int months, int days, TDateTime date, TDateTime step);

// --- CSV fields --------------------------------------------------------------
int ClosingQuotePos(char quote, std::string_view text, int& pos);
int CountClosingQuotes(char quote, std::string_view text);
int CountChar(char c, std::string_view text);

// --- drawing -----------------------------------------------------------------
TColor HalveColor(TColor color);
void DrawBitmapTransparent(cb::gfx::TCanvas& canvas, const cb::gfx::TBitmap& bitmap, TColor background,
                           const TRect& rect);
void DrawPieProgress(cb::gfx::TCanvas& canvas, const TRect& rect, TColor fill, int percent);
// Zigzag under characters start .. start + length - 1 (0-based) of a text
// drawn left-aligned at the rectangle's left edge in the canvas font.
void DrawErrorUnderline(cb::gfx::TCanvas& canvas, std::string_view text, int length, int start, int offset,
                        const TRect& rect);

}  // namespace cb::grid
