#include "tabexport/xls/XlsFormat.h"

#include "platform/gfx/GdiObjects.h"
#include "platform/rtl/Strings.h"

namespace cb::tabexport {

namespace {

const TxlsColorInfo KColors[KXlsColorCount] = {
    {"Black", 0x00000000, 8},
    {"Brown", 0x00003399, 60},
    {"Olive Green", 0x00003333, 59},
    {"Dark Green", 0x00003300, 58},
    {"Dark Teal", 0x00663300, 56},
    {"Dark Blue", 0x00800000, 18},
    {"Indigo", 0x00993333, 62},
    {"Gray-80%", 0x00333333, 63},
    {"Dark Red", 0x00000080, 16},
    {"Orange", 0x000066FF, 53},
    {"Dark Yellow", 0x00008080, 19},
    {"Green", 0x00008000, 17},
    {"Teal", 0x00808000, 21},
    {"Blue", 0x00FF0000, 12},
    {"Blue-Gray", 0x00996666, 54},
    {"Gray-50%", 0x00808080, 23},
    {"Red", 0x000000FF, 10},
    {"Light Orange", 0x000099FF, 52},
    {"Lime", 0x0000CC99, 50},
    {"Sea Green", 0x00669933, 57},
    {"Aqua", 0x00CCCC33, 49},
    {"Light Blue", 0x00FF6633, 48},
    {"Violet", 0x00800080, 20},
    {"Gray-40%", 0x00969696, 55},
    {"Pink", 0x00FF00FF, 14},
    {"Gold", 0x0000CCFF, 51},
    {"Yellow", 0x0000FFFF, 13},
    {"Bright Green", 0x0000FF00, 11},
    {"Turquoise", 0x00FFFF00, 15},
    {"Sky Blue", 0x00FFCC00, 40},
    {"Plum", 0x00663399, 61},
    {"Gray-25%", 0x00C0C0C0, 22},
    {"Rose", 0x00CC99FF, 45},
    {"Tan", 0x0099CCFF, 47},
    {"Light Yellow", 0x0099FFFF, 43},
    {"Liht Green", 0x00CCFFCC, 42},
    {"Light Turquoise", 0x00FFFFCC, 41},
    {"Pale Blue", 0x00FFCC99, 44},
    {"Lavender", 0x00FF99CC, 46},
    {"White", 0x00FFFFFF, 9},
};

}  // namespace

const TxlsColorInfo& XlsColorInfo(TxlsColor Color) {
    int i = int(Color);
    return KColors[i >= 0 && i < KXlsColorCount ? i : 0];
}

void TxlsFont::AssignFrom(const cb::gfx::TFont& Font) {
    Size = Font.Size();
    Style = 0;
    SetStyle(xfsBold, Font.Bold());
    SetStyle(xfsItalic, Font.Italic());
    SetStyle(xfsStrikeOut, Font.StrikeOut());
    Underline = Font.Underline() ? fulSingle : fulNone;
    switch (Font.Color()) {
    case 0x000080:
        Color = clrDarkRed;
        break;
    case 0x0000FF:
        Color = clrRed;
        break;
    case 0x008000:
        Color = clrGreen;
        break;
    case 0x008080:
        Color = clrDarkYellow;
        break;
    case 0x00FF00:
        Color = clrBrightGreen;
        break;
    case 0x00FFFF:
        Color = clrYellow;
        break;
    case 0x800000:
        Color = clrDarkBlue;
        break;
    case 0x800080:
        Color = clrViolet;
        break;
    case 0x808000:
        Color = clrTeal;
        break;
    case 0x808080:
        Color = clrGray50Percent;
        break;
    case 0xC0C0C0:
        Color = clrGray25Percent;
        break;
    case 0xFF0000:
        Color = clrBlue;
        break;
    case 0xFF00FF:
        Color = clrPink;
        break;
    case 0xFFFF00:
        Color = clrTurquoise;
        break;
    case 0xFFFFFF:
        Color = clrWhite;
        break;
    default:
        Color = clrBlack;
        break;
    }
    Script = fscNone;
    Charset = Font.Charset();
    Name = Font.Name();
}

void TxlsFont::AssignTo(cb::gfx::TFont& Font) const {
    Font.SetName(Name);
    Font.SetSize(Size);
    cb::gfx::TFontStyles s = 0;
    if (Style & xfsBold) s |= cb::gfx::fsBold;
    if (Style & xfsItalic) s |= cb::gfx::fsItalic;
    if (Style & xfsStrikeOut) s |= cb::gfx::fsStrikeOut;
    if (Underline != fulNone) s |= cb::gfx::fsUnderline;
    Font.SetStyle(s);
    Font.SetColor(XlsColorInfo(Color).Color);
    Font.SetCharset(Charset);
}

bool TxlsBorders::Any() const {
    for (const TxlsBorder* b : {&Left, &Right, &Top, &Bottom, &DiagDown, &DiagUp})
        if (b->Style != bstNone) return true;
    return false;
}

bool TxlsFormat::IsDefault() const {
    return *this == TxlsFormat();
}

void SetBoldFormat(TxlsFormat& Format) {
    Format.Reset();
    Format.Font.SetStyle(xfsBold, true);
}

TxlsFieldFormat& TxlsFieldFormats::Add() {
    FItems.emplace_back();
    return FItems.back();
}

const TxlsFieldFormat* TxlsFieldFormats::Find(const std::string& FieldName) const {
    for (const auto& f : FItems)
        if (cb::rtl::SameText(f.FieldName, FieldName)) return &f;
    return nullptr;
}

}  // namespace cb::tabexport
