#include "tabexport/core/TabExportRow.h"

#include "platform/rtl/Strings.h"
#include "tabexport/core/TabExportColumns.h"
#include "tabexport/core/TabExportFormats.h"
#include "tabexport/core/ValueFormat.h"

#include <algorithm>

namespace cb::tabexport {

TTabExportCol::TTabExportCol(TTabExportRow* Row, std::string Name, int ColumnIndex)
    : FRow(Row), FName(cb::rtl::Trim(Name)), FColumnIndex(ColumnIndex) {}

void TTabExportCol::SetRawValue(std::string Value) {
    FRaw = std::move(Value);
    FValue = FRaw;
}

std::string TTabExportCol::GetExportedValue(bool ApplyFormat) {
    TTabExportColumns* columns = FRow->Columns();
    bool known = columns && FColumnIndex >= 0 && FColumnIndex < columns->Count();
    auto escape = [&](const std::string& s) {
        return columns && columns->ValueTransform ? columns->ValueTransform(s) : s;
    };
    if (known && columns->IsColumnNull(FColumnIndex)) {
        FValue = escape(FRow->Formats() ? FRow->Formats()->NullString() : std::string());
    } else if (ApplyFormat && known) {
        const TTabExportColumn& c = columns->GetColumn(FColumnIndex);
        std::string formatted = FormatExportValue(FRaw, c.Format, c.ColType);
        FValue = (c.ColType == ectBoolean || c.ColType == ectUnknown) ? formatted : escape(formatted);
    } else {
        FValue = FRaw;
    }
    std::string result = FValue;
    if (FRow->CellHook) FRow->CellHook(*this, result);
    return result;
}

std::string TTabExportRow::CleanText(const std::string& Text) {
    std::string out;
    out.reserve(Text.size());
    for (char c : Text)
        if (static_cast<unsigned char>(c) >= ' ') out += c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void TTabExportRow::AddCol(const std::string& Name, int Position) {
    FCols.push_back(std::make_unique<TTabExportCol>(this, Name, Position));
    FIndex.push_back(int(FCols.size()) - 1);
}

void TTabExportRow::SortIndex() {
    std::stable_sort(FIndex.begin(), FIndex.end(), [&](int a, int b) {
        return cb::rtl::CompareText(FCols[size_t(a)]->Name(), FCols[size_t(b)]->Name()) < 0;
    });
}

int TTabExportRow::IndexOfName(const std::string& Name) const {
    auto it = std::lower_bound(FIndex.begin(), FIndex.end(), Name, [&](int i, const std::string& n) {
        return cb::rtl::CompareText(FCols[size_t(i)]->Name(), n) < 0;
    });
    if (it == FIndex.end() || !cb::rtl::SameText(FCols[size_t(*it)]->Name(), Name)) return -1;
    return *it;
}

void TTabExportRow::SetValue(const std::string& Name, const std::string& Text) {
    int i = IndexOfName(Name);
    if (i >= 0) SetValueAt(i, Text);
}

void TTabExportRow::SetValueAt(int Index, const std::string& Text) {
    FCols.at(size_t(Index))->SetRawValue(CleanText(Text));
}

void TTabExportRow::Clear() {
    FCols.clear();
    FIndex.clear();
}

void TTabExportRow::DeleteCol(int Index) {
    FCols.erase(FCols.begin() + Index);
    FIndex.clear();
    for (size_t i = 0; i < FCols.size(); ++i) FIndex.push_back(int(i));
    SortIndex();
}

}  // namespace cb::tabexport
