#pragma once
// Gantt series: one horizontal bar per task from its start to its end at
// the task's row, and a connecting line from a task to the task it names
// as the next one. NextTask indexes follow their tasks when points are
// inserted, deleted or sorted.
#include "chart/series/line/PointSeries.h"

namespace cb::chart {

class TGanttSeries : public TPointSeries {
public:
    TGanttSeries();

    TChartValueList& StartValues() { return XValues(); }
    TChartValueList& EndValues() { return *FEnd; }
    TChartValueList& NextTask() { return *FNextTask; }
    TChartPen& ConnectingPen() { return GetLinePen(); }
    void SetConnectingPen(const TChartPen& pen) { GetLinePen().Assign(pen); }

    // The index of the new task; -1 when OnBeforeAdd refuses it.
    int AddTask(double start, double end, double y, const std::optional<std::string>& label = std::nullopt,
                TColor color = clDefault);
    // New points start without a next task.
    int AddPoint(double x, double y, const std::optional<std::string>& label = std::nullopt,
                 TColor color = clDefault) override;
    void DeletePoint(int index) override;
    void DeletePoints(int index, int count, bool renumber = false) override;
    void SwapPoints(int i, int j) override;

    std::string EditorClassName() const override { return "TGanttSeriesEditor"; }
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TGanttSeries*>(s); }
    void DrawPoint(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    double HighestX() override;
    bool PointerContains(int index, int px, int py, int x, int y) override;
    bool CanCopyFrom(const TChartSeries* source) const override {
        return source != this && dynamic_cast<const TGanttSeries*>(source);
    }
    void AssignSeries(const TChartSeries& source) override;

private:
    // Every stored next-task index i becomes map(i).
    template <class F>
    void renumber(F map);
    TChartValueList* FEnd;
    TChartValueList* FNextTask;
};

}  // namespace cb::chart
