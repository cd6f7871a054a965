// The series gallery: a chart per registered type with its sample series,
// focus and keyboard, sub-styles, the two dialogs, and changing a series'
// type through them (its points, title, colour and sources kept; Cancel
// changes nothing).
#include "GalleryTestSupport.h"

#include "chart/component/Chart.h"
#include "chart/component/StandardSeries.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "charteditors/gallery/GalleryChart.h"
#include "charteditors/gallery/SeriesGallery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace cb::chart;
using namespace cb::charteditors;
using editortest::OnNextModal;

namespace {

struct GalleryTest : ::testing::Test {
    void SetUp() override {
        RegisterStandardSeriesTypes();
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Zivivu Software", "DezAvoze Pro").clear();
    }
    void SetMode(int mode) {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Zivivu Software", "DezAvoze Pro");
        s.setValue("Editor/GalleryMode", mode);
    }
};

TGalleryChart* ChartTitled(TChartGalleryPanel& panel, const std::string& firstLine) {
    for (auto& c : panel.Charts())
        if (!c->Title().Text().empty() && c->Title().Text()[0] == firstLine) return c.get();
    return nullptr;
}

int Index(TChartGalleryPanel& panel, TGalleryChart* chart) {
    for (std::size_t i = 0; i < panel.Charts().size(); ++i)
        if (panel.Charts()[i].get() == chart) return int(i);
    return -1;
}

TEST_F(GalleryTest, StandardPageHasAChartPerTypeWithItsSampleSeries) {
    TChartGalleryPanel panel;
    panel.resize(480, 360);
    panel.ShowPage("Standard");
    TPlotSeriesTypes& registry = SeriesTypes();
    int expected = 0;
    for (int i = 0; i < registry.Count(); ++i)
        if (registry.GetItem(i)->GalleryPageText() == "Standard" && !registry.GetItem(i)->FunctionClass) ++expected;
    ASSERT_EQ(int(panel.Charts().size()), expected);
    // Rows: three, or as many as the types need in 4 columns.
    EXPECT_EQ(panel.NumRows(), expected > 12 ? (expected - 1) / 4 + 1 : 3);
    for (auto& c : panel.Charts()) {
        ASSERT_GE(c->NumberOfSeries(), 1);
        EXPECT_GT(c->SeriesAt(0)->PointCount(), 0) << c->Title().Text()[0];
        EXPECT_FALSE(c->Legend().Visible());
    }
    // Pie shows one series, line two; a two-part description is a two-line title.
    EXPECT_EQ(ChartTitled(panel, "Pie")->NumberOfSeries(), 1);
    EXPECT_EQ(ChartTitled(panel, "Line")->NumberOfSeries(), 2);
    EXPECT_EQ(ChartTitled(panel, "Horizontal")->Title().Text(), (std::vector<std::string>{"Horizontal", "Bar"}));
    // Cells: chart i at column i mod 4, row i div 4.
    TGalleryChart* fifth = panel.Charts()[5].get();
    EXPECT_EQ(fifth->x(), panel.ColWidth());
    EXPECT_EQ(fifth->y(), panel.RowHeight());
}

TEST_F(GalleryTest, FocusFollowsSelectedSeriesAndKeyboard) {
    TChart chart;
    auto* bar = static_cast<TChartSeries*>(chart.CreateSeries<TBarSeries>());
    TChartGalleryPanel panel;
    panel.resize(480, 360);
    panel.SetDisplaySub(false);
    panel.SetSelectedSeries(bar);
    panel.ShowPage("Standard");
    ASSERT_NE(panel.SelectedChart(), nullptr);
    EXPECT_EQ(panel.SelectedChart()->Title().Text()[0], "Bar");
    EXPECT_TRUE(panel.SelectedChart()->HasFocusLook());
    int chosen = 0;
    panel.OnSelectedChart = [&] { ++chosen; };

    struct Step {
        int from, key, to;
    };
    // 4 columns: right in the last column and down from the last chart
    // select nothing new.
    const int last = int(panel.Charts().size()) - 1;
    ASSERT_GE(last, 4);
    const Step steps[] = {{0, Qt::Key_Right, 1}, {1, Qt::Key_Left, 0}, {0, Qt::Key_Left, 0},
                          {3, Qt::Key_Right, 3}, {0, Qt::Key_Down, 4}, {4, Qt::Key_Up, 0},
                          {last, Qt::Key_Down, last}};
    for (const Step& s : steps) {
        panel.SelectChart(panel.Charts()[std::size_t(s.from)].get());
        panel.HandleKey(s.key, Qt::NoModifier);
        EXPECT_EQ(Index(panel, panel.SelectedChart()), s.to) << "from " << s.from << " key " << s.key;
    }
    for (auto& c : panel.Charts()) EXPECT_EQ(c->HasFocusLook(), c.get() == panel.SelectedChart());
    panel.HandleKey(Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(chosen, 1);
}

TEST_F(GalleryTest, ZeroColumnsPlaceNothingAndRaiseNothing) {
    TChartGalleryPanel panel;
    panel.resize(400, 300);
    panel.SetNumCols(0);
    EXPECT_NO_THROW(panel.ShowPage("Standard"));
    EXPECT_EQ(panel.ColWidth(), 0);
    EXPECT_EQ(panel.RowHeight(), 0);
}

TEST_F(GalleryTest, SubStylesOfEachFamilyAreAppliedToTheirCharts) {
    struct Case {
        const char* cls;
        int minStyles;
    };
    for (const Case& k : {Case{"TLineSeries", 2}, Case{"TBarSeries", 8}, Case{"TPieSeries", 8}}) {
        const TSeriesClass* cls = FindSeriesClassByName(k.cls);
        ASSERT_NE(cls, nullptr) << k.cls;
        TChartGalleryPanel panel;
        panel.resize(480, 360);
        panel.FillWithSubStyles(*cls);
        std::vector<std::string> names;
        cls->Create()->ListSubGalleryStyles([&](const std::string& n) { names.push_back(n); });
        ASSERT_EQ(panel.Charts().size(), names.size()) << k.cls;
        EXPECT_GE(int(names.size()), k.minStyles) << k.cls;
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(panel.Charts()[i]->Tag(), int(i));
            EXPECT_EQ(panel.Charts()[i]->Title().Text()[0], names[i]);
        }
        EXPECT_EQ(names[0], "Normal");
    }
    // The bar family's third sub-style is the pyramid.
    TChartGalleryPanel panel;
    panel.FillWithSubStyles(*FindSeriesClassByName("TBarSeries"));
    auto* pyramid = dynamic_cast<TCustomBarSeries*>(panel.Charts()[2]->SeriesAt(0));
    ASSERT_NE(pyramid, nullptr);
    EXPECT_EQ(pyramid->BarStyle(), bsPyramid);
}

TEST_F(GalleryTest, GalleryRendersBarsInThePaletteColourAndTheFocusGradient) {
    TChartGalleryPanel panel;
    panel.resize(480, 360);
    panel.SetView3D(false);
    panel.ShowPage("Standard");
    panel.show();
    QTest::qWait(20);
    panel.grab().save(QString::fromStdString(editortest::ScreenshotPath("gallery-standard.png")));
    TGalleryChart* bar = ChartTitled(panel, "Bar");
    panel.SelectChart(bar);
    const QImage image = bar->grab().toImage();
    image.save(QString::fromStdString(editortest::ScreenshotPath("gallery-bar-focused.png")));
    // The two sample series' bars overlap (random heights), in the
    // palette's first and fourth colours shaded by their gradient.
    const int bars = editortest::CountPixels(image, DefaultPaletteColor(0), 60) +
                     editortest::CountPixels(image, DefaultPaletteColor(3), 60);
    EXPECT_GT(bars, 300);
    // The focus look: a diagonal gradient between silver and white inside
    // the raised bevel.
    const int tl = qRed(image.pixel(4, 4)), br = qRed(image.pixel(image.width() - 5, image.height() - 5));
    EXPECT_LT(std::min(tl, br), 0xE8);
    EXPECT_GT(std::max(tl, br), 0xF0);
    EXPECT_NE(ChartTitled(panel, "Line"), nullptr);
    EXPECT_FALSE(ChartTitled(panel, "Line")->HasFocusLook());
}

TEST_F(GalleryTest, SubGalleryPopupChoosesAStyleForTheFocusedChart) {
    TChartGalleryPanel panel;
    panel.resize(480, 360);
    panel.ShowPage("Standard");
    panel.show();
    panel.SelectChart(ChartTitled(panel, "Bar"));
    bool subSelected = false;
    panel.OnSubSelected = [&] { subSelected = true; };
    OnNextModal([&](QWidget* popup) {
        TChartGalleryPanel* sub = panel.SubPanel();
        ASSERT_NE(sub, nullptr);
        EXPECT_GT(sub->Charts().size(), 6u);
        sub->grab().save(QString::fromStdString(editortest::ScreenshotPath("gallery-substyles.png")));
        sub->HandleKey(Qt::Key_Right, Qt::NoModifier);
        sub->HandleKey(Qt::Key_Right, Qt::NoModifier);
        sub->HandleKey(Qt::Key_Return, Qt::NoModifier);
        (void)popup;
    });
    panel.HandleKey(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(subSelected);
    TGalleryChart* bar = ChartTitled(panel, "Bar");
    EXPECT_EQ(bar->Tag(), 2);
    EXPECT_EQ(dynamic_cast<TCustomBarSeries*>(bar->SeriesAt(0))->BarStyle(), bsPyramid);

    // Escape leaves the chart as it was.
    subSelected = false;
    OnNextModal([](QWidget* popup) { QTest::keyClick(popup, Qt::Key_Escape); });
    panel.HandleKey(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(subSelected);
    EXPECT_EQ(bar->Tag(), 2);
}

TEST_F(GalleryTest, SmoothSettingWrittenOnlyWhenChanged) {
    auto stored = [] {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Zivivu Software", "DezAvoze Pro");
        return s.value("Editor/SmoothGallery");
    };
    {
        TChartGalleryPanel panel;
        panel.SetSmooth(true);
        panel.SetSmooth(false);
    }
    EXPECT_FALSE(stored().isValid());
    {
        TChartGalleryPanel panel;
        panel.SetSmooth(true);
    }
    EXPECT_TRUE(stored().toBool());
}

TEST_F(GalleryTest, SmoothChartIsDrawnAndKeepsItsTitle) {
    TChartGalleryPanel panel;
    panel.resize(480, 360);
    panel.SetSmooth(true);
    panel.ShowPage("Standard");
    TGalleryChart* pie = ChartTitled(panel, "Pie");
    ASSERT_TRUE(pie->Smooth());
    const QImage image = pie->grab().toImage();
    EXPECT_TRUE(pie->Title().Visible());
    EXPECT_EQ(pie->MarginTop(), pie->View3D() ? 4 : 5);
    // Navy title text at the top, coloured slices below it.
    EXPECT_GT(editortest::CountPixels(image.copy(0, 0, image.width(), 20), 0x800000, 60), 3);
    // The samples are random, so count saturated pixels of any slice colour.
    int slices = 0;
    for (int y = 20; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int hi = std::max({qRed(p), qGreen(p), qBlue(p)}), lo = std::min({qRed(p), qGreen(p), qBlue(p)});
            if (hi - lo > 80) ++slices;
        }
    EXPECT_GT(slices, 400);
}

TEST_F(GalleryTest, TabbedDialogPutsStandardFirstAndCancelChangesNothing) {
    TChart chart;
    chart.SetView3D(true);
    TChartSeries* line = chart.CreateSeries<TLineSeries>();
    line->AddValue(3);
    line->AddValue(5);
    OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TPlotGallery*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->TabPages()->tabText(0), "Standard");
        EXPECT_EQ(d->TabTypes()->count(), 1);  // functions not offered for a change
        d->CB3D()->setChecked(false);
        d->grab().save(QString::fromStdString(editortest::ScreenshotPath("gallery-dialog.png")));
        QTest::mouseClick(d->BCancel(), Qt::LeftButton);
    });
    TChartSeries* before = line;
    ChangeSeriesTypeFromGallery(nullptr, line);
    EXPECT_EQ(line, before);
    EXPECT_EQ(chart.NumberOfSeries(), 1);
    EXPECT_TRUE(chart.View3D());
    EXPECT_EQ(line->PointCount(), 2);
}

