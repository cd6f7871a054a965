#pragma once
// Cell appearance as the user describes it: colours of the workbook
// palette, font, borders, fill, alignment and wrap, and the per-column
// field formats with their aggregates.
#include <cstdint>
#include <string>
#include <vector>

namespace cb::gfx {
class TFont;
}
namespace cb::rtl {
class TCustomIniFile;
}

namespace cb::tabexport {

enum TxlsColor {
    clrBlack,
    clrBrown,
    clrOliveGreen,
    clrDarkGreen,
    clrDarkTeal,
    clrDarkBlue,
    clrIndigo,
    clrGray80Percent,
    clrDarkRed,
    clrOrange,
    clrDarkYellow,
    clrGreen,
    clrTeal,
    clrBlue,
    clrBlueGray,
    clrGray50Percent,
    clrRed,
    clrLightOrange,
    clrLime,
    clrSeaGreen,
    clrAqua,
    clrLightBlue,
    clrViolet,
    clrGray40Percent,
    clrPink,
    clrGold,
    clrYellow,
    clrBrightGreen,
    clrTurquoise,
    clrSkyBlue,
    clrPlum,
    clrGray25Percent,
    clrRose,
    clrTan,
    clrLightYellow,
    clrLihtGreen,
    clrLightTurquoise,
    clrPaleBlue,
    clrLavender,
    clrWhite
};
constexpr int KXlsColorCount = 40;

struct TxlsColorInfo {
    const char* Name;
    std::uint32_t Color;   // 0x00BBGGRR
    std::uint8_t Palette;  // index into the default palette
};
const TxlsColorInfo& XlsColorInfo(TxlsColor Color);

enum TxlsFontStyle : unsigned {
    xfsBold = 1,
    xfsItalic = 2,
    xfsStrikeOut = 4
};
enum TxlsFontScript {
    fscNone,
    fscSuperscript,
    fscSubscript
};
enum TxlsFontUnderline {
    fulNone,
    fulSingle,
    fulDouble,
    fulSingleAccounting,
    fulDoubleAccounting
};

struct TxlsFont {
    int Size = 10;
    unsigned Style = 0;  // TxlsFontStyle bits
    TxlsColor Color = clrBlack;
    TxlsFontScript Script = fscNone;
    TxlsFontUnderline Underline = fulNone;
    int Charset = 1;
    std::string Name = "arial";

    bool operator==(const TxlsFont&) const = default;
    void SetStyle(TxlsFontStyle S, bool On) { Style = On ? (Style | S) : (Style & ~unsigned(S)); }
    // From a toolkit font: size, styles, nearest of the 16 basic colours.
    void AssignFrom(const cb::gfx::TFont& Font);
    // To a toolkit font.
    void AssignTo(cb::gfx::TFont& Font) const;
};

enum TxlsBorderStyle {
    bstNone,
    bstThin,
    bstMedium,
    bstDashed,
    bstDotted,
    bstThick,
    bstDouble,
    bstHair,
    bstMediumDashed,
    bstDashDot,
    bstMediumDashDot,
    bstDashDotDot,
    bstMediumDashDotDot,
    bstSlantedDashDot
};
struct TxlsBorder {
    TxlsBorderStyle Style = bstNone;
    TxlsColor Color = clrBlack;
    bool operator==(const TxlsBorder&) const = default;
};
struct TxlsBorders {
    TxlsBorder Left, Right, Top, Bottom, DiagDown, DiagUp;
    bool operator==(const TxlsBorders&) const = default;
    bool Any() const;
};

enum TxlsPattern {
    ptNone,
    ptSolid,
    ptChess,
    ptWhiteSpots,
    ptBlackSpots,
    ptBoldHorizontal,
    ptBoldVertical,
    ptBoldDiagRight,
    ptBoldDiagLeft,
    ptBoldChess,
    ptRingMail,
    ptThinGorizontal,
    ptThinVertical,
    ptThinDiagLeft,
    ptThinDiagRight,
    ptCells,
    ptCrissCross,
    ptThinSpots,
    ptThinThinSpots
};
struct TxlsFill {
    TxlsColor Background = clrWhite;
    TxlsPattern Pattern = ptNone;
    TxlsColor Foreground = clrBlack;
    bool operator==(const TxlsFill&) const = default;
};

enum TxlsHorizontalAlignment {
    halGeneral,
    halLeft,
    halCenter,
    halRight,
    halFill
};
enum TxlsVerticalAlignment {
    valTop,
    valCenter,
    valBottom,
    valJustify
};
struct TxlsAlignment {
    TxlsHorizontalAlignment Horizontal = halGeneral;
    TxlsVerticalAlignment Vertical = valBottom;
    int Indent = 0;  // levels of three blanks' width, 0 .. 15
    bool operator==(const TxlsAlignment&) const = default;
};

struct TxlsFormat {
    TxlsFont Font;
    TxlsBorders Borders;
    TxlsFill Fill;
    TxlsAlignment Alignment;
    bool Wrap = false;

    void Reset() { *this = TxlsFormat(); }
    bool IsDefault() const;
    bool operator==(const TxlsFormat&) const = default;

    // Font, alignment, borders (not the diagonal ones) and fill in one
    // section; script, charset and wrap are not stored. Colours are kept as
    // colour texts and read back as the palette colour of that value
    // (another value: black). Reading starts from the defaults.
    void SaveToStore(cb::rtl::TCustomIniFile& Store, const std::string& Section) const;
    void LoadFromStore(const cb::rtl::TCustomIniFile& Store, const std::string& Section);
};

// A format with bold text (the captions' default).
void SetBoldFormat(TxlsFormat& Format);

enum TxlsAggregate {
    aggNone,
    aggSum,
    aggAvg,
    aggMin,
    aggMax
};

struct TxlsFieldFormat : TxlsFormat {
    std::string FieldName;
    int Width = 0;
    TxlsAggregate Aggregate = aggNone;
    void Reset() { *this = TxlsFieldFormat(); }
    // The format with the field name, width and aggregate.
    void SaveToStore(cb::rtl::TCustomIniFile& Store, const std::string& Section) const;
    void LoadFromStore(const cb::rtl::TCustomIniFile& Store, const std::string& Section);
};

class TxlsFieldFormats {
public:
    TxlsFieldFormat& Add();
    int Count() const { return int(FItems.size()); }
    TxlsFieldFormat& Items(int Index) { return FItems.at(size_t(Index)); }
    const TxlsFieldFormat& Items(int Index) const { return FItems.at(size_t(Index)); }
    void Clear() { FItems.clear(); }
    // By field name, case ignored; null when none.
    const TxlsFieldFormat* Find(const std::string& FieldName) const;

private:
    std::vector<TxlsFieldFormat> FItems;
};

using TxlsFormats = std::vector<TxlsFormat>;
enum TxlsStripType {
    ssNone,
    ssCol,
    ssRow
};

}  // namespace cb::tabexport
