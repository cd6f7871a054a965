// The chart editor dialog opened on the program's chart (the chart view after
// a real query on the sample cube): every page visited with QTest, one change
// per page seen in a rendering of the chart, and the Cancel paths.
#include "EditorTestSupport.h"
#include "XYZSeriesSupport.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/component/ExtraLegendTool.h"
#include "chart/component/StandardTools.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/NearestTool.h"
#include "chart/tools/ToolTypes.h"
#include "extras/HelpHook.h"
#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/dialog/PlotExportForm.h"
#include "chartexport/navigator/PlotNavigator.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartListBox.h"
#include "charteditors/dialog/AxisPage.h"
#include "charteditors/dialog/ChartEditForm.h"
#include "charteditors/dialog/ExtraLegendEditor.h"
#include "charteditors/dialog/GeneralPage.h"
#include "charteditors/dialog/LegendPage.h"
#include "charteditors/dialog/PagingPage.h"
#include "charteditors/dialog/PanelPage.h"
#include "charteditors/dialog/TitlePage.h"
#include "charteditors/dialog/ToolsPage.h"
#include "charteditors/dialog/View3DPage.h"
#include "charteditors/dialog/WallPage.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "tests/app/ChartViewTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

void Click(QAbstractButton* b) {
    ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}
void Type(QAbstractSpinBox* s, const QString& text) {
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, text);
}
void ClickTab(QTabWidget* tabs, QWidget* page) {
    const int i = tabs->indexOf(page);
    ASSERT_GE(i, 0);
    ASSERT_TRUE(tabs->isTabVisible(i));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    ASSERT_EQ(tabs->currentWidget(), page);
}

// The chart as drawn, and how many pixels of a region pass a test.
QImage Render(TCustomChart* chart) {
    chart->Invalidate();
    return chart->grab().toImage();
}
int CountPixels(const QImage& image, const QRect& region, const std::function<bool(QColor)>& test) {
    int n = 0;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}
