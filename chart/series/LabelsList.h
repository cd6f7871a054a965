#pragma once
// The labels of a series' points.
#include <string>
#include <vector>

namespace cb::chart {

// One optional text per point; shorter than the points until a label is given.
class TLabelsList {
public:
    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    // Empty beyond the end.
    std::string Label(int index) const;
    void SetLabel(int index, const std::string& text);
    void Insert(int index, const std::string& text);
    void Delete(int index, int n = 1);
    void Exchange(int i, int j);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::string> FItems;
};

}  // namespace cb::chart
