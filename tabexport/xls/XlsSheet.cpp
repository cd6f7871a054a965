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

void TxlsSheet::Assign(const TxlsSheet& S) {
    Title = S.Title;
    Options = S.Options;
    FieldFormats = S.FieldFormats;
    StripStyles = S.StripStyles;
    StripType = S.StripType;
    Images = S.Images;
    Cells = S.Cells;
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

}  // namespace cb::tabexport