bool Saturated(QColor c) {
    return c.hsvSaturation() > 110 && c.value() > 60;
}
// The first column from the left holding dark ink in the middle rows.
int FirstInkColumn(const QImage& image) {
    for (int x = 2; x < image.width(); ++x)
        for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
            if (image.pixelColor(x, y).lightness() < 90) return x;
    return image.width();
}
// The runs of saturated (series) colour along the row at 80% height.
int BarsAcross(const QImage& image) {
    int runs = 0;
    bool inRun = false;
    const int y = image.height() * 8 / 10;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        const bool on = c.hsvSaturation() > 110 && c.value() > 60;
        if (on && !inRun) ++runs;
        inRun = on;
    }
    return runs;
}
bool Dark(QColor c) {
    return c.lightness() < 90;
}
std::function<bool(QColor)> Near(TColor color) {
    const QColor want(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    return [want](QColor c) {
        return std::abs(c.red() - want.red()) < 12 && std::abs(c.green() - want.green()) < 12 &&
               std::abs(c.blue() - want.blue()) < 12;
    };
}

// A picture of the dialog once its pending layouts ran.
void Shot(QWidget* w, const std::string& name) {
    QCoreApplication::processEvents();
    cbtest::Screenshot(w, name);
}

// Tool classes of the gallery while the tests run.
void RegisterTestTools() {
    RegisterStandardToolTypes();
}

// The editor settings of this process live in a folder of its own, so
// tests running side by side do not read each other's place and size.
void IsolateEditorSettings() {
    static QTemporaryDir dir;
    static const bool done = [] {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        return true;
    }();
    (void)done;
}

class ChartEditor : public cbtest::ChartViewFixture {
protected:
    void SetUp() override {
        IsolateEditorSettings();
        for (const char* k : {"Left", "Top", "Width", "Height", "TreeMode"}) RemoveEditorSetting(k);
        RegisterStandardEditors();
        RegisterTestTools();
        OpenChartView();
        chart = view->chartGraph();
        ASSERT_NE(chart, nullptr);
        ASSERT_GT(chart->NumberOfSeries(), 0);
    }
    void TearDown() override {
        for (const char* k : {"Left", "Top", "Width", "Height", "TreeMode"}) RemoveEditorSetting(k);
    }
    std::unique_ptr<TChartEditForm> Open(const std::function<void(TChartEditForm&)>& configure = {}) {
        auto form = std::make_unique<TChartEditForm>();
        form->RememberPosition = false;
        form->RememberSize = false;
        form->SetChart(chart);
        if (configure) configure(*form);
        form->resize(560, 420);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }
    template <class T>
    T* SubPage(TChartEditForm& form, QWidget* tab, int page) {
        ClickTab(form.MainPage, form.TabChart);
        ClickTab(form.SubPage, tab);
        // Laid out as the user sees it before anything is clicked on it.
        QCoreApplication::processEvents();
        auto* editor = dynamic_cast<T*>(form.PageEditor(page));
        EXPECT_NE(editor, nullptr) << "page " << page;
        return editor;
    }
    TChart* chart = nullptr;
};

TEST_F(ChartEditor, EveryPageShowsItsEditorAndIsPhotographed) {
    auto form = Open();
    EXPECT_EQ(form->windowTitle().left(8), "Editing ");
    EXPECT_EQ(form->LBSeries->count(), chart->NumberOfSeries());
    EXPECT_EQ(form->LBSeries->currentRow(), 0);
    Shot(form.get(), "charteditor_series");
    const struct {
        QWidget* tab;
        int page;
        const char* shot;
    } pages[] = {{form->TabGeneral, cetGeneral, "charteditor_general"}, {form->TabAxis, cetAxis, "charteditor_axis"},
                 {form->TabTitle, cetTitles, "charteditor_titles"},     {form->TabLegend, cetLegend, "charteditor_legend"},
                 {form->TabPanel, cetPanel, "charteditor_panel"},       {form->TabPaging, cetPaging, "charteditor_paging"},
                 {form->TabWalls, cetWalls, "charteditor_walls"},       {form->Tab3D, cet3D, "charteditor_3d"}};
    for (const auto& p : pages) {
        ClickTab(form->SubPage, p.tab);
        ASSERT_NE(form->PageEditor(p.page), nullptr) << p.shot;
        EXPECT_TRUE(form->PageEditor(p.page)->isVisible()) << p.shot;
        Shot(form.get(), p.shot);
    }
    ClickTab(form->MainPage, form->TabTools);
    ASSERT_NE(form->ToolsPage(), nullptr);
    Shot(form.get(), "charteditor_tools");
    ClickTab(form->MainPage, form->TabPrint);
    Shot(form.get(), "charteditor_print");
    ClickTab(form->MainPage, form->TabSeries);
    Shot(form.get(), "charteditor_seriespage");
    ClickTab(form->MainPage, form->TabData);
    Shot(form.get(), "charteditor_data");
    ClickTab(form->MainPage, form->TabExport);
    Shot(form.get(), "charteditor_export");
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ChartEditor, AChangeOnEachPageShowsInTheChart) {
    auto form = Open();
    const QRect all = chart->rect();
    const QImage before = Render(chart);
    before.save(QString(CB_BIN_DIR) + "/../screenshots/charteditor_chart_before.png");
    TChartSeries* first = chart->SeriesAt(0);

    // Series list: unticking the first series takes its colours off the chart.
    const int colours = CountPixels(before, all, Saturated);
    ASSERT_GT(colours, 200);
    const QRect check = form->LBSeries->visualItemRect(form->LBSeries->item(0));
    QTest::mouseClick(form->LBSeries->viewport(), Qt::LeftButton, {},
                      QPoint(TChartListBox::CheckLeft + 6, check.center().y()));
    EXPECT_FALSE(first->Active());
    EXPECT_LT(CountPixels(Render(chart), all, Saturated), colours / 4);
    QTest::mouseClick(form->LBSeries->viewport(), Qt::LeftButton, {},
                      QPoint(TChartListBox::CheckLeft + 6, check.center().y()));
    ASSERT_TRUE(first->Active());

    // General: a left margin of 60 moves the left axis' labels right.
    auto* general = SubPage<TFormPlotGeneral>(*form, form->TabGeneral, cetGeneral);
    const int inkStart = FirstInkColumn(Render(chart));
    Type(general->UDLeftMa, "60");
    EXPECT_EQ(chart->MarginLeft(), 60);
    EXPECT_GE(FirstInkColumn(Render(chart)), inkStart + 40);
    Type(general->UDLeftMa, "0");

    // Axis: hiding the left axis' labels takes their ink away.
    auto* axis = SubPage<TFormPlotAxis>(*form, form->TabAxis, cetAxis);
    EXPECT_EQ(axis->Axis(), &chart->LeftAxis());
    const QRect labels(0, 0, chart->ChartRect().Left, chart->height());
    const int labelInk = CountPixels(Render(chart), labels, Dark);
    ASSERT_GT(labelInk, 20);
    ClickTab(axis->PageControl, axis->PageControl->widget(2));
    Click(axis->CBLabels);
    EXPECT_FALSE(chart->LeftAxis().Labels());
    EXPECT_LT(CountPixels(Render(chart), labels, Dark), labelInk / 2);
    Click(axis->CBLabels);

    // Titles: a typed title appears at the top.
    auto* titles = SubPage<TFormPlotTitle>(*form, form->TabTitle, cetTitles);
    if (!titles->CBVisible->isChecked()) Click(titles->CBVisible);
    // The title's font is blue: its ink is dark or coloured.
    const auto titleInk = [](QColor c) { return Dark(c) || Saturated(c); };
    const QRect top(0, 0, chart->width(), chart->ChartRect().Top);
    const int topInk = CountPixels(Render(chart), top, titleInk);
    titles->MText->setFocus();
    titles->MText->selectAll();
    QTest::keyClicks(titles->MText, "WWWWWWWW");
    ASSERT_EQ(chart->Title().Text(), std::vector<std::string>{"WWWWWWWW"});
    const QImage titled = Render(chart);
    EXPECT_GT(CountPixels(titled, QRect(0, 0, chart->width(), chart->ChartRect().Top), titleInk), topInk + 20);

    // Legend: hiding it takes its box away.
    auto* legend = SubPage<TFormPlotLegend>(*form, form->TabLegend, cetLegend);
    ASSERT_TRUE(chart->Legend().Visible());
    Render(chart);
    const int plotBottom = chart->ChartRect().Bottom;
    Click(legend->CBShow);
    EXPECT_FALSE(chart->Legend().Visible());
    Render(chart);
    EXPECT_GT(chart->ChartRect().Bottom, plotBottom + 10);  // the plot takes the legend's room
    Click(legend->CBShow);

    // Panel: a green panel.
    auto* panel = SubPage<TFormPlotPanel>(*form, form->TabPanel, cetPanel);
    const TColor panelColor = chart->Color();
    cbtest::ChooseColorInNextDialog(0x00C000);
    Click(panel->BPanelColor);
    EXPECT_EQ(chart->Color(), TColor(0x00C000));
    EXPECT_GT(CountPixels(Render(chart), all, Near(0x00C000)), all.width() * 4);
    EXPECT_FALSE(panel->CBColorDef->isChecked());
    EXPECT_TRUE(panel->CBColorDef->isEnabled());

    // Walls: the back wall's transparency decides whether the green panel
    // shows through the plot.
    auto* walls = SubPage<TFormPlotWall>(*form, form->TabWalls, cetWalls);
    QTest::mouseClick(walls->TabSubWalls, Qt::LeftButton, {}, walls->TabSubWalls->tabRect(3).center());
    EXPECT_EQ(walls->Wall(), static_cast<TChartWall*>(&chart->BackWall()));
    const int green = CountPixels(Render(chart), all, Near(0x00C000));
    const bool transparent = chart->BackWall().Transparent();
    EXPECT_EQ(walls->CBTransp->isChecked(), transparent);
    Click(walls->CBTransp);
    EXPECT_EQ(chart->BackWall().Transparent(), !transparent);
    EXPECT_GT(std::abs(CountPixels(Render(chart), all, Near(0x00C000)) - green), all.width() * 20);
    Click(walls->CBTransp);
    chart->SetColor(panelColor);

    // Paging: with five points, one a page leaves one bar drawn.
    for (int i = 0; i < 4; ++i) first->AddValue(1e8 + 1e7 * i, "p" + std::to_string(i));
    auto* paging = SubPage<TFormPlotPage>(*form, form->TabPaging, cetPaging);
    const int barsBefore = BarsAcross(Render(chart));
    EXPECT_GE(barsBefore, 3);  // neighbouring bars may touch
    Type(paging->UDPointsPerPage, "1");
    EXPECT_EQ(chart->MaxPointsPerPage(), 1);
    EXPECT_EQ(chart->NumPages(), 5);
    EXPECT_EQ(paging->LabelPages->text(), "Page 1 of 5");
    EXPECT_EQ(BarsAcross(Render(chart)), 1);
    Click(paging->ChartPageNavigator1->Button(cb::chartexport::nbNext));
    EXPECT_EQ(chart->Page(), 2);
    EXPECT_EQ(paging->LabelPages->text(), "Page 2 of 5");
    Type(paging->UDPointsPerPage, "0");

    // 3D: turning 3D off changes the picture; Views page leaves it as it is.
    auto* view3D = SubPage<TFormPlot3D>(*form, form->Tab3D, cet3D);
    const QImage in3D = Render(chart);
    Click(view3D->CBView3d);
    EXPECT_EQ(chart->View3D(), view3D->CBView3d->isChecked());
    EXPECT_NE(Render(chart), in3D);
}

TEST_F(ChartEditor, CancelPathsChangeNothing) {
    auto form = Open();
    auto* axis = SubPage<TFormPlotAxis>(*form, form->TabAxis, cetAxis);
    TChartAxis& left = chart->LeftAxis();
    const double minimum = left.Minimum();
    const bool automatic = left.AutomaticMinimum();
    cbtest::OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TAxisMaxMin*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->windowTitle().startsWith("Minimum "));
        QTest::keyClicks(d->EMaximum, "123");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    Click(axis->BAxisMin);
    EXPECT_EQ(left.Minimum(), minimum);
    EXPECT_EQ(left.AutomaticMinimum(), automatic);

    // A bad number keeps the limit dialog open and changes nothing; then OK.
    cbtest::OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TAxisMaxMin*>(w);
        ASSERT_NE(d, nullptr);
        d->EMaximum->setText("abc");
        cbtest::OnNextModal([d](QWidget* box) {
            EXPECT_NE(box, d);  // the error message
            QTest::keyClick(box, Qt::Key_Escape);
            QTimer::singleShot(0, [d] {
                d->EMaximum->setText("-5");
                d->BitBtn1->click();
            });
        });
        d->BitBtn1->click();
    });
    Click(axis->BAxisMin);
    EXPECT_EQ(left.Minimum(), -5);
    EXPECT_FALSE(left.AutomaticMinimum());

    // The tools gallery cancelled adds nothing; a delete answered No keeps the tool.
    ClickTab(form->MainPage, form->TabTools);
    TFormPlotTools* tools = form->ToolsPage();
    const int count = chart->Tools().Count();
    cbtest::OnNextModal([](QWidget* w) {
        ASSERT_NE(dynamic_cast<TPlotToolsGallery*>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    Click(tools->BAdd);
    EXPECT_EQ(chart->Tools().Count(), count);
    cbtest::OnNextModal([](QWidget* w) {
        auto* g = dynamic_cast<TPlotToolsGallery*>(w);
        ASSERT_NE(g, nullptr);
        EXPECT_GE(g->LBTool->count(), 2);
        g->BOk->click();
    });
    Click(tools->BAdd);
    ASSERT_EQ(chart->Tools().Count(), count + 1);
    {
        cbtest::TConfirmAnswer no(false);
        Click(tools->BDelete);
        EXPECT_EQ(no.Count, 1);
    }
    EXPECT_EQ(chart->Tools().Count(), count + 1);
    {
        cbtest::TConfirmAnswer yes(true);
        Click(tools->BDelete);
    }
    EXPECT_EQ(chart->Tools().Count(), count);
}

TEST_F(ChartEditor, StoredPlaceIsKeptOnTheScreenThatHoldsIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        int left, top, width, height;
        QPoint expected;
        QSize size;
    } cases[] = {
        {-50, -30, 40, 30, screen.topLeft(), {100, 100}},
        {screen.right() + 500, screen.bottom() + 500, 300, 200,
         QPoint(screen.right() + 1 - 300, screen.bottom() + 1 - 200), {300, 200}},
        {20, 30, 400, 300, QPoint(20, 30), {400, 300}},
    };
    for (const auto& c : cases) {
        WriteEditorSettingInteger("Left", c.left);
        WriteEditorSettingInteger("Top", c.top);
        WriteEditorSettingInteger("Width", c.width);
        WriteEditorSettingInteger("Height", c.height);
        TChartEditForm form;
        ASSERT_TRUE(form.RememberPosition);
        form.SetChart(chart);
        EXPECT_EQ(form.pos(), c.expected) << c.left;
        EXPECT_EQ(form.size(), c.size) << c.left;
    }
}

TEST_F(ChartEditor, ClosingAtTheDefaultSizeStoresNoSize) {
    {
        TChartEditForm form;
        form.SetChart(chart);
        form.resize(EditorDefaultWidth, EditorDefaultHeight);
    }
    EXPECT_EQ(ReadEditorSettingInteger("Width", -1), -1);
    EXPECT_EQ(ReadEditorSettingInteger("Height", -1), -1);
    {
        TChartEditForm form;
        form.SetChart(chart);
        form.resize(500, 400);
    }
    EXPECT_EQ(ReadEditorSettingInteger("Width", -1), 500);
    EXPECT_EQ(ReadEditorSettingInteger("Height", -1), 400);
}

TEST_F(ChartEditor, StartPageSkipsHiddenPages) {
    const struct {
        int start;
        std::set<int> hidden;
        int subPage;  // -1: a main page
        int mainPage;
    } cases[] = {
        {cetTitles, {cetTitles}, cetLegend, 0},
        {cet3D, {cet3D}, cetWalls, 0},
        {cetGeneral, {0, 1, 2, 3, 4, 5, 6, 7, 8}, -1, 2},
        {cetGeneral, {0, 1, 2, 3, 4, 5, 6, 7, 8, cetData}, -1, 3},
        {cetTools, {}, -1, 3},
    };
    for (const auto& c : cases) {
        auto form = Open([&](TChartEditForm& f) {
            f.StartPage = c.start;
            f.HiddenPages = c.hidden;
        });
        if (c.subPage >= 0) {
            EXPECT_EQ(form->MainPage->currentWidget(), form->TabChart);
            EXPECT_EQ(form->SubPage->currentIndex(), c.subPage) << c.start;
        } else {
            EXPECT_EQ(form->MainPage->currentIndex(), c.mainPage) << c.start;
        }
        EXPECT_EQ(form->MainPage->isTabVisible(0), c.hidden.size() < 9);
    }
}

// The Data page shows the chart's points with buttons for the label column;
// the Export page is the export dialog without its Close button, its
// Native page hidden with that page of the editor.
TEST_F(ChartEditor, DataAndExportPagesShowTheChart) {
    cb::chartexport::RegisterChartExportFormats();
    for (bool nativeHidden : {false, true}) {
        SCOPED_TRACE(nativeHidden ? "native hidden" : "native shown");
        auto form = Open([&](TChartEditForm& f) {
            if (nativeHidden) f.HiddenPages = {cetExportNative};
        });
        ClickTab(form->MainPage, form->TabData);
        auto* grid = form->TabData->findChild<TChartGrid*>();
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->Chart(), chart);
        EXPECT_TRUE(grid->HasPoints());
        auto* text = form->TabData->findChild<QToolButton*>("SBGridText");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(), "Show labels");
        const bool labels = grid->ShowLabels();
        Click(text);
        EXPECT_EQ(grid->ShowLabels(), !labels);
        ClickTab(form->MainPage, form->TabExport);
        auto* exporter = form->TabExport->findChild<cb::chartexport::TPlotExportForm*>();
        ASSERT_NE(exporter, nullptr);
        EXPECT_TRUE(exporter->isVisible());
        EXPECT_FALSE(exporter->BClose->isVisible());
        EXPECT_GT(exporter->LBFormat->count(), 0);
        QTabWidget* pages = exporter->PageControl1;
        EXPECT_EQ(pages->isTabVisible(pages->indexOf(exporter->TabNative)), !nativeHidden);
    }
}

