#pragma once
// TTabExportRTF: the export as one RTF document: header lines, one table
// (caption row and data rows, one row definition for all) and footer lines,
// each kind of text in a style that an event may change per item.
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/rtl/StringList.h"
#include "tabexport/core/TabExport.h"

#include <functional>
#include <string>
#include <vector>

namespace cb::rtl {
class TCustomIniFile;
}

namespace cb::tabexport {

class TTabRTFWriter;

enum TrtfTextAlignment {
    talLeft,
    talRight,
    talCenter,
    talFill
};

enum TrtfStripType {
    stNone,
    stCol,
    stRow
};

class TrtfStyle {
public:
    TrtfStyle() { SetDefault(); }
    TrtfStyle(const TrtfStyle& Other) { Assign(Other); }
    TrtfStyle& operator=(const TrtfStyle& Other) {
        Assign(Other);
        return *this;
    }
    virtual ~TrtfStyle() = default;

    // Arial 10, black, white background and highlight, background allowed,
    // left aligned.
    virtual void SetDefault();
    void Assign(const TrtfStyle& Other);
    void SaveToIni(cb::rtl::TCustomIniFile& Store, const std::string& Section) const;
    // SetDefault, then every key with the current value as its default.
    void LoadFromIni(const cb::rtl::TCustomIniFile& Store, const std::string& Section);

    cb::gfx::TFont Font;
    cb::gfx::TColor BackgroundColor = 0xFFFFFF;
    cb::gfx::TColor HighlightColor = 0xFFFFFF;
    bool AllowHighlight = false;
    bool AllowBackground = true;
    TrtfTextAlignment Alignment = talLeft;
};

using TrtfStyles = std::vector<TrtfStyle>;

class TRTFOptions {
public:
    TRTFOptions();

    cb::rtl::TStringList CaptionAligns;  // column name=L|C|R
    TrtfStyle CaptionStyle;
    TrtfStyle DataStyle;
    TTabExportPageOrientation PageOrientation = poPortrait;
    TrtfStyles StripStyles;
    TrtfStripType StripType = stNone;
    TrtfStyle HeaderStyle;
    TrtfStyle FooterStyle;
};

// A style as RTF control words.
struct TrtfStyleText {
    std::string Alignment, Font, Color, Flags, Background, Highlight;
    // Font, colour and flags, followed by a blank when not empty.
    std::string Look() const;
};

class TTabExportRTF : public TTabExportFormatText {
public:
    TRTFOptions Options;

    std::function<void(TTabExportRTF&Sender, TrtfStyle&Style)> OnGetHeaderStyle, OnGetFooterStyle;
    std::function<void(TTabExportRTF& Sender, int ColNo, TrtfStyle& Style)> OnGetCaptionStyle;
    std::function<void(TTabExportRTF& Sender, int Row, int Col, TrtfStyle& Style)> OnGetDataStyle;

    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;

    // Registers the style's font and colours in the writer's tables.
    TrtfStyleText StyleToRTF(const TrtfStyle& Style);

protected:
    std::unique_ptr<TTabExportWriter> CreateWriter(cb::rtl::TStream& Stream) override;
    void BeginExport() override;
    void BeforeExport() override;
    void WriteCaptionRow() override;
    std::string GetColCaption(int Index) override;
    void GetColData(TTabExportCol& Col, std::string& Text) override;
    void WriteDataRow() override;
    void EndExport() override;
    // "\", "{" and "}" escaped, non-ASCII as \'xx or \uN.
    std::string EscapeText(const std::string& Text) override;

private:
    std::string FRowDefinition;  // "\trowd" and the cell boundaries, one per line
    TTabRTFWriter& W();
    // The block of header or footer lines in its style.
    void WriteLinesBlock(const cb::rtl::TStringList& Lines, const TrtfStyleText& Style, bool Leading);
};

}  // namespace cb::tabexport
