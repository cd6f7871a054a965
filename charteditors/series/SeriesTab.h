#pragma once
// The series page of the chart editor: a combo naming the series, then the
// pages "Format" (the series' own editor and the pages it adds), "General"
// (legend, cursor, depth, value formats, axes, date-time flags, sort order),
// "Marks" (style and arrows) and "Data Source" (points by hand in the data
// grid, random sample points, or a function of other series). The host sets the series
// and calls SelectSeries; the tab follows the chart: a colour change
// repaints the swatch, the edited series going empties the tab.
#include "chart/panel/PlotEvents.h"
#include "charteditors/common/EditedObject.h"
#include "charteditors/common/EditorRegistry.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TChartSeries;
class TCustomAxisPanel;
class TSeriesPointer;
}  // namespace cb::chart

namespace cb::charteditors {

class TBaseSourceEditor;
class TButtonPen;
class TChartGrid;
class TChartGridNavigator;
class TChartListBox;
class TEditorForm;
class TFormPlotShape;
class TRandomSourcePanel;
class TSeriesPointerEditor;

class TFormPlotSeries : public QWidget, public cb::chart::TPlotEventListener {
public:
    explicit TFormPlotSeries(QWidget* parent = nullptr);
    ~TFormPlotSeries() override;

    // --- set by the host before showing ---
    cb::chart::TChartSeries* Series() const;
    void SetSeries(cb::chart::TChartSeries* series);
    // The series list box whose list the combo mirrors (not owned; none
    // lists the series of the edited series' chart).
    void SetListBox(TChartListBox* list) { FListBox = list; }
    bool ShowTabDataSource = true;
    bool ShowTabGeneral = true;
    bool ShowTabMarks = true;
    bool ShowPersistentBox = false;

    // Selects the edited series in the combo and loads it; with no series
    // the pages are hidden.
    void SelectSeries();
    // Rebuilds the custom-axis entries of both axis combos.
    void RefreshAxisLists();
    // Frees the series' editor and the pages it added, and closes the data
    // source editor when it agrees.
    void FreeSeriesForms();
    // False while the data source editor has changes the user keeps.
    bool CloseQuery();

    // Called at every show with a series, when set (none by default).
    static std::function<void(TFormPlotSeries&, cb::chart::TCustomAxisPanel*)>& ShowHook();

    // Adds a form as a page of its own at index (inserted before the page
    // there), owned by the tab until the next series is loaded.
    TEditorForm* AddSeriesPage(std::unique_ptr<TEditorForm> form, int index, const TEditedObject& object,
                               const QString& caption);

    void HandleEvent(cb::chart::TPlotEvent& event) override;

    // --- top ---
    QLabel* ImageSeries;
    QLabel* LabelSeriesClass;
    QComboBox* CBSeries;
    QWidget* PaintBox1;  // the series colour swatch
    QTabWidget* PageSeries;
    QWidget* TheTabSheet;
    QWidget* TabGeneral;
    QWidget* TabMarks;
    QWidget* TabDataSource;
    QCheckBox* CBPersistent;
    // --- General ---
    QCheckBox* CBShowInLegend;
    QComboBox* CBCursor;  // sorted
    QLabel* LDepth;
    QSpinBox* EDepth;
    QCheckBox* CBDepth;
    QComboBox* CBFormat;
    QPushButton* Button1;
    QLineEdit* EPercentFormat;
    QPushButton* Button2;
    QGroupBox* GBHorizAxis;
    QComboBox* CBHorizAxis;
    QCheckBox* CBXDateTime;
    QGroupBox* GBVertAxis;
    QComboBox* CBVertAxis;
    QCheckBox* CBYDateTime;
    QLabel* LSort;
    QComboBox* CBSort;
    QCheckBox* CBZDateTime;
    // --- Marks ---
    QTabWidget* PageControlMarks;
    QCheckBox* CBMarksVisible;
    QCheckBox* CBMarkClip;
    QRadioButton* RGMarkStyle[10];
    QSpinBox* SEMarksAngle;
    QSpinBox* EMarksEvery;
    QCheckBox* CBMultiLine;
    QCheckBox* CBAllVisible;
    TButtonPen* BMarkLinCol;
    QSpinBox* SEArrowLength;
    QSpinBox* EArrowDist;
    QPushButton* BCalloutPointer;
    QComboBox* CBHead;
    QSpinBox* Edit1;
    QWidget* TabSymbol;
    // The marks' shape editor (its pages after "Symbol") and the symbol's
    // (on "Symbol"), made on the first load of "Marks".
    TFormPlotShape* MarksShape() const { return FMarksShape; }
    TFormPlotShape* SymbolShape() const { return FSymbolShape; }
    QCheckBox* CBSymbolVisible = nullptr;
    // --- Data Source ---
    QComboBox* CBDataSourcestyle;
    QWidget* Panel2;
    // The points typed by hand ("Manual"), with its navigator.
    TChartGrid* ChartGrid1;
    TChartGridNavigator* ChartGridNavigator1;
    TRandomSourcePanel* Panel4;
    TBaseSourceEditor* SourceEditor() const { return FSourceEditor.get(); }

    // The data source style items.
    enum {
        dsManual = 0,
        dsRandom = 1,
        dsFunction = 2
    };

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildGeneral();
    void BuildMarks();
    void BuildDataSource();
    void FillSeriesCombo();
    void SeriesChanged();
    void LoadSeries(cb::chart::TChartSeries* s);
    void SeriesGone();
    void AttachChart(cb::chart::TCustomAxisPanel* chart);
    void LoadPage(int index);
    void LoadGeneral();
    void LoadMarks();
    void UpdateMultiLine();
    // Evaluates the style from the series and rebuilds the page on a change.
    void LoadDataSource();
    int EvaluateSourceStyle() const;
    void SourceStyleChosen(int style);
    // False when the current source editor refused to close.
    bool RebuildDataSource(int style);
    bool CloseSourceEditor();
    bool Guarded() const;
    void ShowPage(QWidget* page, bool visible);
    int IndexOfCaption(const QString& caption) const;

    TObjectGuard FSeries;
    TObjectGuard FChart;
    TChartListBox* FListBox = nullptr;
    cb::chart::TChartSeries* FLastLoaded = nullptr;
    bool FCreating = true;
    bool FChangingPage = false;
    bool FDestroying = false;
    int FShownStyle = -1;
    int FCurrentPage = 0;
    std::vector<std::unique_ptr<TEditorForm>> FSeriesForms;
    std::vector<QWidget*> FAddedPages;
    std::unique_ptr<TBaseSourceEditor> FSourceEditor;
    TFormPlotShape* FMarksShape = nullptr;
    TFormPlotShape* FSymbolShape = nullptr;
};

// The series tab an editor is shown in (through its parents), or none.
TFormPlotSeries* SeriesTabOf(const QWidget* editor);
// For an editor shown inside a series tab: a page with a form of class T
// for the object, at index, with the caption; none outside a series tab.
template <class T>
T* AddSeriesPage(const QWidget* editor, int index, const TEditedObject& object, const QString& caption) {
    TFormPlotSeries* tab = SeriesTabOf(editor);
    if (!tab) return nullptr;
    return static_cast<T*>(tab->AddSeriesPage(std::make_unique<T>(tab), index, object, caption));
}
// A pointer editor page at index 1 for the pointer of the series.
TSeriesPointerEditor* AddPointerPage(const QWidget* editor, cb::chart::TSeriesPointer* pointer,
                                     cb::chart::TChartSeries* series, const QString& caption);

}  // namespace cb::charteditors