TEST_F(ChartEditor, SeriesButtonsFollowStyleFlagsAndSelection) {
    DuplicateSeries(*chart->SeriesAt(0));
    auto form = Open();
    ASSERT_GE(chart->NumberOfSeries(), 2);
    TChartSeries* s = chart->SeriesAt(0);
    const struct {
        unsigned style;
        bool del, change, clone;
    } cases[] = {{0, true, true, true}, {2, true, false, true}, {1, false, true, false}, {8, true, true, false}};
    for (const auto& c : cases) {
        s->SetStyle(c.style);
        form->LBSeries->setCurrentRow(0);
        form->RefreshButtons();
        EXPECT_EQ(form->BDeleteSeries->isEnabled(), c.del) << c.style;
        EXPECT_EQ(form->BChangeTypeSeries->isEnabled(), c.change) << c.style;
        EXPECT_EQ(form->BCloneSeries->isEnabled(), c.clone) << c.style;
    }
    s->SetStyle(0);
    form->LBSeries->item(0)->setSelected(true);
    form->LBSeries->item(1)->setSelected(true);
    form->RefreshButtons();
    EXPECT_TRUE(form->BDeleteSeries->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(form->BRenameSeries), static_cast<QWidget*>(form->BCloneSeries),
                       static_cast<QWidget*>(form->BMoveUP), static_cast<QWidget*>(form->BMoveDown)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(ChartEditor, SeriesAreRenamedClonedAndMoved) {
    auto form = Open();
    const int n = chart->NumberOfSeries();
    form->AskText = [](const QString&, const QString&, QString& text) {
        text = "Renamed";
        return true;
    };
    Click(form->BRenameSeries);
    EXPECT_EQ(chart->SeriesAt(0)->Title(), "Renamed");
    Click(form->BCloneSeries);
    EXPECT_EQ(chart->NumberOfSeries(), n + 1);
    TChartSeries* second = chart->SeriesAt(1);
    form->LBSeries->setCurrentRow(1);
    Click(form->BMoveUP);
    EXPECT_EQ(chart->SeriesAt(0), second);
}

TEST_F(ChartEditor, ViewsPageSelectsTheMatchingPresetAndChangesNothingElse) {
    auto form = Open();
    auto* view3D = SubPage<TFormPlot3D>(*form, form->Tab3D, cet3D);
    // No preset matches: nothing is selected, the chart keeps its view.
    chart->SetView3D(true);
    chart->View3DOptions().SetOrthogonal(false);
    chart->View3DOptions().SetRotation(321);
    chart->View3DOptions().SetElevation(333);
    ClickTab(view3D->PageControl1, view3D->TabViews);
    EXPECT_EQ(view3D->ChartGalleryPanel1->Charts().size(), 6u);
    EXPECT_EQ(view3D->MatchingPreset(), -1);
    EXPECT_TRUE(chart->View3D());
    EXPECT_EQ(chart->View3DOptions().Rotation(), 321);
    EXPECT_EQ(chart->View3DOptions().Elevation(), 333);
    Shot(form.get(), "charteditor_3d_views");
    // The "3D Right" settings focus that preset and leave the chart alone.
    ClickTab(view3D->PageControl1, view3D->PageControl1->widget(0));
    chart->View3DOptions().SetRotation(300);
    chart->View3DOptions().SetElevation(360);
    ClickTab(view3D->PageControl1, view3D->TabViews);
    EXPECT_EQ(view3D->MatchingPreset(), 4);
    EXPECT_EQ(view3D->ChartGalleryPanel1->SelectedChart(), view3D->ChartGalleryPanel1->Charts()[4].get());
    EXPECT_EQ(chart->View3DOptions().Rotation(), 300);
    // Choosing "2D" applies it.
    view3D->ChartGalleryPanel1->SelectChart(view3D->ChartGalleryPanel1->Charts()[0].get());
    view3D->ChartGalleryPanel1->RefreshFocusLook();
    EXPECT_FALSE(chart->View3D());
}

// A tool editor that checks, as it goes, that its tool still lives.
bool GToolAliveAtEditorEnd = false;
class TProbeToolEditor : public TEditorForm {
public:
    using TEditorForm::TEditorForm;
    ~TProbeToolEditor() override { GToolAliveAtEditorEnd = !Edited().Empty(); }
};

TEST_F(ChartEditor, ToolsAreAddedSelectedAndDeletedEditorFirst) {
    const std::string editorName = TCursorTool().EditorClassName();
    RegisterEditorClass<TProbeToolEditor>(editorName);
    auto form = Open();
    ClickTab(form->MainPage, form->TabTools);
    TFormPlotTools* tools = form->ToolsPage();
    chart->Tools().Clear();
    tools->RefreshList();
    EXPECT_FALSE(tools->BDelete->isEnabled());
    EXPECT_FALSE(tools->CBActive->isEnabled());
    for (int i = 0; i < 5; ++i) tools->AddTool(ToolClassOf<TCursorTool>("TCursorTool"));
    ASSERT_EQ(chart->Tools().Count(), 5);
    EXPECT_EQ(chart->Tools().ToolAt(0)->Name(), "ChartTool1");
    EXPECT_EQ(chart->Tools().ToolAt(4)->Name(), "ChartTool5");
    ASSERT_NE(tools->ToolEditor(), nullptr);
    // Active follows the check box.
    Click(tools->CBActive);
    EXPECT_FALSE(tools->SelectedTool()->Active());
    // Moving the first down exchanges it with the second in the chart.
    TPlotCustomTool* firstTool = chart->Tools().ToolAt(0);
    tools->LBTools->setCurrentRow(0);
    Click(tools->BMoveDown);
    EXPECT_EQ(chart->Tools().ToolAt(1), firstTool);
    // Deleting the fourth selects the third; the first, the last.
    cbtest::TConfirmAnswer yes(true);
    const struct {
        int deleted, selected;
    } cases[] = {{3, 2}, {0, 2}};
    for (const auto& c : cases) {
        tools->LBTools->setCurrentRow(c.deleted);
        GToolAliveAtEditorEnd = false;
        Click(tools->BDelete);
        EXPECT_TRUE(GToolAliveAtEditorEnd) << "the editor went after its tool";
        EXPECT_EQ(tools->LBTools->currentRow(), c.selected);
    }
    EXPECT_EQ(yes.Asked, "Delete Cursor ?");
    UnregisterEditorClass(editorName);
}

TEST_F(ChartEditor, ExtraLegendToolEditsItsLegendThroughTheLegendPage) {
    auto form = Open();
    ClickTab(form->MainPage, form->TabTools);
    TFormPlotTools* tools = form->ToolsPage();
    int index = -1;
    for (int i = 0; i < ToolTypes().Count(); ++i)
        if (ToolTypes().GetItem(i)->Type == std::type_index(typeid(TExtraLegendTool))) index = i;
    ASSERT_GE(index, 0);
    auto* tool = dynamic_cast<TExtraLegendTool*>(tools->AddTool(*ToolTypes().GetItem(index)));
    ASSERT_NE(tool, nullptr);
    auto* editor = dynamic_cast<TExtraLegendEditor*>(tools->ToolEditor());
    ASSERT_NE(editor, nullptr);
    editor->CBSeries->setCurrentIndex(1);
    EXPECT_EQ(tool->Series(), chart->SeriesAt(0));
    tool->Legend().SetLeft(20);
    tool->Legend().SetTop(20);
    const QImage shown = Render(chart);
    Shot(form.get(), "charteditor_extra_legend");
    editor->OnLegendDialog = [](TFormPlotLegend& page) {
        QTimer::singleShot(0, &page, [&page] {
            Shot(&page, "charteditor_extra_legend_page");
            Click(page.CBShow);
            page.accept();
        });
    };
    Click(editor->Button1);
    EXPECT_FALSE(tool->Legend().Visible());
    EXPECT_TRUE(chart->Legend().Visible());
    EXPECT_NE(Render(chart), shown);
}

TEST_F(ChartEditor, TreeModeNodesOpenTheirPages) {
    WriteEditorSettingBool("TreeMode", true);
    DuplicateSeries(*chart->SeriesAt(0));
    auto form = Open();
    ASSERT_TRUE(form->TreeMode());
    ASSERT_NE(form->SeriesNode(), nullptr);
    EXPECT_EQ(form->SeriesNode()->childCount(), chart->NumberOfSeries());
    EXPECT_EQ(form->SeriesNode()->isExpanded(), chart->NumberOfSeries() < 11);
    Shot(form.get(), "charteditor_tree");
    const struct {
        const char* node;
        int entry;
    } titles[] = {{"Footer", 3}, {"SubFoot", 2}, {"Title", 0}};
    for (const auto& t : titles) {
        QTreeWidgetItem* n = form->FindNode(t.node);
        ASSERT_NE(n, nullptr) << t.node;
        form->Tree->setCurrentItem(n);
        auto* page = dynamic_cast<TFormPlotTitle*>(form->PageEditor(cetTitles));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->CBTitles->currentIndex(), t.entry) << t.node;
        EXPECT_EQ(page->Title(), t.entry == 3 ? static_cast<TChartTitle*>(&chart->Foot())
                                 : t.entry == 2 ? static_cast<TChartTitle*>(&chart->SubFoot())
                                                : &chart->Title());
    }
    form->Tree->setCurrentItem(form->FindNode("Bottom Axis"));
    auto* axis = dynamic_cast<TFormPlotAxis*>(form->PageEditor(cetAxis));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->Axis(), &chart->BottomAxis());
    EXPECT_EQ(axis->LBAxes->currentRow(), 3);
    Shot(form.get(), "charteditor_tree_axis");
    // A tool added on the tools page gets its node.
    form->Tree->setCurrentItem(form->FindNode("Tools"));
    ASSERT_NE(form->ToolsPage(), nullptr);
    const int nodes = form->ToolsNode()->childCount();
    form->ToolsPage()->AddTool(ToolClassOf<TCursorTool>("TCursorTool"));
    EXPECT_EQ(form->ToolsNode()->childCount(), nodes + 1);
    form->Tree->setCurrentItem(form->SeriesNode()->child(1));
    EXPECT_EQ(form->MainPage->currentWidget(), form->TabSeries);
    EXPECT_EQ(form->LBSeries->SelectedSeries(), chart->SeriesAt(1));
}

