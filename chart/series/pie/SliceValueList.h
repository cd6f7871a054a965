#pragma once
// Per-point integer settings of a pie (explode and height percentages):
// an entry per point index, 0 beyond the end.
#include <functional>
#include <vector>

namespace cb::chart {

class TSliceValueList {
public:
    explicit TSliceValueList(std::function<void()> onChange) : FOnChange(std::move(onChange)) {}
    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    int GetValue(int index) const { return index >= 0 && index < Count() ? FItems[std::size_t(index)] : 0; }
    // Pads up to index; repaints the owner when the value changes.
    void SetValue(int index, int value) {
        if (index < 0) return;
        if (index >= Count()) FItems.resize(std::size_t(index) + 1, 0);
        if (FItems[std::size_t(index)] != value) {
            FItems[std::size_t(index)] = value;
            if (FOnChange) FOnChange();
        }
    }
    void RemoveAt(int index) {
        if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
    }
    void PadTo(int count) {
        if (Count() < count) FItems.resize(std::size_t(count), 0);
    }
    void Exchange(int i, int j) { std::swap(FItems.at(std::size_t(i)), FItems.at(std::size_t(j))); }
    void Clear() { FItems.clear(); }
    void Assign(const TSliceValueList& s) { FItems = s.FItems; }

private:
    std::function<void()> FOnChange;
    std::vector<int> FItems;
};

}  // namespace cb::chart
