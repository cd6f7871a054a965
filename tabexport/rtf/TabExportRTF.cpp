#include "tabexport/rtf/TabExportRTF.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Strings.h"
#include "tabexport/rtf/RTFWriter.h"

#include <algorithm>

namespace cb::tabexport {

void TrtfStyle::SetDefault() {
    Font.SetName("Arial");
    Font.SetSize(10);
    Font.SetStyle(0);
    Font.SetColor(0);
    BackgroundColor = 0xFFFFFF;
    HighlightColor = 0xFFFFFF;
    AllowHighlight = false;
    AllowBackground = true;
    Alignment = talLeft;
}

void TrtfStyle::Assign(const TrtfStyle& Other) {
    if (this == &Other) return;
    Font.Assign(Other.Font);
    BackgroundColor = Other.BackgroundColor;
    HighlightColor = Other.HighlightColor;
    AllowHighlight = Other.AllowHighlight;
    AllowBackground = Other.AllowBackground;
    Alignment = Other.Alignment;
}

TRTFOptions::TRTFOptions() {
    CaptionStyle.Font.SetStyle(cb::gfx::fsBold);
    CaptionStyle.Alignment = talCenter;
}

std::string TrtfStyleText::Look() const {
    std::string s = Font + Color + Flags;
    if (!s.empty()) s += ' ';
    return s;
}

std::unique_ptr<TTabExportWriter> TTabExportRTF::CreateWriter(cb::rtl::TStream& Stream) {
    return std::make_unique<TTabRTFWriter>(this, &Stream);
}

TTabRTFWriter& TTabExportRTF::W() {
    return *static_cast<TTabRTFWriter*>(Writer());
}

std::string TTabExportRTF::EscapeText(const std::string& Text) {
    return RTFEscape(Text);
}

TrtfStyleText TTabExportRTF::StyleToRTF(const TrtfStyle& Style) {
    TrtfStyleText t;
    switch (Style.Alignment) {
    case talRight:
        t.Alignment = "\\qr";
        break;
    case talCenter:
        t.Alignment = "\\qc";
        break;
    case talFill:
        t.Alignment = "\\qj";
        break;
    default:
        t.Alignment = "\\ql";
    }
    t.Font = W().FontToRTF(Style.Font, false);
    t.Color = W().ColorToRTF(Style.Font.Color(), 0);
    if (Style.Font.Bold()) t.Flags += "\\b";
    if (Style.Font.Italic()) t.Flags += "\\i";
    if (Style.Font.Underline()) t.Flags += "\\ul";
    if (Style.Font.StrikeOut()) t.Flags += "\\strike";
    if (Style.AllowBackground) t.Background = W().ColorToRTF(Style.BackgroundColor, 1);
    if (Style.AllowHighlight) t.Highlight = W().ColorToRTF(Style.HighlightColor, 2);
    return t;
}

void TTabExportRTF::WriteLinesBlock(const cb::rtl::TStringList& Lines, const TrtfStyleText& Style, bool Leading) {
    if (Lines.Count() == 0) return;
    std::string background = Style.Background.empty() ? std::string() : Style.Background + " ";
    if (Leading) W().WritePar();
    W().WriteLine("{" + Style.Alignment + background);
    for (int i = 0; i < Lines.Count(); ++i) {
        // the lines carry the user's titles: escaped like every other text
        W().WriteLine("{" + Style.Highlight + Style.Look() + RTFEscape(Lines[i]) + "}");
        W().WritePar();
    }
    W().WriteLine("}");
}

void TTabExportRTF::BeginExport() {
    TTabExportFormatText::BeginExport();
    auto& w = W();
    w.FontTable.clear();
    w.ColorTable.clear();
    w.WriteGroupBegin();
    w.WriteHeader();
    w.AddFont(Options.CaptionStyle.Font.Name());
    w.AddFont(Options.DataStyle.Font.Name());
    w.WriteFontTable();
    w.AddColor(0);
    w.WriteColorTable();
    w.FontToRTF(Options.DataStyle.Font, true);
    if (Options.PageOrientation == poLandscape) {
        w.WriteLine("\\landscape");
        w.WriteLine("\\paperw16838");
        w.WriteLine("\\paperh11906");
    } else {
        w.WriteLine("\\paperw11906");
        w.WriteLine("\\paperh16838");
    }
    TrtfStyle header = Options.HeaderStyle;
    if (OnGetHeaderStyle) OnGetHeaderStyle(*this, header);
    WriteLinesBlock(Header, StyleToRTF(header), false);
    w.WritePar();

    // Word processors read a row's cells from the row definition before it:
    // it is written before every row.
    FRowDefinition = "\\trowd\\trql\\trgaph0\\trleft36\r\n";
    cb::gfx::TBitmap bitmap(1, 1);
    bitmap.Canvas().Font().Assign(Options.CaptionStyle.Font);
    const long long x = std::max(bitmap.Canvas().TextWidth("X"), 1);
    long long right = 36;
    for (int i = 0; i < Columns().Count(); ++i) {
        FRowDefinition += "\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth \\clbrdrb\\brdrth\r\n";
        right += static_cast<long long>(std::max(Columns().GetColumn(i).Width, 0)) * x * 15 + 10;
        FRowDefinition += "\\cellx" + std::to_string(right) + "\r\n";
    }
}

void TTabExportRTF::BeforeExport() {
    W().FontToRTF(Options.DataStyle.Font, true);
}

void TTabExportRTF::WriteCaptionRow() {
    W().FontToRTF(Options.CaptionStyle.Font, true);
    W().Write(FRowDefinition);
    W().WriteLine(GetCaptionRow() + "\\row");
}

std::string TTabExportRTF::GetColCaption(int Index) {
    const TTabExportColumn& column = Columns().GetColumn(Index);
    std::string text = EscapeText(column.Caption);
    TTabExportColAlign align = Options.CaptionStyle.Alignment == talRight    ? ecaRight
                               : Options.CaptionStyle.Alignment == talCenter ? ecaCenter
                                                                             : ecaLeft;
    if (Options.CaptionAligns.Count() > 0) {
        int i = Options.CaptionAligns.IndexOfName(column.Name);
        if (i >= 0) {
            std::string v = cb::rtl::UpperCase(Options.CaptionAligns.ValueFromIndex(i));
            if (!v.empty()) align = v[0] == 'C' ? ecaCenter : v[0] == 'R' ? ecaRight : ecaLeft;
        }
    }
    TrtfStyle style = Options.CaptionStyle;
    if (OnGetCaptionStyle) OnGetCaptionStyle(*this, Index, style);
    TrtfStyleText t = StyleToRTF(style);
    return "\\pard\\intbl\\li30\\ri30" + t.Background + W().AlignToStr(align) + "{" + t.Highlight + t.Look() + text +
           "}\\cell";
}

void TTabExportRTF::GetColData(TTabExportCol& Col, std::string& Text) {
    const int position = Col.ColumnIndex();
    const TrtfStyles& strips = Options.StripStyles;
    TrtfStyle style;
    if (Options.StripType != stNone && !strips.empty()) {
        int n = Options.StripType == stCol ? position : RecordCounter();
        style = strips[static_cast<size_t>(n) % strips.size()];
    } else {
        style = Options.DataStyle;
    }
    if (OnGetDataStyle) OnGetDataStyle(*this, SkipRecCount + RecordCounter(), position, style);
    TrtfStyleText t = StyleToRTF(style);
    const bool known = position >= 0 && position < Columns().Count();
    TTabExportColAlign align = known ? Columns().GetColumn(position).ColAlign : ecaLeft;
    // the value formatter leaves boolean texts as the user set them
    if (known &&
        (Columns().GetColumn(position).ColType == ectBoolean || Columns().GetColumn(position).ColType == ectUnknown))
        Text = EscapeText(Text);
    Text = "\\pard\\intbl\\li30\\ri30" + t.Background + t.Highlight + W().AlignToStr(align) + "{" + t.Look() + Text +
           "}\\cell";
}

void TTabExportRTF::WriteDataRow() {
    W().Write(FRowDefinition);
    W().WriteLine(GetDataRow(true) + "\\row");
}

void TTabExportRTF::EndExport() {
    W().WriteLine("\\pard");
    TrtfStyle footer = Options.FooterStyle;
    if (OnGetFooterStyle) OnGetFooterStyle(*this, footer);
    WriteLinesBlock(Footer, StyleToRTF(footer), true);
    W().WriteGroupEnd();
    TTabExportFormatText::EndExport();
}

}  // namespace cb::tabexport
