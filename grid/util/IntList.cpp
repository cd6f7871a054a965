#include "grid/util/IntList.h"

#include "grid/util/GridTypes.h"

#include "platform/rtl/Strings.h"

namespace cb::grid {

void TIntList::Changed() {
    if (OnChange) OnChange(*this, CellCol, CellRow);
}

void TIntList::SetItem(int index, int value) {
    FItems.at(size_t(index)) = value;
    Changed();
}

void TIntList::AddValue(int value) {
    FItems.push_back(value);
    Changed();
}

void TIntList::DeleteValue(int index) {
    if (index < 0 || index >= Count()) throw EExtGridError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TIntList::InsertValue(int index, int value) {
    if (index < 0 || index > Count()) throw EExtGridError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, value);
}

int TIntList::IndexOf(int value) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == value) return int(i);
    return -1;
}

std::string TIntList::ToCommaText() const {
    std::string out;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(FItems[i]);
    }
    return out;
}

void TIntList::FromCommaText(const std::string& text) {
    FItems.clear();
    if (text.empty()) return;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        AddValue(cb::rtl::StrToInt(item));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

}  // namespace cb::grid
