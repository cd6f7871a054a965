#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "tests/common/ModalSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cb::chart;

namespace {

TEST(HitTest, PointOnSegment) {
    struct Case {
        TPoint p;
        int tolerance;
        bool on;
    };
    for (const Case c : {Case{{5, 0}, 0, true}, Case{{5, 1}, 0, false}, Case{{12, 0}, 0, false}, Case{{12, 0}, 3, true},
                         Case{{14, 0}, 3, false}, Case{{0, 0}, 0, true}, Case{{-1, 0}, 0, false}})
        EXPECT_EQ(PointOnSegment(c.p, 0, 0, 10, 0, c.tolerance), c.on) << c.p.X << "," << c.p.Y << " t" << c.tolerance;
    EXPECT_TRUE(PointOnSegmentBetween({5, 5}, {0, 0}, {10, 10}));
    EXPECT_FALSE(PointOnSegmentBetween({5, 7}, {0, 0}, {10, 10}));
}

TEST(HitTest, Shapes) {
    const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        const char* what;
        bool got;
        bool want;
    };
    const Case cases[] = {
        {"inside square", PolygonContainsPoint({5, 5}, square), true},
        {"outside square", PolygonContainsPoint({15, 5}, square), false},
        {"no points", PolygonContainsPoint({0, 0}, square.data(), -1), false},
        {"triangle apex region", TriangleContainsPoint({10, 5}, 0, 20, 20, 0), true},
        {"triangle corner", TriangleContainsPoint({1, 2}, 0, 20, 20, 0), false},
        {"side triangle", SideTriangleContainsPoint({5, 10}, 0, 20, 0, 20), true},
        {"side triangle out", SideTriangleContainsPoint({18, 1}, 0, 20, 0, 20), false},
        {"ellipse centre", EllipseContainsPoint({10, 5}, 0, 0, 20, 10), true},
        {"ellipse corner", EllipseContainsPoint({1, 1}, 0, 0, 20, 10), false},
        {"zero-width ellipse", EllipseContainsPoint({0, 5}, 0, 0, 0, 10), false},
        {"ellipse rect", EllipseRectContainsPoint({10, 9}, {0, 0, 20, 20}), true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(Geometry, ConvexHullDropsInnerPoints) {
    std::vector<TPoint> pts = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
    ASSERT_TRUE(ConvexHull(pts));
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_EQ(pts.back(), (TPoint{10, 0}));
    for (const TPoint& corner : {TPoint{0, 0}, TPoint{10, 10}, TPoint{0, 10}})
        EXPECT_NE(std::find(pts.begin(), pts.end(), corner), pts.end());

    std::vector<TPoint> two = {{0, 0}, {1, 1}};
    EXPECT_FALSE(ConvexHull(two));
    EXPECT_EQ(two.size(), 2u);
    std::vector<TPoint> three = {{0, 0}, {5, 5}, {1, 9}};
    EXPECT_TRUE(ConvexHull(three));
    EXPECT_EQ(three[1], (TPoint{5, 5}));

    std::vector<TPoint> octagon = {{3, 0}, {6, 0}, {9, 3}, {9, 6}, {6, 9}, {3, 9}, {0, 6}, {0, 3}, {4, 4}, {5, 6}};
    ASSERT_TRUE(ConvexHull(octagon));
    EXPECT_EQ(octagon.size(), 8u);
}

TEST(Geometry, SmallHelpers) {
    EXPECT_EQ(MovePointBack({0, 0}, {0, 10}, 3), (TPoint{0, 7}));
    EXPECT_EQ(MovePointBack({0, 10}, {0, 0}, 3), (TPoint{0, 3}));
    EXPECT_EQ(MovePointBack({0, 0}, {10, 0}, 4), (TPoint{6, 0}));
    EXPECT_EQ(RectCenter({-3, -3, 0, 0}), (TPoint{-1, -1}));
    EXPECT_TRUE(RectContainsPoint({0, 0, 10, 10}, 10, 10));
    EXPECT_EQ(NormalizeRect({10, 10, 0, 0}), (TRect{0, 0, 10, 10}));
    const TPoint tri[3] = {{0, 0}, {5, 9}, {2, 3}};
    EXPECT_EQ(PolygonBounds(tri, 3), (TRect{0, 0, 6, 10}));
    EXPECT_EQ(DarkenColor(0x7F7F7F, 128), 0u);
    EXPECT_EQ(LightenColor(0xF0F0F0, 32), 0xFFFFFFu);
    EXPECT_EQ(LightenColor(0x101010, 32), 0x303030u);
}

TEST(Dates, RoundAndStep) {
    const TDateTime v = EncodeDate(1999, 3, 17) + EncodeTime(13, 0, 0, 0);
    EXPECT_EQ(RoundDateToStep(dtHalfMonth, v), EncodeDate(1999, 3, 15));
    EXPECT_EQ(RoundDateToStep(dtOneYear, v), EncodeDate(1999, 1, 1));
    EXPECT_EQ(RoundDateToStep(dtThreeMonths, v), EncodeDate(1999, 3, 1));
    EXPECT_EQ(RoundDateToStep(dtHalfMonth, EncodeDate(1899, 12, 31)), EncodeDate(1899, 12, 31));

    struct Case {
        TDateTime from;
        bool up;
        int step;
        TDateTime to;
    };
    const Case cases[] = {
        {EncodeDate(2001, 1, 20), false, dtOneMonth, EncodeDate(2000, 12, 1)},
        {EncodeDate(2001, 11, 5), true, dtThreeMonths, EncodeDate(2002, 2, 1)},
        {EncodeDate(2001, 3, 20), false, dtHalfMonth, EncodeDate(2001, 3, 15)},
        {EncodeDate(2001, 3, 1), false, dtHalfMonth, EncodeDate(2001, 2, 15)},
        {EncodeDate(2001, 3, 10), true, dtHalfMonth, EncodeDate(2001, 3, 15)},
        {EncodeDate(2001, 3, 15), true, dtHalfMonth, EncodeDate(2001, 4, 1)},
        {EncodeDate(2004, 2, 29), true, dtOneYear, EncodeDate(2005, 2, 28)},
    };
    for (const Case& c : cases) {
        TDateTime v2 = c.from;
        StepDateTime(true, c.up, v2, c.step, 0);
        EXPECT_EQ(v2, c.to) << c.step;
    }
    TDateTime plain = 100.5;
    StepDateTime(false, true, plain, dtOneMonth, 2);
    EXPECT_EQ(plain, 102.5);
    EXPECT_EQ(DateTimeStepIndex(1.0), 16);
    EXPECT_EQ(DateTimeStepIndex(4.0), 27);
    EXPECT_EQ(NextDateTimeStep(1.0), 2.0);
    EXPECT_EQ(NextDateTimeStep(200.0), 365.0);
}

TEST(Dates, FormatForStepIsAPictureOfOurOwn) {
    cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings();
    const cb::rtl::TFormatSettings keep = fs;
    fs.ShortDateFormat = "yyyy-mm-dd";
    fs.ShortTimeFormat = "hh.nn";
    const TDateTime v = EncodeDate(2024, 5, 1) + EncodeTime(18, 30, 0, 0);
    struct Case {
        double step;
        const char* text;
    };
    const Case cases[] = {{365, "2024-05-01"}, {1.5, "2024-05-01"}, {1, "18.30"}, {1.0 / 24, "18.30"}, {0, "18.30"}};
    for (const Case& c : cases) EXPECT_EQ(cb::rtl::FormatDateTime(DateTimeFormatForStep(c.step), v), c.text) << c.step;
    fs = keep;
}

TEST(Sort, CallbacksSortTheRange) {
    std::vector<int> v = {9, 3, 7, 1, 8, 2, 2, 6, 5, 4, 0};
    SortWithCallbacks(
        1, int(v.size()) - 2, [&](int a, int b) { return v[a] - v[b]; }, [&](int a, int b) { std::swap(v[a], v[b]); });
    EXPECT_EQ(v, (std::vector<int>{9, 1, 2, 2, 3, 4, 5, 6, 7, 8, 0}));
}

TEST(Texts, Fields) {
    EXPECT_EQ(CountSeparatedFields("a;b;c"), 3);
    EXPECT_EQ(CountSeparatedFields(""), 0);
    EXPECT_EQ(CountSeparatedFields("abc"), 1);
    EXPECT_EQ(ExtractFieldWithSeparator("a|b|c", 2, '|'), "b");
    EXPECT_EQ(ExtractFieldWithSeparator("a|b|c", 5, '|'), "c");
    EXPECT_EQ(ExtractFieldWithSeparator("a|b|c", 0, '|'), "");
    EXPECT_EQ(ExtractSeparatedField("x;y", 1), "x");
    EXPECT_EQ(ReplaceOrRemoveChar("a,b,c", ',', '\0'), "abc");
    EXPECT_EQ(ReplaceOrRemoveChar("a,b,c", ',', '-'), "a-b-c");
    EXPECT_EQ(NumberTextToLocal("1,234.5", '.', ','), "1.234,5");
    EXPECT_EQ(NumberTextToInvariant("1.234,5", '.', ','), "1,234.5");
    const std::vector<std::string> names = {"Series1", "Series3"};
    auto exists = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    EXPECT_EQ(MakeUniqueComponentName(exists, "Series"), "Series2");
    EXPECT_EQ(MakeUniqueComponentName({}, "Series"), "Series1");
    EXPECT_EQ(DefaultPaletteColor(0), 0x0000FFu);
    EXPECT_EQ(DefaultPaletteColor(21), 0x008000u);
}

TEST(Texts, EngineTexts) {
    EXPECT_EQ(FormatPlotText(TPlotText::msgSeriesDelete, {"5", "2"}),
              "Series Delete: ValueIndex 5 out of bounds (0 to 2).");
    EXPECT_EQ(FormatPlotText(TPlotText::msg3DPercent, {"1", "100"}), "3D effect percent must be between 1 and 100");
    EXPECT_EQ(PlotText(TPlotText::txtChartFileFilter), "DezAvoze files (*.dza)|*.dza");
    EXPECT_EQ(PlotText(TPlotText::txtWrongFileFormat), "Wrong *.dza file format");
    EXPECT_EQ(PlotText(TPlotText::txtGalleryHorizBar), "Horizontal\rBar");
    const std::string keep = PlotText(TPlotText::txtOther);
    SetPlotText(TPlotText::txtOther, "Rest");
    EXPECT_EQ(PlotText(TPlotText::txtOther), "Rest");
    SetPlotText(TPlotText::txtOther, keep);
    const ChartException e(FormatPlotText(TPlotText::msgNoValidDataSource, {"Series1"}));
    EXPECT_EQ(e.Message(), "No valid DataSource: Series1");
}

}  // namespace

#include "chart/core/PlotExportData.h"
#include "tests/common/TestSupport.h"

namespace {

struct FixedExport : cb::chart::TPlotExportData {
    std::string BuildText() override { return "a;b\r\n1;2"; }
};

TEST(ExportData, FileAndBadPath) {
    cbtest::TempDir dir;
    FixedExport e;
    e.SaveTextToFile(dir.file("data.csv"));
    EXPECT_EQ(cbtest::readFile(dir.file("data.csv")), "a;b\r\n1;2");
    EXPECT_THROW(e.SaveTextToFile(dir.file("missing/data.csv")), cb::rtl::EInOutError);
}

// The engine's error box shows its text as written: a series' or a file's
// words may look like mark-up.
TEST(EngineError, BoxShowsMarkUpAsText) {
    const std::string text = "Cannot read <b>Sales</b> <a href=\"mailto:a@b\">here</a>";
    cbtest::TShownBox box;
    cbtest::CloseNextMessageBox(box);
    ShowEngineError(text);
    EXPECT_EQ(box.Format, Qt::PlainText);
    EXPECT_EQ(box.Text, text);
}

}  // namespace
