#pragma once
#include <string>
#include <vector>

namespace cb::grid {

struct TFilterData {
    int Column = 0;
    std::string Condition;
    bool CaseSensitive = true;
};

// The row filter conditions, reached by index.
class TFilter {
public:
    TFilterData& Add() { return FItems.emplace_back(); }
    int Count() const { return int(FItems.size()); }
    TFilterData& Item(int index) { return FItems.at(size_t(index)); }
    const TFilterData& Item(int index) const { return FItems.at(size_t(index)); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    void Clear() { FItems.clear(); }

private:
    std::vector<TFilterData> FItems;
};

}  // namespace cb::grid
