// The XLS exporter's settings in an INI-style store: a section per cell
// format, field formats and strip styles numbered, the rest in "XLS".
#include "platform/gfx/Color.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"
#include "tabexport/core/TabExportOptions.h"
#include "tabexport/xls/TabExportXLS.h"

#include <algorithm>

namespace cb::tabexport {

namespace {

void WriteColor(cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Ident, TxlsColor C) {
    Store.WriteString(Section, Ident, cb::gfx::ColorToString(XlsColorInfo(C).Color));
}

// The palette colour of the stored colour text; not among the 40: Default.
TxlsColor ReadColor(const cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Ident,
                    TxlsColor Default) {
    const std::string text = Store.ReadString(Section, Ident, "");
    if (text.empty()) return Default;
    cb::gfx::TColor value;
    try {
        value = cb::gfx::StringToColor(text);
    } catch (const cb::rtl::Exception&) {
        return clrBlack;
    }
    for (int i = 0; i < KXlsColorCount; ++i)
        if (XlsColorInfo(TxlsColor(i)).Color == value) return TxlsColor(i);
    return clrBlack;
}

void SaveBorder(cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Name,
                const TxlsBorder& B) {
    Store.WriteInteger(Section, Name, B.Style);
    WriteColor(Store, Section, Name + "Color", B.Color);
}

void LoadBorder(const cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Name,
                TxlsBorder& B) {
    B.Style = ReadEnum(Store, Section, Name, bstNone, bstSlantedDashDot + 1);
    B.Color = ReadColor(Store, Section, Name + "Color", clrBlack);
}

const char* const KXls = "XLS";
const char* const KFieldPrefix = "XLS_FIELD_FORMAT";
const char* const KStripPrefix = "XLS_STRIP_STYLE";

struct TNamedFormat {
    const char* Section;
    TxlsFormat TXLSOptions::*Format;
};
const TNamedFormat KOptionFormats[] = {
    {"XLS_HEADER_FORMAT", &TXLSOptions::HeaderFormat}, {"XLS_CAPTIONS_FORMAT", &TXLSOptions::CaptionsFormat},
    {"XLS_DATA_FORMAT", &TXLSOptions::DataFormat},     {"XLS_AGGREGATE_FORMAT", &TXLSOptions::AggregateFormat},
    {"XLS_FOOTER_FORMAT", &TXLSOptions::FooterFormat}, {"XLS_HYPERLINK_FORMAT", &TXLSOptions::HyperlinkFormat},
};

}  // namespace

void TxlsFormat::SaveToStore(cb::rtl::TCustomIniFile& Store, const std::string& Section) const {
    const TxlsFormat& F = *this;
    Store.WriteString(Section, "FontName", F.Font.Name);
    Store.WriteInteger(Section, "FontSize", F.Font.Size);
    WriteColor(Store, Section, "FontColor", F.Font.Color);
    Store.WriteBool(Section, "FontBold", F.Font.Style & xfsBold);
    Store.WriteBool(Section, "FontItalic", F.Font.Style & xfsItalic);
    Store.WriteBool(Section, "FontStrikeOut", F.Font.Style & xfsStrikeOut);
    Store.WriteInteger(Section, "FontUnderline", F.Font.Underline);
    Store.WriteInteger(Section, "HorAlignment", F.Alignment.Horizontal);
    Store.WriteInteger(Section, "VertAlignment", F.Alignment.Vertical);
    SaveBorder(Store, Section, "BorderTop", F.Borders.Top);
    SaveBorder(Store, Section, "BorderBottom", F.Borders.Bottom);
    SaveBorder(Store, Section, "BorderLeft", F.Borders.Left);
    SaveBorder(Store, Section, "BorderRight", F.Borders.Right);
    Store.WriteInteger(Section, "FillPattern", F.Fill.Pattern);
    WriteColor(Store, Section, "FillBackground", F.Fill.Background);
    WriteColor(Store, Section, "FillForeground", F.Fill.Foreground);
}

void TxlsFormat::LoadFromStore(const cb::rtl::TCustomIniFile& Store, const std::string& Section) {
    TxlsFormat& F = *this;
    F.Font.Name = Store.ReadString(Section, "FontName", "arial");
    const int size = Store.ReadInteger(Section, "FontSize", 10);
    F.Font.Size = size >= 1 && size <= 409 ? size : 10;  // the sizes a workbook shows
    F.Font.Color = ReadColor(Store, Section, "FontColor", clrBlack);
    F.Font.Style = 0;
    F.Font.SetStyle(xfsBold, Store.ReadBool(Section, "FontBold", false));
    F.Font.SetStyle(xfsItalic, Store.ReadBool(Section, "FontItalic", false));
    F.Font.SetStyle(xfsStrikeOut, Store.ReadBool(Section, "FontStrikeOut", false));
    F.Font.Underline = ReadEnum(Store, Section, "FontUnderline", fulNone, fulDoubleAccounting + 1);
    F.Alignment.Horizontal = ReadEnum(Store, Section, "HorAlignment", halGeneral, halFill + 1);
    F.Alignment.Vertical = ReadEnum(Store, Section, "VertAlignment", valBottom, valJustify + 1);
    LoadBorder(Store, Section, "BorderTop", F.Borders.Top);
    LoadBorder(Store, Section, "BorderBottom", F.Borders.Bottom);
    LoadBorder(Store, Section, "BorderLeft", F.Borders.Left);
    LoadBorder(Store, Section, "BorderRight", F.Borders.Right);
    F.Fill.Pattern = ReadEnum(Store, Section, "FillPattern", ptNone, ptThinThinSpots + 1);
    F.Fill.Background = ReadColor(Store, Section, "FillBackground", clrWhite);
    F.Fill.Foreground = ReadColor(Store, Section, "FillForeground", clrBlack);
}

void TxlsFieldFormat::SaveToStore(cb::rtl::TCustomIniFile& Store, const std::string& Section) const {
    Store.WriteString(Section, "FieldName", FieldName);
    Store.WriteInteger(Section, "Width", Width);
    TxlsFormat::SaveToStore(Store, Section);
    Store.WriteInteger(Section, "Aggregate", Aggregate);
}

void TxlsFieldFormat::LoadFromStore(const cb::rtl::TCustomIniFile& Store, const std::string& Section) {
    FieldName = Store.ReadString(Section, "FieldName", "");
    Width = std::max(0, Store.ReadInteger(Section, "Width", 0));
    TxlsFormat::LoadFromStore(Store, Section);
    Aggregate = ReadEnum(Store, Section, "Aggregate", aggNone, aggMax + 1);
}

void TTabExportXLS::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::SaveOptions(Store);
    Store.WriteString(KXls, "PageHeader", Options.PageHeader);
    Store.WriteString(KXls, "PageFooter", Options.PageFooter);
    Store.WriteString(KXls, "SheetTitle", Options.SheetTitle());
    Store.WriteInteger(KXls, "StripType", StripType);
    Store.WriteInteger(KXls, "HeaderRows", HeaderRows);
    Store.WriteInteger(KXls, "FooterRows", FooterRows);
    Store.WriteInteger(KXls, "StartDataCol", StartDataCol);
    Store.WriteBool(KXls, "AutoCalcColWidth", AutoCalcColWidth);
    for (const TNamedFormat& f : KOptionFormats) (Options.*f.Format).SaveToStore(Store, f.Section);
    Store.WriteInteger(KXls, "FieldFormatCount", FieldFormats.Count());
    for (int i = 0; i < FieldFormats.Count(); ++i)
        FieldFormats.Items(i).SaveToStore(Store, KFieldPrefix + std::to_string(i));
    EraseItemSections(Store, KFieldPrefix, FieldFormats.Count());
    Store.WriteInteger(KXls, "StripStyleCount", int(StripStyles.size()));
    for (size_t i = 0; i < StripStyles.size(); ++i) StripStyles[i].SaveToStore(Store, KStripPrefix + std::to_string(i));
    EraseItemSections(Store, KStripPrefix, int(StripStyles.size()));
}

