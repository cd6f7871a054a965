#include "tabexport/xls/XlsSheet.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"
#include "tabexport/core/ValueFormat.h"
#include "tabexport/xls/TabExportXLS.h"

namespace cb::tabexport {

void TXLSOptions::AssignFormats(const TXLSOptions& Source) {
    HeaderFormat = Source.HeaderFormat;
    CaptionsFormat = Source.CaptionsFormat;
    DataFormat = Source.DataFormat;
    AggregateFormat = Source.AggregateFormat;
    FooterFormat = Source.FooterFormat;
    HyperlinkFormat = Source.HyperlinkFormat;
    NoteFormat = Source.NoteFormat;
}

TxlsCell::TxlsCell() {
    const auto& fs = cb::rtl::FormatSettings();
    DateTimeFormat = fs.ShortDateFormat + " " + fs.LongTimeFormat;
}

void TxlsCell::SetCellType(TxlsCellType Type) {
    TxlsValue old = FValue;
    FCellType = Type;
    SetValue(old);
}

void TxlsCell::SetValue(const TxlsValue& Value) {
    switch (FCellType) {
    case ctBoolean:
        if (auto b = std::get_if<bool>(&Value))
            FValue = *b;
        else if (auto d = std::get_if<double>(&Value))
            FValue = *d != 0;
        else
            FValue = false;
        break;
    case ctDateTime:
    case ctNumeric: {
        double v = FCellType == ctDateTime ? cb::rtl::Date() : 0;
        if (auto d = std::get_if<double>(&Value))
            v = *d;
        else if (auto b = std::get_if<bool>(&Value))
            v = *b ? 1 : 0;
        else if (auto s = std::get_if<std::string>(&Value)) {
            double r = 0;
            if (FCellType == ctNumeric ? TryReadNumber(*s, r) : TryReadDateTime(*s, r)) v = r;
        }
        FValue = v;
        break;
    }
    case ctString:
        if (auto s = std::get_if<std::string>(&Value))
            FValue = *s;
        else if (auto d = std::get_if<double>(&Value))
            FValue = cb::rtl::FloatToStr(*d);
        else if (auto b = std::get_if<bool>(&Value))
            FValue = std::string(*b ? "True" : "False");
        else
            FValue = std::string();
        break;
    }
}

TxlsSheet::TxlsSheet(TTabExportXLS* Exporter) : FExporter(Exporter), FRow(&FColumns, &Formats) {
    FColumns.ValueTransform = [this](const std::string& s) { return FExporter ? FExporter->EscapeValue(s) : s; };
}

TxlsHyperlink& TxlsSheet::AddHyperlink() {
    Hyperlinks.emplace_back().Format = Options.HyperlinkFormat;
    return Hyperlinks.back();
}

TxlsNote& TxlsSheet::AddNote() {
    Notes.emplace_back().Format = Options.NoteFormat;
    return Notes.back();
}

void TxlsSheet::Assign(const TxlsSheet& S) {
    Title = S.Title;
    Options = S.Options;
    FieldFormats = S.FieldFormats;
    StripStyles = S.StripStyles;
    StripType = S.StripType;
    Images = S.Images;
    Cells = S.Cells;
    Hyperlinks = S.Hyperlinks;
    Notes = S.Notes;
    Charts = S.Charts;
    MergedCells = S.MergedCells;
    Background.Assign(S.Background);
    AutoCalcColWidth = S.AutoCalcColWidth;
    ExportSource = S.ExportSource;
    StringGrid = S.StringGrid;
    CustomSource = S.CustomSource;
    ExportedFields = S.ExportedFields;
    Header = S.Header;
    Captions = S.Captions;
    Footer = S.Footer;
    UserFormats = S.UserFormats;
    ColumnsWidth = S.ColumnsWidth;
    Formats = S.Formats;
    HeaderRows = S.HeaderRows;
    FooterRows = S.FooterRows;
    StartDataCol = S.StartDataCol;
    AllowCaptions = S.AllowCaptions;
    GoToFirstRecord = S.GoToFirstRecord;
    OnlyVisibleFields = S.OnlyVisibleFields;
    ExportRecCount = S.ExportRecCount;
    SkipRecCount = S.SkipRecCount;
    CurrentRecordOnly = S.CurrentRecordOnly;
    AutoCalcStrType = S.AutoCalcStrType;
    CaptionRow = S.CaptionRow;
}

TxlsSheet& TxlsSheets::Add() {
    FItems.push_back(std::make_unique<TxlsSheet>(FExporter));
    FItems.back()->Title = "Sheet " + std::to_string(FItems.size());
    return *FItems.back();
}

bool TxlsNote::IsValid() const {
    return Col >= 1 && Col <= 255 && Row >= 1 && Row <= 65536 && !Text().empty();
}

std::string TxlsNote::Text() const {
    std::string joined;
    for (int i = 0; i < Lines.Count(); ++i) {
        if (i) joined += '\n';
        for (char c : Lines[i])
            if (c != '\r') joined += c;
    }
    // Trimmed of blanks and control characters at both ends.
    size_t b = 0, e = joined.size();
    while (b < e && static_cast<unsigned char>(joined[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(joined[e - 1]) <= ' ') --e;
    return joined.substr(b, e - b);
}

}  // namespace cb::tabexport
