#pragma once
// The styles of one workbook: registered fonts, number formats and cell
// styles (XF), each stored once, and the FONT, FORMAT, XF and STYLE records
// of the workbook globals.
#include "tabexport/xls/XlsFormat.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace cb::tabexport {

class TBiffOut;

// The cell style every plain cell uses.
constexpr std::uint16_t KDefaultXF = 15;

struct TxlsXFormat {
    std::uint16_t XF = 0;
    int FontIndex = -1;    // -1: the default font
    int FormatIndex = -1;  // -1: "General"
    std::string FormatText;
    std::optional<TxlsFont> Font;
    TxlsBorders Borders;
    TxlsFill Fill;
    TxlsAlignment Alignment;
    bool Wrap = false;
};

class TxlsStyles {
public:
    // The XF index of a number format (toolkit or spreadsheet picture;
    // empty means "General") and an optional format.
    std::uint16_t GetCellStyle(const std::string& FormatText, const TxlsFormat* Format);
    // The registered style of an XF index; null for the built-in ones.
    const TxlsXFormat* Find(std::uint16_t XF) const;

    // Column and strip styles: per sheet and name, per sheet and key.
    void SetFieldStyle(int Sheet, const std::string& Field, std::uint16_t XF);
    std::uint16_t FieldStyle(int Sheet, const std::string& Field) const;
    void SetStripStyle(int Sheet, int Key, std::uint16_t XF);
    std::uint16_t StripStyle(int Sheet, int Key) const;
    bool HasStripStyles() const { return !FStrip.empty(); }

    void WriteFonts(TBiffOut& Out) const;
    void WriteFormats(TBiffOut& Out) const;
    void WriteXFs(TBiffOut& Out) const;
    static void WriteStyles(TBiffOut& Out);

    int FontCount() const { return int(FFonts.size()); }
    int FormatCount() const { return int(FFormats.size()); }
    int XFCount() const { return int(FXFs.size()); }

private:
    std::vector<TxlsFont> FFonts;                  // indices 5, 6, ...
    std::vector<std::string> FFormats;             // indices 50, 51, ...
    std::vector<TxlsXFormat> FXFs;                 // indices 16, 17, ...
    std::map<std::string, std::uint16_t> FFields;  // sheet and lower-case name
    std::map<std::pair<int, int>, std::uint16_t> FStrip;
};

}  // namespace cb::tabexport
