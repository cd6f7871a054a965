#pragma once
// TTabRTFWriter: the RTF exporter's writer. It keeps the document header, a
// font table and a colour table, and turns fonts and colours into RTF
// control words. The tables are written near the top of the file; a font or
// colour met later is inserted into the written table, moving what follows.
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "tabexport/core/TabExport.h"

#include <string>
#include <vector>

namespace cb::tabexport {

struct TRTFHeader {
    int Version = 1;
    int DefaultFont = 0;
    int DefaultTab = 720;
    std::string CharSet = "ansi";
};

struct TRTFFontTableItem {
    int Number = 0;
    std::string Family = "nil";
    std::string FontName;
    std::string Text() const;
};

struct TRTFColorTableItem {
    int Red = 0, Green = 0, Blue = 0;
    std::string Text() const;
    bool Matches(cb::gfx::TColor Color) const;
};

// UTF-8 text as RTF: "\", "{" and "}" escaped, line breaks as \line, WinAnsi
// letters as \'xx and the rest as \uN with "?" for readers without Unicode.
std::string RTFEscape(const std::string& Utf8);

class TTabRTFWriter : public TTabExportWriter {
public:
    TTabRTFWriter(TTabExport* Owner, cb::rtl::TStream* Stream) : TTabExportWriter(Owner, Stream) {}

    std::string AlignToStr(TTabExportColAlign Align) override;
    void WriteGroupBegin() { Write("{"); }
    void WriteGroupEnd() { Write("}"); }
    void WritePar() { WriteLine("\\par"); }
    void WriteHeader();
    void WriteFontTable();
    void WriteColorTable();

    void AddFont(const std::string& FontName);
    void AddColor(cb::gfx::TColor Color);

    // "\fN\fsM" for the font (added to the table when new); written as a line when WriteIt.
    std::string FontToRTF(const cb::gfx::TFont& Font, bool WriteIt);
    std::string FontToRTF(const std::string& FontName, int PointSize, bool WriteIt);
    // Kind 0: text colour (\cf), 1: cell background (\cbpat), 2: highlight.
    // A colour that is none, default or a system colour is the document's
    // default: \cf0 for text, nothing for backgrounds.
    std::string ColorToRTF(cb::gfx::TColor Color, int Kind);
    void InsertText(std::int64_t Position, const std::string& Text);

    TRTFHeader Header;
    std::vector<TRTFFontTableItem> FontTable;
    std::vector<TRTFColorTableItem> ColorTable;

private:
    std::int64_t HeaderLength() const;
    std::int64_t FontTableLength() const;
    std::int64_t ColorTableLength() const;
};

}  // namespace cb::tabexport
