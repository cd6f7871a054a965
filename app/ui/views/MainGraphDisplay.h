#pragma once
// The chart view: the chart of the current view under the grid, with its
// tool bar and pop-up menus for the charted measure, the cells, grouping,
// type, labels, legend, annotation, bottom labels, rotation, copy, export
// and print. Chart settings go through the display manager; the view only
// mirrors them and works on the chart's appearance.
#include "app/ui/widgets/ContentForm.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QSlider;
class QPushButton;
class QToolButton;
class QWidget;

namespace cb::chart {
class TChart;
}
namespace cb::chartexport {
class TChartPreviewer;
}
namespace cb::charteditors {
class TChartScrollBar;
}

namespace cb::app {

class TDisplayManager;
class TClickLabel;
class TChartAnnotation;
class TChartLegendPager;

class TfrmMainGraphDisplay : public TContentForm {
    Q_OBJECT
public:
    // The display manager is only looked at; the view hooks its chart events
    // and gives them back when it goes.
    TfrmMainGraphDisplay(QWidget* parent, TDisplayManager* displayManager);
    ~TfrmMainGraphDisplay() override;

    void ApplyTheme(const TTheme* theme) override;

    // Raised after every command that changes a menu or button state.
    std::function<void(TfrmMainGraphDisplay* sender)> OnMenusChanged;

    // Commands the main window's Chart menu calls too.
    void tbbFlipAxisClick();
    void tbbShowAllMemberClick();
    void tbbShowAnnotationClick();
    void tbShowBottomLabelsClick();
    void tbbRotationClick();
    void tbbCopyToClipboardClick();
    void tbbPrintClick();
    void ExportPDF();
    void ExportJPEG();
    void ExportGIF();

    // Chart type 0 bar, 1 pie, 3 stacked, 6 pyramid, 7 line.
    void SelectChartType(int type);
    void SelectDataMode(int mode);
    void SelectGroupBy(int level);
    void SelectMarksStyle(int style);
    void SelectLegendStyle(int style);
    void SelectMeasure(int tag);
    void SetAnnotation(bool on);
    void SetBottomLabels(bool on);
    void SetRotationSlider(bool shown);
    void SetRotationPosition(int position);
    // The measure and group-by menus built again from the view.
    void BuildMeasureMenu();
    void BuildGroupByMenu();

    // Slider position 0..180 to the chart's rotation (90 is 0).
    static int RotationOfPosition(int position);

    cb::chart::TChart* chartGraph() const { return FChart; }
    // The note on the point nearest to (x, y) of the chart, while the
    // annotation is on.
    void PlaceAnnotation(int x, int y);
    cb::chartexport::TChartPreviewer& chartGraphPreviewer() { return *FPreviewer; }
    bool AnnotationOn() const { return FAnnotationOn; }
    bool BottomLabelsOn() const { return FBottomLabels; }
    const std::vector<std::string>& MeasureNames() const { return FMeasureNames; }

    // Components, for the main window's mirror and for tests.
    QWidget* tbGraphOptions;
    // The note on the point nearest the mouse (the chart owns its tool).
    std::unique_ptr<TChartAnnotation> ctAnnotator;
    // Opens the help topic of the chart view.
    TClickLabel* imgSectionHeader;
    QWidget* panRotationValue;
    QSlider* tbRotation;
    QPushButton* btnResetRotation;
    QLabel* lblGraphEmptyText;
    // Pages the legend's items that do not fit its share of the chart.
    TChartLegendPager* panLegendPages;
    // Hidden, at the bottom, bound to no chart.
    cb::charteditors::TChartScrollBar* csbScroller;
    QToolButton *tbbMeasure, *tbbShowAllMember, *tbbDisplayType, *tbbGroupBy, *tbbFlipAxis, *tbbGraphTypeToDisplay,
        *tbbBarGraph, *tbbPie, *tbbShowStackedGraph, *tbLineGraph, *tbbPyramid, *tbbShowMarks, *tbShowLegendStyle,
        *tbbShowAnnotation, *tbShowBottomLabels, *tbbRotation, *tbbCopyToClipboard, *tbbSaveAs, *tbbPrint;
    QMenu *pmMeasure, *pmDisplayType, *pmGroupBy, *pmGraphType, *pmMarkType, *pmLegendDisplayText, *pmExport;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Mouse moves over the chart and resizes of the tool bar place the annotation.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateToolBar();
    void LayOutToolBar();
    void RefreshStep();
    void MenusChanged();
    void ShowEmptyTextIfHidden();
    static void TickOnly(QMenu* menu, int tag);
    static int TickedTag(QMenu* menu, int none);
    void ApplyRotation(int position);
    void PlaceAnnotationAtCursor();
    void ShowError(const std::string& text);
    // Runs an export with the annotation off and the title as it was.
    void Export(const std::function<void()>& save);

    TDisplayManager* FDisplayManager;
    cb::chart::TChart* FChart;  // child widget
    QWidget* FChartHolder;
    std::unique_ptr<cb::chartexport::TChartPreviewer> FPreviewer;
    std::vector<std::string> FMeasureNames;
    bool FAnnotationOn = false;
    bool FBottomLabels = true;
    std::function<void()> FOldAxesChanged, FOldMeasuresChanged, FOldAllMembersHidden;
};

}  // namespace cb::app
