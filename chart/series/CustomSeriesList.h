#pragma once
// An ordered list of series that only looks at them.
#include <vector>

namespace cb::chart {

class TChartSeries;

// Series in order; does not own them.
class TCustomSeriesList {
public:
    virtual ~TCustomSeriesList() = default;
    int Count() const { return int(FItems.size()); }
    TChartSeries* SeriesAt(int index) const;
    TChartSeries* operator[](int index) const { return SeriesAt(index); }
    int IndexOf(const TChartSeries* s) const;
    void Add(TChartSeries* s) { FItems.push_back(s); }
    void Insert(int index, TChartSeries* s);
    void Remove(const TChartSeries* s);
    void Delete(int index);
    void Exchange(int i, int j);
    void Clear() { FItems.clear(); }
    const std::vector<TChartSeries*>& Items() const { return FItems; }

protected:
    std::vector<TChartSeries*> FItems;
};

}  // namespace cb::chart