TEST_F(GalleryTest, ChangingTypeKeepsPointsTitleColourNameAndSources) {
    TChart chart;
    TChartSeries* source = chart.CreateSeries<TLineSeries>();
    source->SetName("Source");
    for (double v : {4.0, 8.0, 6.0}) source->AddValue(v);
    TChartSeries* line = chart.CreateSeries<TLineSeries>();
    line->SetName("Sales");
    line->SetTitle("Sales 2026");
    line->SetSeriesColor(0x0000FF);
    line->AddDataSource(source);
    line->RequestDataRefresh();
    ASSERT_EQ(line->PointCount(), 3);

    OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TPlotGallery*>(w);
        ASSERT_NE(d, nullptr);
        TChartGalleryPanel* g = d->Gallery();
        // The current type is pre-selected.
        ASSERT_NE(g->SelectedChart(), nullptr);
        EXPECT_EQ(g->SelectedChart()->Title().Text()[0], "Line");
        g->HandleKey(Qt::Key_Right, Qt::NoModifier);  // Bar
        d->CB3D()->setChecked(false);
        QTest::mouseClick(d->BOk(), Qt::LeftButton);
    });
    TChartSeries* changed = line;
    ChangeSeriesTypeFromGallery(nullptr, changed);
    ASSERT_NE(changed, line);
    ASSERT_NE(dynamic_cast<TBarSeries*>(changed), nullptr);
    EXPECT_EQ(chart.NumberOfSeries(), 2);
    EXPECT_EQ(chart.SeriesAt(1), changed);
    EXPECT_EQ(changed->Name(), "Sales");
    EXPECT_EQ(changed->Title(), "Sales 2026");
    EXPECT_EQ(changed->SeriesColor(), TColor(0x0000FF));
    ASSERT_EQ(changed->DataSources().size(), 1u);
    EXPECT_EQ(changed->DataSources()[0], source);
    ASSERT_EQ(changed->PointCount(), 3);
    EXPECT_EQ(changed->YValues().Value(1), 8.0);
    EXPECT_FALSE(chart.View3D());
}

