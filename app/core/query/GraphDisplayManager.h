#pragma once
// The chart builder: fills the chart's series from the display cellset by
// data mode, grouping and chart type, with palette colours and marks.
#include "app/core/query/ChartBuilder.h"
#include "app/core/theme/Color.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cb::chart {
class TChartSeries;
}

namespace cb::app {

class TGraphDisplayManager : public IChartBuilder {
public:
    TGraphDisplayManager();
    ~TGraphDisplayManager() override;

    // The chart is only looked at, never owned.
    void SetChart(cb::chart::TChart* chart) override { FChart = chart; }
    cb::chart::TChart* GetChart() const override { return FChart; }
    void SetEnabled(bool enabled) override { FEnabled = enabled; }
    bool GetEnabled() const override { return FEnabled; }
    void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) override;
    std::shared_ptr<cb::olap::Cellset> GetCellset() const { return FCellset; }
    bool Render() override;
    int GetTotalPointCount() const override;
    void SetColumn(int position) override;
    int GetColumn() const override { return FColumn; }
    void SetRow(int position) override;
    int GetRow() const override { return FRow; }
    void SetGroupBy(int level) override { FGroupBy = level; }
    int GetGroupBy() const override { return FGroupBy; }
    void SetMarksStyle(int style) override;
    int GetMarksStyle() const override { return FMarksStyle; }
    void SetDataMode(TChartDataMode mode) override { FDataMode = mode; }
    TChartDataMode GetDataMode() const override { return FDataMode; }
    void SetShowAllMembers(bool show) override { FShowAllMembers = show; }
    bool GetShowAllMembers() const override { return FShowAllMembers; }
    void SetChartType(int type) override { FChartType = type; }
    int GetChartType() const override { return FChartType; }
    void SetMeasureName(const std::string& uniqueName) override { FMeasureName = uniqueName; }
    std::string GetMeasureName() const override { return FMeasureName; }
    void SetMeasureFilter(bool on) override { FMeasureFilter = on; }
    bool GetMeasureFilter() const override { return FMeasureFilter; }

    // The palette as "RRGGBB" texts, and the next colour handed out (the
    // index moves first and wraps, so "000000" comes only after a wrap).
    const std::vector<std::string>& GetPalette() const { return FPalette; }
    void ResetPalette() { FPaletteIndex = 0; }
    TColor NextPaletteColor();

    // A cell's chart value: its number; 0 for an empty cell; none for a cell
    // that holds no number (an error), which is charted as an empty point.
    static std::optional<double> CellValue(const cb::olap::Cell& cell);

private:
    // The number picture a cell's shown text uses; empty for none.
    static std::string ShownPicture(const cb::olap::Cellset& cellset, int column, int row);
    bool ApplyChartType();
    void BuildSeries();
    void ApplyTypeSettings(cb::chart::TChartSeries& series) const;
    void ApplyMarks();
    std::unique_ptr<cb::chart::TChartSeries> NewSeries() const;

    std::shared_ptr<cb::olap::Cellset> FCellset;
    cb::chart::TChart* FChart = nullptr;
    TChartDataMode FDataMode = cdmAllCells;
    int FGroupBy = kNoGroupBy;
    int FChartType = ctcBar;
    std::vector<std::string> FPalette;
    std::vector<TColor> FPaletteColors;
    int FPaletteIndex = 0;
    bool FEnabled = false;
    int FColumn = -1;
    std::string FMeasureName;
    int FRow = -1;
    bool FMeasureFilter = false;
    int FMarksStyle = -1;
    bool FShowAllMembers = true;
};

}  // namespace cb::app
