#include "tabexport/core/TabExportColumns.h"

#include "grid/BaseGrid.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Strings.h"
#include "tabexport/core/CustomSource.h"
#include "tabexport/core/TabExportFormats.h"
#include "tabexport/core/TabExportRow.h"
#include "tabexport/core/Utf.h"
#include "tabexport/core/ValueFormat.h"

#include <algorithm>

namespace cb::tabexport {

namespace {

// The entry "Name=value" of an override list, or nothing.
bool Override(const cb::rtl::TStringList* List, const std::string& Name, std::string& Value) {
    if (!List) return false;
    int i = List->IndexOfName(Name);
    if (i < 0) return false;
    Value = List->ValueFromIndex(i);
    return true;
}

int CharWidth(const cb::grid::TBaseGrid& Grid) {
    cb::gfx::TBitmap bitmap(1, 1);
    bitmap.Canvas().Font().Assign(Grid.Font());
    return std::max(bitmap.Canvas().TextWidth("X"), 1);
}

}  // namespace

TTabExportColType TTabExportColumns::GuessType(int Number) {
    // The whole column decides, not its first row: a column is a number
    // column only when every non-empty cell reads as a number.
    TExportSource& source = *FSettings.Source;
    const std::string yes = FSettings.Formats ? FSettings.Formats->BooleanTrue() : "true";
    const std::string no = FSettings.Formats ? FSettings.Formats->BooleanFalse() : "false";
    TTabExportColType type = ectUnknown;
    if (source.Kind == esStringGrid && source.StringGrid) {
        const auto& grid = *source.StringGrid;
        int first = grid.FixedRows() + FSettings.SkipRecCount;
        int last = grid.RowCount() - 1;
        if (FSettings.ExportRecCount > 0) last = std::min(last, first + FSettings.ExportRecCount - 1);
        for (int r = first; r <= last && type != ectString; ++r) {
            std::string text = TTabExportRow::CleanText(grid.Cells(Number, r));
            if (text.empty()) continue;
            type = MergeColTypes(type, DetectColType(cb::rtl::Trim(text), yes, no));
        }
    }
    return type == ectUnknown ? ectString : type;
}

void TTabExportColumns::Fill(const TColumnSettings& Settings) {
    FSettings = Settings;
    FItems.clear();
    TExportSource* source = FSettings.Source;
    int columnCount = source ? source->ColumnCount() : 0;
    std::vector<int> numbers;
    if (FSettings.ExportedFields && FSettings.ExportedFields->Count() > 0) {
        for (int i = 0; i < FSettings.ExportedFields->Count(); ++i) {
            const std::string& line = FSettings.ExportedFields->Strings(i);
            if (!source) continue;
            if (source->Kind == esStringGrid) {
                int n = 0;
                if (cb::rtl::TryStrToInt(cb::rtl::Trim(line), n) && n >= 0 && n < columnCount) numbers.push_back(n);
            } else if (source->Kind == esCustom && source->CustomSource) {
                int n = source->CustomSource->Columns().IndexOfName(line);
                if (n >= 0) numbers.push_back(n);
            }
        }
    } else {
        for (int i = 0; i < columnCount; ++i) numbers.push_back(i);
    }

    int charWidth = 8;
    if (source && source->Kind == esStringGrid && source->StringGrid) charWidth = CharWidth(*source->StringGrid);

    for (int number : numbers) {
        TTabExportColumn c;
        c.Number = number;
        std::string value;
        if (source->Kind == esStringGrid) {
            const auto& grid = *source->StringGrid;
            c.Name = std::to_string(number);
            c.ColType = FSettings.AutoCalcStrType ? GuessType(number) : ectString;
            if (FSettings.CaptionRow >= 0 && FSettings.CaptionRow < grid.RowCount())
                c.Caption = grid.Cells(number, FSettings.CaptionRow);
            else
                c.Caption = "ColNo_" + std::to_string(number);
            c.Width = grid.ColWidths(number) / charWidth;
            c.Length = 254;
        } else {
            auto& column = source->CustomSource->Columns().Items(number);
            c.Name = column.ColumnName();
            c.ColType = column.ColumnType;
            c.Caption = column.Caption;
            c.Width = column.Width;
            c.Length = std::min(column.Size, 254);
        }
        if (Override(FSettings.Captions, c.Name, value)) c.Caption = value;
        if (Override(FSettings.ColumnsWidth, c.Name, value)) c.Width = cb::rtl::StrToIntDef(cb::rtl::Trim(value), 0);
        if (Override(FSettings.ColumnsLength, c.Name, value))
            c.Length = cb::rtl::StrToIntDef(cb::rtl::Trim(value), 254);
        if (const TTabExportFormats* f = FSettings.Formats) {
            switch (c.ColType) {
            case ectFloat:
                c.Format = f->FloatFormat();
                break;
            case ectCurrency:
                c.Format = f->CurrencyFormat();
                break;
            case ectDate:
                c.Format = f->DateFormat();
                break;
            case ectTime:
                c.Format = f->TimeFormat();
                break;
            case ectDateTime:
                c.Format = f->DateTimeFormat();
                break;
            case ectInteger:
            case ectBigint:
                c.Format = f->IntegerFormat();
                break;
            default:
                break;
            }
        }
        if (Override(FSettings.UserFormats, c.Name, value)) c.Format = value;
        if (FSettings.ColumnsAlign) {
            if (Override(FSettings.ColumnsAlign, c.Name, value)) {
                std::string upper = cb::rtl::UpperCase(value);
                c.ColAlign = upper.empty()     ? ecaLeft
                             : upper[0] == 'C' ? ecaCenter
                             : upper[0] == 'R' ? ecaRight
                                               : ecaLeft;
            } else {
                switch (c.ColType) {
                case ectInteger:
                case ectBigint:
                case ectFloat:
                case ectCurrency:
                    c.ColAlign = ecaRight;
                    break;
                case ectBoolean:
                    c.ColAlign = ecaCenter;
                    break;
                default:
                    c.ColAlign = ecaLeft;
                    break;
                }
            }
        }
        FItems.push_back(std::move(c));
    }
}

void TTabExportColumns::AutoCalcColWidth() {
    for (auto& c : FItems) c.Width = std::max(c.Width, int(Utf8Length(c.Caption)));
    TExportSource* source = FSettings.Source;
    if (!source) return;
    int bookmark = source->GetBookmark();
    auto restore = [&] { source->GotoBookmark(bookmark); };
    try {
        source->First();
        FRecordCounter = 0;
        auto skipped = std::move(source->OnSkippedRecord);
        source->OnSkippedRecord = nullptr;
        source->Skip(FRecordCounter, FSettings.SkipRecCount);
        source->OnSkippedRecord = std::move(skipped);
        FRecordCounter = 0;
        while (!source->Eof(FSettings.SkipRecCount, FSettings.ExportRecCount, FRecordCounter) &&
               (FSettings.ExportRecCount == 0 || FRecordCounter < FSettings.ExportRecCount)) {
            for (auto& c : FItems) {
                std::string raw = source->Value(c.Number, FSettings.SkipRecCount, FRecordCounter);
                c.Width = std::max(c.Width, int(Utf8Length(raw)));
            }
            source->Next(FRecordCounter);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

int TTabExportColumns::IndexOfName(const std::string& Name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (cb::rtl::SameText(FItems[i].Name, Name)) return int(i);
    return -1;
}

void TTabExportColumns::ClearTags() {
    for (auto& c : FItems) c.Tag = 0;
}

}  // namespace cb::tabexport