TEST_F(ChartEditor, SeriesGroupsShowHideAndTakeDroppedSeries) {
    DuplicateSeries(*chart->SeriesAt(0));
    auto form = Open([](TChartEditForm& f) { f.Options |= ceGroups; });
    ASSERT_TRUE(form->Groups->isVisible());
    ASSERT_GE(chart->NumberOfSeries(), 2);
    form->AskText = [](const QString& title, const QString&, QString& text) {
        EXPECT_EQ(title, "Add new group");
        text = "";
        return true;
    };
    Click(form->BAddGroup);
    ASSERT_EQ(chart->SeriesList().GroupCount(), 1);
    EXPECT_EQ(form->Groups->count(), 2);
    EXPECT_EQ(form->Groups->item(1)->text(), "");
    form->AskText = [](const QString&, const QString&, QString& text) {
        text = "B";
        return true;
    };
    Click(form->BAddGroup);
    TChartSeries* a = chart->SeriesAt(0);
    TChartSeries* b = chart->SeriesAt(1);
    form->Groups->setCurrentRow(0);
    form->DropSeriesOnGroup(a, 1);
    form->DropSeriesOnGroup(b, 1);
    EXPECT_EQ(chart->SeriesList().GroupAt(0)->Series.Count(), 2);
    EXPECT_FALSE(form->CanDropSeriesOnGroup(a, 1));
    // The group's entry lists only its series.
    form->Groups->setCurrentRow(1);
    EXPECT_EQ(form->LBSeries->count(), 2);
    // Dropped again on its group: nothing moves; moved on to B: leaves the first.
    form->DropSeriesOnGroup(a, 1);
    EXPECT_EQ(chart->SeriesList().GroupAt(0)->Series.Count(), 2);
    form->Groups->setCurrentRow(1);
    form->DropSeriesOnGroup(a, 2);
    EXPECT_EQ(chart->SeriesList().GroupAt(0)->Series.IndexOf(a), -1);
    EXPECT_EQ(chart->SeriesList().GroupAt(1)->Series.IndexOf(a), 0);
    // Unticking group B hides its series; "(all)" then shows unchecked.
    form->Groups->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(form->Groups->item(0)->checkState(), Qt::Unchecked);
    form->Groups->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(a->Active());
    EXPECT_EQ(form->Groups->item(2)->checkState(), Qt::Checked);
    b->SetActive(false);
    form->FillGroups();
    EXPECT_EQ(form->Groups->item(1)->checkState(), Qt::Unchecked);  // b alone in the first group
    b->SetActive(true);
    Shot(form.get(), "charteditor_groups");
    // "-" asks, then frees the group; its series stay in the chart.
    form->Groups->setCurrentRow(1);
    const std::string first = chart->SeriesList().GroupAt(0)->Name;
    {
        cbtest::TConfirmAnswer no(false);
        Click(form->BDeleteGroup);
        EXPECT_EQ(no.Asked, "Delete " + first + " ?");
    }
    EXPECT_EQ(chart->SeriesList().GroupCount(), 2);
    {
        cbtest::TConfirmAnswer yes(true);
        Click(form->BDeleteGroup);
    }
    ASSERT_EQ(chart->SeriesList().GroupCount(), 1);
    EXPECT_NE(chart->SeriesList().GroupAt(0)->Name, first);
    EXPECT_EQ(chart->SeriesAt(1), b);
    EXPECT_EQ(form->Groups->count(), 2);
    form->Groups->setCurrentRow(0);
    EXPECT_FALSE(form->BDeleteGroup->isEnabled());  // "(all)" is no group
}

