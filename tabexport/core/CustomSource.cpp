#include "tabexport/core/CustomSource.h"

#include "platform/rtl/Strings.h"

namespace cb::tabexport {

void TqeCustomColumn::SetColumnName(const std::string& Name) {
    if (Name.empty() || Name == FColumnName) return;
    if (FSource && FSource->Columns().IndexOfName(Name) >= 0) return;
    FColumnName = Name;
}

std::string TqeCustomColumn::GetValue() {
    std::string value;
    if (FSource && FSource->OnGetColumnValue) FSource->OnGetColumnValue(*FSource, FSource->RecNo(), *this, value);
    return value;
}

TqeCustomColumn& TqeCustomColumns::Add() {
    int n = 0;
    while (IndexOfName("Column" + std::to_string(n)) >= 0) ++n;
    auto column = std::make_unique<TqeCustomColumn>(FSource);
    column->FColumnName = "Column" + std::to_string(n);
    column->Caption = column->FColumnName;
    FItems.push_back(std::move(column));
    return *FItems.back();
}

void TqeCustomColumns::Delete(int Index) {
    FItems.erase(FItems.begin() + Index);
}

int TqeCustomColumns::IndexOfName(const std::string& Name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (cb::rtl::SameText(FItems[i]->ColumnName(), Name)) return int(i);
    return -1;
}

TqeCustomColumn* TqeCustomSource::FindColumn(const std::string& Name) {
    int i = FColumns.IndexOfName(Name);
    return i < 0 ? nullptr : &FColumns.Items(i);
}

void TqeCustomSource::First() {
    FRecNo = 1;
    FEof = false;
}

void TqeCustomSource::Next() {
    if (FEof) return;
    bool end = false;
    if (OnGetNextRecord) OnGetNextRecord(*this, FRecNo, end);
    if (end)
        FEof = true;
    else
        ++FRecNo;
}

}  // namespace cb::tabexport
