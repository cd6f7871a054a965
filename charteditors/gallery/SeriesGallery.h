#pragma once
// The two series gallery dialogs (tabbed, and a list of types beside their
// sub-styles), choosing a type with them, creating a series of the chosen
// type and changing a series to it; and filling the two process-wide hooks
// (declared with the series list box) through which the list box adds
// series and changes their type.
#include "chart/series/SeriesTypes.h"
#include "charteditors/controls/ChartListBox.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QTabBar;

namespace cb::chart {
class TChart;
class TChartSeries;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::charteditors {

class TChartGalleryPanel;

// Tabs of series types and of function types, one page tab per gallery page.
class TPlotGallery : public QDialog {
public:
    explicit TPlotGallery(QWidget* owner = nullptr);
    QTabBar* TabTypes() const { return FTabTypes; }
    QTabBar* TabPages() const { return FTabPages; }
    TChartGalleryPanel* Gallery() const { return FGallery; }
    QCheckBox* CB3D() const { return FCB3D; }
    QCheckBox* CBSmooth() const { return FCBSmooth; }
    QPushButton* BOk() const { return FBOk; }
    QPushButton* BCancel() const { return FBCancel; }
    // Drops the "Functions" tab.
    void HideFunctions();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void TypesTabChanged();
    void PagesTabChanged();

    QTabBar* FTabTypes;
    QTabBar* FTabPages;
    TChartGalleryPanel* FGallery;
    QCheckBox* FCB3D;
    QCheckBox* FCBSmooth;
    QPushButton* FBOk;
    QPushButton* FBCancel;
    bool FFilling = false;
};

// A list of every plain series type beside a gallery of the chosen type's
// sub-styles, filtered by gallery page.
class TPlotGalleryForm : public QDialog {
public:
    explicit TPlotGalleryForm(QWidget* owner = nullptr);
    ~TPlotGalleryForm() override;
    QListWidget* TypeList() const { return FList; }
    QComboBox* CBPage() const { return FCBPage; }
    TChartGalleryPanel* Gallery() const { return FGallery; }
    QCheckBox* CB3D() const { return FCB3D; }
    QCheckBox* CBSmooth() const { return FCBSmooth; }
    QPushButton* BOk() const { return FBOk; }
    QPushButton* BCancel() const { return FBCancel; }
    // The hidden chart that holds one series per listed type.
    cb::chart::TChart& TypesChart() const { return *FChart; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void PageChanged();
    void ListClicked();

    std::unique_ptr<cb::chart::TChart> FChart;
    QListWidget* FList;
    QComboBox* FCBPage;
    TChartGalleryPanel* FGallery;
    QCheckBox* FCB3D;
    QCheckBox* FCBSmooth;
    QPushButton* FBOk;
    QPushButton* FBCancel;
    const cb::chart::TSeriesClass* FShownClass = nullptr;
};

// What the user chose in a gallery dialog.
struct TGalleryChoice {
    const cb::chart::TSeriesClass* SeriesClass = nullptr;
    const cb::chart::TFunctionClass* FunctionClass = nullptr;
    int SubIndex = -1;
};

// Shows the dialog the "GalleryMode" editor setting selects (0: tabbed,
// other: list). True when a type was chosen; view3D is then the choice's.
bool ChooseSeriesType(QWidget* owner, cb::chart::TChartSeries* current, bool offerFunctions, bool checkSeries,
                      TGalleryChoice& choice, bool& view3D);
// A new series of the chosen type in the chart, or none (cancelled, or the
// same type and no sub-style chosen for a change of type).
cb::chart::TChartSeries* CreateSeriesFromGallery(QWidget* owner, cb::chart::TChartSeries* current,
                                                 cb::chart::TCustomAxisPanel& chart, int& subIndex, bool checkSeries,
                                                 bool offerFunctions);
// Replaces the series by a new one of the chosen type, keeping its points,
// title, colour, data sources and name; series then points to the new one.
void ChangeSeriesTypeFromGallery(QWidget* owner, cb::chart::TChartSeries*& series);

// Fills both hooks (done once at start-up) and clears them.
void InstallGalleryHooks();
void ClearGalleryHooks();

}  // namespace cb::charteditors