TEST_F(ChartEditor, HelpButtonAndF1AskForTheDialogsHelpContext) {
    std::vector<std::pair<unsigned, std::intptr_t>> asked;
    const cb::extras::THelpEvent kept = cb::extras::ApplicationHelpEvent();
    cb::extras::ApplicationHelpEvent() = [&](unsigned command, std::intptr_t data, bool& callHelp) {
        asked.emplace_back(command, data);
        callHelp = false;
        return true;
    };
    auto form = Open();
    Click(form->ButtonHelp);
    QTest::keyClick(form->LBSeries, Qt::Key_F1);
    cb::extras::ApplicationHelpEvent() = kept;
    ASSERT_EQ(asked.size(), 2u);
    for (const auto& a : asked) {
        EXPECT_EQ(a.first, unsigned(cb::extras::HELP_CONTEXT));
        EXPECT_EQ(a.second, 726);
    }
    // Without the program's help nothing opens and nothing fails.
    cb::extras::ApplicationHelpEvent() = nullptr;
    Click(form->ButtonHelp);
    cb::extras::ApplicationHelpEvent() = kept;
}

TEST_F(ChartEditor, ViewSeriesNamesListsNamesAndTheButtonRenamesThem) {
    auto form = Open();
    TChartSeries* s = chart->SeriesAt(0);
    form->CBNames->click();
    EXPECT_EQ(form->LBSeries->item(0)->text().toStdString(), s->Name());
    EXPECT_EQ(form->BRenameSeries->text(), "&Name...");
    form->AskText = [](const QString& title, const QString& prompt, QString& text) {
        EXPECT_EQ(title, "Change Series Title");
        EXPECT_EQ(prompt, "New Series Title:");
        text = "FirstSeries";
        return true;
    };
    Click(form->BRenameSeries);
    EXPECT_EQ(s->Name(), "FirstSeries");
    EXPECT_EQ(form->LBSeries->item(0)->text(), "FirstSeries");
    form->CBNames->click();
    EXPECT_EQ(form->BRenameSeries->text(), "&Title...");
    EXPECT_EQ(form->LBSeries->item(0)->text().toStdString(), GetSeriesDisplayTitle(*s));
}

