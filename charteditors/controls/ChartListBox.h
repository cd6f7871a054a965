#pragma once
// The series list box: one row per series of a chart with its gallery icon,
// its active check, its colour (legend symbol) and its title. Ticking the
// check shows or hides the series, Insert adds a series through the gallery,
// Delete deletes the selected series (after asking), F2 renames one in
// place, dragging a title or MoveUp/MoveDown reorders them, a double click
// on the icon changes the series type, on the colour edits the series
// colour. The list follows the chart: series added, removed, renamed,
// recoloured or reordered elsewhere show at once; a chart that goes empties
// the list.
#include "chart/panel/PlotEvents.h"
#include "charteditors/common/EditedObject.h"

#include <QListWidget>

#include <functional>
#include <vector>

class QLineEdit;

namespace cb::chart {
class TChartSeries;
class TCustomAxisPanel;
struct TSeriesClass;
}  // namespace cb::chart

namespace cb::charteditors {

enum class TCheckBoxesStyle {
    cbsCheck,
    cbsRadio
};

// The four sections of a row, left to right.
enum TListBoxSection : int {
    lbsIcon = 0,
    lbsCheck = 1,
    lbsColor = 2,
    lbsTitle = 3
};

// Adding a series and changing a series' type go through these hooks; both
// stay empty until the series gallery fills them at start-up.
using TGalleryCreateSeriesHook =
    std::function<cb::chart::TChartSeries*(QWidget*, cb::chart::TCustomAxisPanel*, cb::chart::TChartSeries*)>;
using TGalleryChangeSeriesTypeHook = std::function<const cb::chart::TSeriesClass*(QWidget*, cb::chart::TChartSeries*&)>;
TGalleryCreateSeriesHook& GalleryCreateSeriesHook();
TGalleryChangeSeriesTypeHook& GalleryChangeSeriesTypeHook();

class TChartListBox : public QListWidget, public cb::chart::TPlotEventListener {
public:
    explicit TChartListBox(QWidget* parent = nullptr);
    ~TChartListBox() override;

    cb::chart::TCustomAxisPanel* Chart() const;
    void SetChart(cb::chart::TCustomAxisPanel* chart);
    TCheckBoxesStyle CheckStyle() const { return FCheckStyle; }
    // Radio style keeps only the first active series active.
    void SetCheckStyle(TCheckBoxesStyle style);
    // Lists the series by component name instead of display title.
    bool ShowNames() const { return FShowNames; }
    void SetShowNames(bool on);

    bool AllowAddSeries = true;
    bool AskDelete = true;
    bool AllowDeleteSeries = true;
    bool EnableDragSeries = true;
    bool EnableChangeColor = true;
    bool EnableChangeType = true;
    // The host's copy of the rows' texts, kept equal to them; none by default.
    QStringList* OtherItems = nullptr;
    // A chart lent to the legend symbols of series that have no chart.
    cb::chart::TCustomAxisPanel* ReferenceChart() const;
    void SetReferenceChart(cb::chart::TCustomAxisPanel* chart);
    // When set, only the series it accepts are listed (a series group).
    std::function<bool(const cb::chart::TChartSeries*)> Filter;

    // Sections: width 26, 16, 26 and 216; hidden sections take no room.
    bool SectionVisible(TListBoxSection section) const { return FSectionVisible[section]; }
    void SetSectionVisible(TListBoxSection section, bool visible);
    int SectionLeft(TListBoxSection section) const;
    int SectionWidth(TListBoxSection section) const { return SectionWidths[section]; }
    bool ShowSeriesIcon() const { return SectionVisible(lbsIcon); }
    void SetShowSeriesIcon(bool on) { SetSectionVisible(lbsIcon, on); }
    bool ShowActiveCheck() const { return SectionVisible(lbsCheck); }
    void SetShowActiveCheck(bool on) { SetSectionVisible(lbsCheck, on); }
    bool ShowSeriesColor() const { return SectionVisible(lbsColor); }
    void SetShowSeriesColor(bool on) { SetSectionVisible(lbsColor, on); }
    bool ShowSeriesTitle() const { return SectionVisible(lbsTitle); }
    void SetShowSeriesTitle(bool on) { SetSectionVisible(lbsTitle, on); }
    // The section under x (client coordinates), or -1 past the last.
    int SectionAt(int x) const;

    // Lists the chart's series again, selecting this one (else the first).
    void FillSeries(cb::chart::TChartSeries* select = nullptr);
    cb::chart::TChartSeries* SeriesAtRow(int row) const;
    cb::chart::TChartSeries* SelectedSeries() const;
    void SelectSeries(cb::chart::TChartSeries* series);
    // Exchanges two rows and the two series in the chart.
    void MoveSeries(int from, int to);
    void MoveUp();
    void MoveDown();
    // A new series from the gallery, selected; none without the gallery or
    // when the gallery was cancelled.
    cb::chart::TChartSeries* AddSeries();
    // Asks (when AskDelete) and frees the selected series; True when deleted.
    bool DeleteSelected();
    // A copy of the selected series (points, title, colour and settings),
    // selected; none when nothing is selected.
    cb::chart::TChartSeries* CloneSelected();
    // Changes the selected series to the type chosen in the gallery.
    void ChangeTypeOfSelected();
    // Asks for a new title (a new name with ShowNames); True when the
    // shown text changed.
    bool RenameWithDialog();
    // Opens the title editor over the selected row's title.
    void RenameInPlace();
    // Closes the title editor; with store its text becomes the title.
    void CloseTitleEditor(bool store);
    QLineEdit* TitleEditor() const { return FTitleEditor; }
    // An item index or, with multiple selection, a selection (the item
    // index becomes selected when nothing else is).
    bool HasSelection();

    // Left edges of the sections while all are shown: check, colour, title.
    static constexpr int CheckLeft = 26, ColorLeft = 42, TitleLeft = 68;
    static constexpr int SectionWidths[4] = {26, 16, 26, 216};

    std::function<void(cb::chart::TChartSeries*)> OnChangeActive, OnChangeColor, OnRemovedSeries;
    std::function<void(cb::chart::TChartSeries*, cb::chart::TChartSeries*)> OnChangeOrder;
    // A double click on a title (the row index).
    std::function<void(int)> OnDblClickSeries;
    // After a click, a refill, an add, delete, change or move.
    std::function<void()> OnRefresh;
    // After OtherItems may have changed (a refill, a mouse press).
    std::function<void()> OnOtherItemsChange;
    // Asks for a text (title, prompt, start text); False on Cancel. Tests
    // replace it.
    std::function<bool(const QString& title, const QString& prompt, QString& text)> AskText;

    void HandleEvent(cb::chart::TPlotEvent& event) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Detach();
    void ToggleActive(cb::chart::TChartSeries* series);
    int RowOf(const cb::chart::TChartSeries* series) const;
    std::vector<cb::chart::TChartSeries*> SelectedList() const;
    void Refresh();
    void SyncOtherItems();

    TObjectGuard FChart;
    TObjectGuard FReferenceChart;
    TCheckBoxesStyle FCheckStyle = TCheckBoxesStyle::cbsCheck;
    bool FShowNames = false;
    bool FSectionVisible[4] = {true, true, true, true};
    bool FComingFromDoubleClick = false;
    QLineEdit* FTitleEditor = nullptr;
};

}  // namespace cb::charteditors
