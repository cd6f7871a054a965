#pragma once
// The chart's axes list (owner of every axis) and its custom axes.
#include "chart/core/OwnedList.h"

#include <vector>

namespace cb::chart {

class TChartAxis;
class TCustomAxisPanel;

// Every axis of a chart: the six built-in ones, then the custom ones.
// Owns them; an axis that is destroyed leaves the list.
class TChartAxes {
public:
    explicit TChartAxes(TCustomAxisPanel* chart) : FChart(chart) {}
    ~TChartAxes();
    int Count() const { return FItems.Count(); }
    TChartAxis* AxisAt(int index) const;
    TChartAxis* operator[](int index) const { return AxisAt(index); }
    int IndexOf(const TChartAxis* axis) const { return FItems.IndexOf(axis); }
    // Called by a new axis of the chart: the list owns it from now on.
    void Add(TChartAxis* axis);
    // Called by an axis that is destroyed.
    void Remove(const TChartAxis* axis);
    // A new axis of type T of the chart (it joins the list itself).
    template <class T>
    T* Make() {
        return FItems.template Make<T>(FChart);
    }
    void Destroy(const TChartAxis* axis);
    // Frees the axes from the front.
    void Clear();
    TChartAxis* GetLeftAxis() const;
    TChartAxis* GetTopAxis() const;
    TChartAxis* GetRightAxis() const;
    TChartAxis* GetBottomAxis() const;
    TChartAxis* GetDepthAxis() const;
    TChartAxis* GetDepthTopAxis() const;
    bool GetAxisBehind() const;
    bool GetAxisVisible() const;
    void SetAxisBehind(bool on);
    void SetAxisVisible(bool on);

private:
    TCustomAxisPanel* FChart;
    TOwnedList<TChartAxis> FItems;
};

// The custom axes, in creation order. Only looks at them: the axes list
// owns them.
class TChartCustomAxes {
public:
    explicit TChartCustomAxes(TCustomAxisPanel* chart) : FChart(chart) {}
    int Count() const { return int(FItems.size()); }
    TChartAxis* AxisAt(int index) const;
    // A new custom axis of the chart.
    TChartAxis* Add();
    // Frees the axis.
    void Delete(int index);
    // Frees the custom axes from the back.
    void Clear();
    void Join(TChartAxis* axis) { FItems.push_back(axis); }
    void Leave(const TChartAxis* axis);

private:
    TCustomAxisPanel* FChart;
    std::vector<TChartAxis*> FItems;
};

}  // namespace cb::chart