// Pixels of a list row's icon place (2, 1 to 18, 17) that differ from the
// list's background.
int IconPixels(QListWidget* list, int row) {
    const QImage image = list->viewport()->grab().toImage();
    const QRect r = list->visualItemRect(list->item(row));
    const QRgb base = list->palette().base().color().rgb();
    const QRgb highlight = list->palette().highlight().color().rgb();
    int painted = 0;
    for (int y = r.top() + 1; y < r.top() + 17 && y < image.height(); ++y)
        for (int x = r.left() + 2; x < r.left() + 18; ++x)
            if (image.pixel(x, y) != base && image.pixel(x, y) != highlight) ++painted;
    return painted;
}

TEST_F(ChartEditor, ToolsListsShowEachToolTypesIcon) {
    auto form = Open();
    ClickTab(form->MainPage, form->TabTools);
    TFormPlotTools* tools = form->ToolsPage();
    chart->Tools().Clear();
    for (int i = 0; i < ToolTypes().Count(); ++i) tools->AddTool(*ToolTypes().GetItem(i));
    tools->LBTools->setCurrentRow(0);
    ASSERT_EQ(tools->LBTools->count(), ToolTypes().Count());
    EXPECT_EQ(tools->LBTools->visualItemRect(tools->LBTools->item(0)).height(), 18);
    Shot(form.get(), "charteditor_tools_icons");
    for (int row = 0; row < tools->LBTools->count(); ++row) {
        tools->LBTools->scrollToItem(tools->LBTools->item(row));
        EXPECT_GT(IconPixels(tools->LBTools, row), 10) << tools->LBTools->item(row)->text().toStdString();
    }
    TPlotToolsGallery gallery(form.get());
    gallery.resize(300, 480);
    gallery.show();
    int listed = 0;
    for (int tab = 0; tab < gallery.TabControl1->count(); ++tab) {
        gallery.TabControl1->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        cbtest::Screenshot(&gallery, "tools_gallery_" + std::to_string(tab));
        for (int row = 0; row < gallery.LBTool->count(); ++row, ++listed) {
            gallery.LBTool->scrollToItem(gallery.LBTool->item(row));
            EXPECT_GT(IconPixels(gallery.LBTool, row), 10) << gallery.LBTool->item(row)->text().toStdString();
        }
    }
    EXPECT_EQ(listed, ToolTypes().Count());
}

