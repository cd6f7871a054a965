#pragma once
// The series gallery: every registered series type of a gallery page as a
// small live chart, one per cell of a grid, chosen by click, double click
// or keyboard; the focused chart's arrow opens a pop-up of the type's
// sub-styles.
#include "chart/series/SeriesTypes.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {
class TChartSeries;
}

namespace cb::charteditors {

class TGalleryChart;

class TChartGalleryPanel : public QWidget {
public:
    explicit TChartGalleryPanel(QWidget* parent = nullptr);
    ~TChartGalleryPanel() override;

    bool DisplaySub() const { return FDisplaySub; }
    void SetDisplaySub(bool on) { FDisplaySub = on; }
    bool FocusRotation() const { return FFocusRotation; }
    void SetFocusRotation(bool on) { FFocusRotation = on; }
    int NumRows() const { return FNumRows; }
    void SetNumRows(int rows);
    int NumCols() const { return FNumCols; }
    void SetNumCols(int cols);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool on);
    bool View3D() const { return FView3D; }
    void SetView3D(bool on);

    // A chart was chosen (double click or Enter); the focused chart was
    // (re)applied; a sub-style was chosen in the pop-up.
    std::function<void()> OnSelectedChart, OnChangeChart, OnSubSelected;

    // One chart per registered type of the page (plain types, or the
    // function types when FunctionsVisible is set).
    void ShowPage(const std::string& page);
    TGalleryChart* AddChartForType(const cb::chart::TPlotSeriesType& type);
    // One chart per sub-style of the class; each chart's Tag is its index.
    void FillWithSubStyles(const cb::chart::TSeriesClass& seriesClass);
    void ClearCharts();
    virtual void SelectChart(TGalleryChart* chart);
    void RefreshFocusLook();
    // False without a selected chart.
    bool GetSelection(const cb::chart::TSeriesClass*& seriesClass, const cb::chart::TFunctionClass*& functionClass,
                      int& subIndex) const;

    // The charts in cell order (owned by the panel).
    const std::vector<std::unique_ptr<TGalleryChart>>& Charts() const { return FCharts; }
    TGalleryChart* SelectedChart() const { return FSelected; }
    void SetSelectedChart(TGalleryChart* chart) { FSelected = chart; }
    // A series of the caller (not owned) whose class is pre-selected.
    cb::chart::TChartSeries* SelectedSeries() const { return FSelectedSeries; }
    void SetSelectedSeries(cb::chart::TChartSeries* s) { FSelectedSeries = s; }
    bool CheckSeries() const { return FCheckSeries; }
    void SetCheckSeries(bool on) { FCheckSeries = on; }
    bool FunctionsVisible() const { return FFunctionsVisible; }
    void SetFunctionsVisible(bool on) { FFunctionsVisible = on; }
    bool IsSubGallery() const { return FSubGallery; }
    int ColWidth() const { return FColWidth; }
    int RowHeight() const { return FRowHeight; }

    // Arrows move the focus, Enter chooses, Alt+Down opens the sub-styles.
    void HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void OpenSubGallery();
    // The open pop-up's panel, or none (for tests and hosts).
    TChartGalleryPanel* SubPanel() const { return FSubPanel; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ComputeCellSize();
    void PlaceChart(TGalleryChart* chart, int index);
    void PlaceCharts();
    bool ChooseSubStyle(TChartGalleryPanel* sub);
    int BorderSize() const;

    bool FDisplaySub = true;
    bool FFocusRotation = true;
    int FNumRows = 3;
    int FNumCols = 4;
    bool FSmooth = false;
    bool FInitialSmooth = false;
    bool FView3D = true;
    std::vector<std::unique_ptr<TGalleryChart>> FCharts;
    TGalleryChart* FSelected = nullptr;
    cb::chart::TChartSeries* FSelectedSeries = nullptr;
    bool FCheckSeries = false;
    bool FFunctionsVisible = false;
    bool FSubGallery = false;
    int FColWidth = 0;
    int FRowHeight = 0;
    TChartGalleryPanel* FSubPanel = nullptr;
};

// Sample points and the reduced look of a gallery series; coloured False
// draws it silver (a disabled chart).
void PrepareGallerySample(cb::chart::TChartSeries& series, bool coloured);
// A series of the candidate's class can take the place of the selected one.
bool IsCompatibleWith(const cb::chart::TChartSeries& candidate, const cb::chart::TChartSeries& selected);

}  // namespace cb::charteditors