TEST_F(GalleryTest, SameTypeChosenAgainStillReplacesTheSeries) {
    TChart chart;
    TChartSeries* bar = chart.CreateSeries<TBarSeries>();
    bar->SetName("Costs");
    dynamic_cast<TCustomBarSeries*>(bar)->SetBarWidthPercent(40);
    OnNextModal([](QWidget* w) { QTest::mouseClick(dynamic_cast<TPlotGallery*>(w)->BOk(), Qt::LeftButton); });
    TChartSeries* changed = bar;
    ChangeSeriesTypeFromGallery(nullptr, changed);
    ASSERT_NE(changed, bar);
    EXPECT_EQ(changed->Name(), "Costs");
    EXPECT_EQ(dynamic_cast<TCustomBarSeries*>(changed)->BarWidthPercent(), 40);
}

TEST_F(GalleryTest, ListStyleDialogOpensForNonZeroModeAndListsPlainTypes) {
    SetMode(1);
    TChart chart;
    OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TPlotGalleryForm*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->CBPage()->itemText(0), "(all)");
        EXPECT_EQ(d->CBPage()->currentText(), "Standard");
        ASSERT_GT(d->TypeList()->count(), 5);
        EXPECT_EQ(d->TypeList()->count(), d->TypesChart().NumberOfSeries());
        // Picking "Pie" shows its sub-styles; the third one is chosen.
        const auto items = d->TypeList()->findItems("Pie", Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        d->TypeList()->setCurrentItem(items[0]);
        EXPECT_EQ(d->Gallery()->Charts()[0]->Title().Text()[0], "Normal");
        d->grab().save(QString::fromStdString(editortest::ScreenshotPath("gallery-list-dialog.png")));
        d->Gallery()->HandleKey(Qt::Key_Right, Qt::NoModifier);
        d->Gallery()->HandleKey(Qt::Key_Right, Qt::NoModifier);
        d->Gallery()->HandleKey(Qt::Key_Return, Qt::NoModifier);
    });
    int subIndex = -1;
    TChartSeries* created = CreateSeriesFromGallery(nullptr, nullptr, chart, subIndex, false, true);
    ASSERT_NE(created, nullptr);
    EXPECT_NE(dynamic_cast<TPieSeries*>(created), nullptr);
    EXPECT_EQ(subIndex, 2);
    EXPECT_EQ(dynamic_cast<TPieSeries*>(created)->ExplodeBiggest(), 30);
}

TEST_F(GalleryTest, HooksAreInstalledAndNeedAChart) {
    ASSERT_TRUE(bool(GalleryCreateSeriesHook()));
    ASSERT_TRUE(bool(GalleryChangeSeriesTypeHook()));
    EXPECT_EQ(GalleryCreateSeriesHook()(nullptr, nullptr, nullptr), nullptr);
    TChart chart;
    TChartSeries* line = chart.CreateSeries<TLineSeries>();
    OnNextModal([](QWidget* w) { QTest::mouseClick(dynamic_cast<TPlotGallery*>(w)->BCancel(), Qt::LeftButton); });
    // Cancelled: the series stays, and its class is answered.
    const TSeriesClass* cls = GalleryChangeSeriesTypeHook()(nullptr, line);
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->Name, "TLineSeries");
    EXPECT_EQ(chart.SeriesAt(0), line);
}

}  // namespace