// The Data page's "XYZ series" button (and Alt with the right button) switch
// the grid's matrix view when the first series has Z values; typing there
// writes the point's Y.
TEST_F(ChartEditor, DataPageSwitchesTheMatrixView) {
    {
        auto form = Open();
        ClickTab(form->MainPage, form->TabData);
        QCoreApplication::processEvents();  // the page's new widgets show
        auto* matrix = form->TabData->findChild<QToolButton*>("SBGrid3D");
        ASSERT_NE(matrix, nullptr);
        EXPECT_EQ(matrix->text(), "XYZ series");
        EXPECT_FALSE(matrix->isEnabled()) << "the program's chart has no Z values";
        auto* grid = form->TabData->findChild<TChartGrid*>();
        QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::AltModifier, QPoint(60, 40));
        EXPECT_FALSE(grid->Grid3DMode());
    }
    TChart own;
    own.resize(400, 300);
    auto* xyz = static_cast<cbtest::TXYZPoints*>(own.AdoptSeries(std::make_unique<cbtest::TXYZPoints>()));
    xyz->SetTitle("Surface");
    xyz->FillGrid({1, 2, 3}, {1, 2});
    chart = &own;
    auto form = Open();
    ClickTab(form->MainPage, form->TabData);
    QCoreApplication::processEvents();
    auto* grid = form->TabData->findChild<TChartGrid*>();
    auto* matrix = form->TabData->findChild<QToolButton*>("SBGrid3D");
    auto* labels = form->TabData->findChild<QToolButton*>("SBGridText");
    ASSERT_TRUE(grid && matrix && labels);
    EXPECT_TRUE(labels->isChecked());
    EXPECT_FALSE(matrix->isChecked());
    Click(matrix);
    EXPECT_TRUE(grid->Grid3DMode());
    EXPECT_EQ(grid->MatrixSeries(), xyz);
    EXPECT_FALSE(labels->isChecked()) << "the matrix view has no label column";
    grid->setCurrentIndex(grid->model()->index(3, 2));  // X 2, Z 2
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->Editing());
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "99");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits from the event loop
    EXPECT_DOUBLE_EQ(xyz->YAt(2, 2), 99);
    Shot(form.get(), "charteditor_data_matrix");

    const QPoint cell = grid->visualRect(grid->model()->index(2, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::AltModifier, cell);
    EXPECT_FALSE(grid->Grid3DMode());
    EXPECT_FALSE(matrix->isChecked());
    EXPECT_FALSE(form->PopupData->isVisible()) << "Alt and the right button only switch the view";
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::AltModifier, cell);
    EXPECT_TRUE(grid->Grid3DMode());
    EXPECT_TRUE(matrix->isChecked());
    chart = nullptr;
}

