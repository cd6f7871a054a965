#include "tabexport/core/ExportSource.h"

#include "grid/BaseGrid.h"
#include "tabexport/core/CustomSource.h"

#include <algorithm>

namespace cb::tabexport {

std::string ExportSourceName(TTabExportSource Kind) {
    switch (Kind) {
    case esDataSet:
        return "DataSet";
    case esListView:
        return "ListView";
    case esDBGrid:
        return "DBGrid";
    case esStringGrid:
        return "StringGrid";
    case esCustom:
        return "CustomSource";
    }
    return {};
}

bool TExportSource::IsAssigned() const {
    switch (Kind) {
    case esStringGrid:
        return StringGrid != nullptr;
    case esCustom:
        return CustomSource != nullptr;
    default:
        return false;  // no such sources in this program
    }
}

void TExportSource::Check() const {
    if (!IsAssigned()) throw ETabExportError("Export source (" + Name() + ") is not assigned");
}

bool TExportSource::IsEmpty() const {
    switch (Kind) {
    case esStringGrid:
        return !StringGrid || StringGrid->RowCount() <= StringGrid->FixedRows();
    // A custom source without a record handler yields nothing.
    case esCustom:
        return !CustomSource || !CustomSource->OnGetNextRecord;
    default:
        return true;
    }
}

int TExportSource::ColumnCount() const {
    switch (Kind) {
    case esStringGrid:
        return StringGrid ? StringGrid->ColCount() : 0;
    case esCustom:
        return CustomSource ? CustomSource->Columns().Count() : 0;
    default:
        return 0;
    }
}

void TExportSource::First() {
    FAtEnd = false;
    if (Kind == esStringGrid && StringGrid) {
        if (StringGrid->FixedRows() < StringGrid->RowCount()) StringGrid->SetRow(StringGrid->FixedRows());
    } else if (Kind == esCustom && CustomSource) {
        CustomSource->First();
    }
}

void TExportSource::Next(int& Counter) {
    ++Counter;
    if (Kind == esStringGrid && StringGrid) {
        if (StringGrid->Row() < StringGrid->RowCount() - 1)
            StringGrid->SetRow(StringGrid->Row() + 1);
        else
            FAtEnd = true;  // on the last row the walk ends
    } else if (Kind == esCustom && CustomSource) {
        CustomSource->Next();
    }
}

void TExportSource::Skip(int& Counter, int Count) {
    for (int i = 0; i < Count; ++i) {
        Next(Counter);
        if (OnSkippedRecord) OnSkippedRecord(Counter);
    }
}

bool TExportSource::Eof(int SkipRecCount, int ExportRecCount, int Counter) const {
    switch (Kind) {
    case esStringGrid: {
        if (!StringGrid || FAtEnd) return true;
        int n = std::max(StringGrid->RowCount() - StringGrid->FixedRows() - SkipRecCount, 0);
        if (ExportRecCount > 0) n = std::min(ExportRecCount, n);
        return Counter >= n;
    }
    case esCustom:
        return !CustomSource || CustomSource->Eof() || !CustomSource->OnGetNextRecord;
    default:
        return true;
    }
}

std::string TExportSource::Value(int Number, int, int) const {
    if (Kind == esStringGrid && StringGrid) {
        if (Number < 0 || Number >= StringGrid->ColCount()) return {};
        return StringGrid->Cells(Number, StringGrid->Row());
    }
    if (Kind == esCustom && CustomSource) {
        if (Number < 0 || Number >= CustomSource->Columns().Count()) return {};
        return CustomSource->Columns().Items(Number).GetValue();
    }
    return {};
}

int TExportSource::KnownRecordCount() const {
    if (Kind == esStringGrid && StringGrid) return std::max(StringGrid->RowCount() - StringGrid->FixedRows(), 0);
    return -1;
}

int TExportSource::GetBookmark() const {
    if (Kind == esStringGrid && StringGrid) return StringGrid->Row();
    return 0;
}

void TExportSource::GotoBookmark(int Bookmark) {
    FAtEnd = false;
    if (Kind == esStringGrid && StringGrid && Bookmark >= 0 && Bookmark < StringGrid->RowCount())
        StringGrid->SetRow(Bookmark);
}

}  // namespace cb::tabexport
