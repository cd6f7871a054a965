#pragma once
// A list of integers tied to a cell, with a change callback.
#include <functional>
#include <string>
#include <vector>

namespace cb::grid {

class TIntList {
public:
    TIntList(int col = 0, int row = 0) : CellCol(col), CellRow(row) {}
    virtual ~TIntList() = default;

    int CellCol;
    int CellRow;
    std::function<void(TIntList& list, int col, int row)> OnChange;

    int Count() const { return int(FItems.size()); }
    int Item(int index) const { return FItems.at(size_t(index)); }
    void SetItem(int index, int value);
    void AddValue(int value);
    void DeleteValue(int index);
    void InsertValue(int index, int value);
    void Clear() { FItems.clear(); }
    int IndexOf(int value) const;
    std::string ToCommaText() const;
    // Items that are not integers raise cb::rtl::EConvertError; the ones
    // before stay.
    void FromCommaText(const std::string& text);
    const std::vector<int>& Items() const { return FItems; }

protected:
    void Changed();
    std::vector<int> FItems;
};

}  // namespace cb::grid