// The Data page's pop-up menu acts on the current cell's point: its colour
// items show as that colour allows; rows and the grid's font.
TEST_F(ChartEditor, DataPagePopupMenuEditsTheCellsPoint) {
    auto form = Open();
    ClickTab(form->MainPage, form->TabData);
    QCoreApplication::processEvents();
    auto* grid = form->TabData->findChild<TChartGrid*>();
    ASSERT_NE(grid, nullptr);
    QMenu* menu = form->PopupData;
    ASSERT_NE(menu, nullptr);
    const auto item = [&](const char* name) {
        for (QAction* a : menu->actions())
            if (a->objectName() == name) return a;
        ADD_FAILURE() << name;
        return menu->actions().front();
    };
    TChartSeries* s = chart->SeriesAt(0);
    int col = 1;
    while (col < grid->ColCount() && grid->ColumnList(col) != &s->MandatoryList()) ++col;
    ASSERT_LT(col, grid->ColCount());
    const int row = grid->HeaderRows();  // point 0
    const auto openAt = [&](int c, int r) {
        // The press makes the cell current, the context menu event opens the
        // menu there.
        const QPoint at = grid->visualRect(grid->model()->index(r, c)).center();
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &e);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(grid->Row(), r);
        EXPECT_EQ(grid->Col(), c);
    };
    openAt(col, row);
    Shot(form.get(), "charteditor_data_popup");
    Shot(menu, "charteditor_data_popup_menu");
    EXPECT_TRUE(item("EditColor1")->isVisible());
    EXPECT_EQ(item("DefaultColor1")->isVisible(), s->StoredPointColor(0) != cb::gfx::clDefault);
    EXPECT_TRUE(item("Makenullpoint1")->isVisible());
    item("Makenullpoint1")->trigger();
    menu->close();
    EXPECT_TRUE(s->IsEmptyPoint(0));
    EXPECT_EQ(grid->CellText(col, row), "");

    openAt(col, row);
    EXPECT_TRUE(item("DefaultColor1")->isVisible());
    EXPECT_FALSE(item("Makenullpoint1")->isVisible());
    item("DefaultColor1")->trigger();
    menu->close();
    EXPECT_EQ(s->StoredPointColor(0), cb::gfx::clDefault);
    EXPECT_FALSE(s->IsEmptyPoint(0));

    openAt(col, row);
    cbtest::ChooseColorInNextDialog(0x00FF00);
    item("EditColor1")->trigger();
    menu->close();
    EXPECT_EQ(s->StoredPointColor(0), 0x00FF00u);

    const int points = s->PointCount();
    openAt(col, row);
    item("Insertrow1")->trigger();
    menu->close();
    EXPECT_EQ(s->PointCount(), points + 1);
    EXPECT_TRUE(s->IsEmptyPoint(points));
    openAt(col, grid->RowCount() - 1);
    item("Deleterow1")->trigger();
    menu->close();
    EXPECT_EQ(s->PointCount(), points);

    cbtest::OnNextModal([](QWidget* w) {
        auto* d = qobject_cast<QFontDialog*>(w);
        ASSERT_NE(d, nullptr) << "expected the font dialog";
        QFont f("DejaVu Sans");
        f.setPointSize(11);
        f.setBold(true);
        d->setCurrentFont(f);
        d->accept();
    });
    openAt(col, row);
    item("extfont1")->trigger();
    menu->close();
    EXPECT_TRUE(grid->font().bold());
    EXPECT_EQ(grid->font().family(), "DejaVu Sans");

    // The label column's cells have no point colour to edit.
    if (grid->LabelsColumn() > 0) {
        openAt(grid->LabelsColumn(), row);
        EXPECT_FALSE(item("EditColor1")->isVisible());
        EXPECT_FALSE(item("N1")->isVisible());
        menu->close();
    }
}

TEST_F(ChartEditor, PageHooksRunOnShowingAndOnOtherMainPages) {
    std::vector<QWidget*> pages;
    ChartEditorPageHooks().push_back([&](TChartEditForm*, QWidget* page) { pages.push_back(page); });
    auto form = Open();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], nullptr);
    ClickTab(form->MainPage, form->TabData);
    ClickTab(form->MainPage, form->TabChart);
    ChartEditorPageHooks().clear();
    ASSERT_EQ(pages.size(), 2u) << "Data has its own set-up";
    EXPECT_EQ(pages[1], form->TabChart);
}

}  // namespace