void TTabExportXLS::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::LoadOptions(Store);
    Options.PageHeader = Store.ReadString(KXls, "PageHeader", Options.PageHeader);
    Options.PageFooter = Store.ReadString(KXls, "PageFooter", Options.PageFooter);
    Options.SetSheetTitle(Store.ReadString(KXls, "SheetTitle", Options.SheetTitle()));
    StripType = ReadEnum(Store, KXls, "StripType", StripType, ssRow + 1);
    HeaderRows = std::max(0, Store.ReadInteger(KXls, "HeaderRows", HeaderRows));
    FooterRows = std::max(0, Store.ReadInteger(KXls, "FooterRows", FooterRows));
    StartDataCol = std::max(0, Store.ReadInteger(KXls, "StartDataCol", StartDataCol));
    AutoCalcColWidth = Store.ReadBool(KXls, "AutoCalcColWidth", AutoCalcColWidth);
    for (const TNamedFormat& f : KOptionFormats)
        if (Store.SectionExists(f.Section)) (Options.*f.Format).LoadFromStore(Store, f.Section);
    if (Store.ValueExists(KXls, "FieldFormatCount")) {
        FieldFormats.Clear();
        const int n = ReadItemCount(Store, KXls, "FieldFormatCount");
        for (int i = 0; i < n; ++i) FieldFormats.Add().LoadFromStore(Store, KFieldPrefix + std::to_string(i));
    }
    if (Store.ValueExists(KXls, "StripStyleCount")) {
        StripStyles.assign(size_t(ReadItemCount(Store, KXls, "StripStyleCount")), TxlsFormat());
        for (size_t i = 0; i < StripStyles.size(); ++i)
            StripStyles[i].LoadFromStore(Store, KStripPrefix + std::to_string(i));
    }
}

}  // namespace cb::tabexport
