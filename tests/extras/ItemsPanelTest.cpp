#include "extras/KitItemsPanel.h"

#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace cb::extras;
using cb::gfx::TRect;

namespace {

std::unique_ptr<TKitItemsPanel> makePanel(TKitPanelOrientation o, int count, int itemHeight, int w, int h) {
    auto p = std::make_unique<TKitItemsPanel>();
    p->SetOrientation(o);
    for (int i = 0; i < count; ++i) p->Items().Add("Item " + std::to_string(i));
    p->SetItemHeight(itemHeight);
    p->resize(w, h);
    return p;
}

struct PointCase {
    TKitPanelOrientation orientation;
    int count, itemHeight, width, height;
    int x, y;
    int expected;
};

class ItemAtPointTest : public ::testing::TestWithParam<PointCase> {};

TEST_P(ItemAtPointTest, FindsTheCellUnderThePoint) {
    const PointCase& c = GetParam();
    auto p = makePanel(c.orientation, c.count, c.itemHeight, c.width, c.height);
    EXPECT_EQ(p->ItemAtPoint(c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemAtPointTest,
    ::testing::Values(
        // vertical: 3 items of 20 in a 100 x 100 panel
        PointCase{poVertical, 3, 20, 100, 100, 5, 0, 0}, PointCase{poVertical, 3, 20, 100, 100, 5, 59, 2},
        PointCase{poVertical, 3, 20, 100, 100, 5, 60, -1}, PointCase{poVertical, 3, 20, 100, 100, 5, -1, -1},
        PointCase{poVertical, 3, 20, 100, 100, 99, 10, 0},
        PointCase{poVertical, 3, 20, 100, 100, 100, 10, -1},  // the far edge is outside
        PointCase{poVertical, 3, 20, 100, 100, -1, 10, -1}, PointCase{poVertical, 0, 20, 100, 100, 5, 5, -1},
        PointCase{poVertical, 3, 0, 100, 100, 5, 5, -1}, PointCase{poVertical, 3, -4, 100, 100, 5, 5, -1},
        // horizontal: 3 cells of 50 in a 200 x 40 panel
        PointCase{poHorizontal, 3, 50, 200, 40, 0, 5, 0}, PointCase{poHorizontal, 3, 50, 200, 40, 149, 39, 2},
        PointCase{poHorizontal, 3, 50, 200, 40, 150, 5, -1}, PointCase{poHorizontal, 3, 50, 200, 40, 75, 40, -1},
        PointCase{poHorizontal, 3, 50, 200, 40, 75, -1, -1}, PointCase{poHorizontal, 3, 50, 200, 40, -1, 5, -1}));

TEST(ItemsPanel, ItemRectFollowsTheOrientation) {
    auto v = makePanel(poVertical, 3, 20, 100, 100);
    EXPECT_EQ(v->GetItemRect(1), (TRect{0, 20, 100, 40}));
    EXPECT_EQ(v->GetItemRect(3), TRect{});
    EXPECT_EQ(v->GetItemRect(-1), TRect{});
    auto h = makePanel(poHorizontal, 3, 50, 200, 40);
    EXPECT_EQ(h->GetItemRect(2), (TRect{100, 0, 150, 40}));

    // The panel's own list assigned to it stays whole.
    v->SetItems(v->Items());
    EXPECT_EQ(v->Items().Count(), 3);
    EXPECT_EQ(v->Items()[2], "Item 2");
    // Far cells of huge heights stop at the coordinate limit.
    v->SetItemHeight(1 << 30);
    EXPECT_EQ(v->GetItemRect(2), (TRect{0, INT_MAX, 100, INT_MAX}));
}

struct GrowCase {
    TKitPanelOrientation orientation;
    int count;
    QSize expected;  // from a 120 x 30 panel with cells of 20
};

class AutoGrowTest : public ::testing::TestWithParam<GrowCase> {};

TEST_P(AutoGrowTest, GrowsAlongTheStackingDirection) {
    const GrowCase& c = GetParam();
    auto p = makePanel(c.orientation, c.count, 20, 120, 30);
    p->SetAutoGrow(true);
    EXPECT_EQ(p->size(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoGrowTest,
                         ::testing::Values(GrowCase{poVertical, 5, QSize(120, 100)},
                                           GrowCase{poHorizontal, 5, QSize(100, 30)},
                                           GrowCase{poVertical, 0, QSize(120, 30)},
                                           GrowCase{poHorizontal, 0, QSize(120, 30)}));

TEST(ItemsPanel, AutoGrowFollowsItemsAndSwitchesAutoSizeOff) {
    auto p = makePanel(poVertical, 2, 20, 120, 30);
    p->SetAutoSize(true);
    p->SetAutoGrow(true);
    EXPECT_FALSE(p->AutoSize());
    cb::rtl::TStringList items{"a", "b", "c", "d"};
    p->SetItems(items);
    EXPECT_EQ(p->height(), 40);  // AutoSize left cells of 30 div 3

    p->SetItemHeight(25);
    EXPECT_EQ(p->height(), 100);
    // A horizontal panel now grows wider and gives the height back.
    p->SetOrientation(poHorizontal);
    EXPECT_EQ(p->width(), 100);
    EXPECT_EQ(p->maximumHeight(), QWIDGETSIZE_MAX);
}

TEST(ItemsPanel, AutoGrowHoldsInALayoutWithoutFighting) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new TKitItemsPanel;
    for (const char* s : {"a", "b", "c"}) panel->Items().Add(s);
    panel->SetItemHeight(20);
    panel->SetAutoGrow(true);
    layout->addWidget(panel);
    layout->addStretch();
    host.resize(150, 300);
    host.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->height(), 60);
    host.resize(170, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->height(), 60);
    EXPECT_EQ(panel->width(), 170);
}

struct SizeCase {
    TKitPanelOrientation orientation;
    int width, height, count;
    int onSwitch;    // ItemHeight right after AutoSize goes on
    int afterPaint;  // ItemHeight after a paint
};

class AutoSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(AutoSizeTest, SpreadsTheCellsOverThePanel) {
    const SizeCase& c = GetParam();
    auto p = makePanel(c.orientation, c.count, 16, c.width, c.height);
    p->SetAutoSize(true);
    EXPECT_EQ(p->ItemHeight(), c.onSwitch);
    p->grab();
    EXPECT_EQ(p->ItemHeight(), c.afterPaint);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoSizeTest,
                         ::testing::Values(SizeCase{poVertical, 80, 100, 3, 25, 33},
                                           SizeCase{poHorizontal, 100, 30, 3, 25, 33},
                                           SizeCase{poVertical, 80, 100, 0, 100, 100}));

TEST(ItemsPanel, AutoSizeLastCellReachesTheFarEdge) {
    auto p = makePanel(poVertical, 3, 16, 80, 100);
    p->SetColor(cb::gfx::clWhite);
    p->SetAutoSize(true);
    const QImage img = p->grab().toImage();
    // Cell frames: shadow on the last row of each cell; the last cell's
    // bottom line sits on row 99, not 98.
    const QColor shadow = QColor(img.pixel(40, 32));
    EXPECT_NE(shadow, QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(40, 99)), shadow);
    EXPECT_EQ(QColor(img.pixel(40, 98)), QColor(Qt::white));
}

TEST(ItemsPanel, ClickReportsTheCellUnderTheRelease) {
    auto p = makePanel(poVertical, 3, 20, 100, 100);
    std::vector<int> clicks;
    p->OnItemClick = [&](TKitItemsPanel&, int i) { clicks.push_back(i); };
    p->show();
    QTest::mousePress(p.get(), Qt::LeftButton, {}, QPoint(10, 30));
    QTest::mouseMove(p.get(), QPoint(10, 50));
    QTest::mouseRelease(p.get(), Qt::LeftButton, {}, QPoint(10, 50));
    QTest::mousePress(p.get(), Qt::LeftButton, {}, QPoint(10, 30));
    QTest::mouseRelease(p.get(), Qt::LeftButton, {}, QPoint(10, 90));  // below the cells
    QTest::mouseClick(p.get(), Qt::RightButton, {}, QPoint(10, 5));    // not a press of ours
    p->SetClickable(false);
    QTest::mouseClick(p.get(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(clicks, (std::vector<int>{2, 0}));
}

TEST(ItemsPanel, HotLookLeavesWithTheMouse) {
    auto p = makePanel(poVertical, 2, 20, 100, 40);
    p->SetColor(cb::gfx::clWhite);
    p->SetHotTrack(true);
    p->SetHotTrackColor(cb::gfx::clRed);
    p->Items().SetStrings(0, "WWWWWWWW");
    p->SetAlignment(taLeftJustify);
    p->show();
    auto redInk = [&]() {
        const QImage img = p->grab().toImage();
        for (int y = 2; y < 18; ++y)
            for (int x = 2; x < 90; ++x) {
                const QColor c = img.pixel(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80) return true;
            }
        return false;
    };
    EXPECT_FALSE(redInk());
    QTest::mouseMove(p.get(), QPoint(10, 10));
    EXPECT_TRUE(redInk());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(p.get(), &leave);
    EXPECT_FALSE(redInk());
}

TEST(ItemsPanel, DragDataNamesTheSource) {
    auto p = makePanel(poVertical, 2, 20, 100, 40);
    p->setObjectName("ipDimensions");
    std::unique_ptr<QMimeData> mime(p->CreateDragData(1));
    ASSERT_TRUE(mime);
    TKitItemsPanelDragData d;
    ASSERT_TRUE(DecodeItemsPanelDrag(mime.get(), d));
    EXPECT_EQ(d.SourceName, "ipDimensions");
    EXPECT_EQ(d.ItemIndex, 1);
    EXPECT_EQ(d.ItemText, "Item 1");
    EXPECT_EQ(p->CreateDragData(2), nullptr);

    for (const char* bad : {"", "{", "[1]", R"({"source":"x","index":-1,"text":"t"})",
                            R"({"source":"x","index":1.5,"text":"t"})", R"({"source":3,"index":1,"text":"t"})"}) {
        QMimeData m;
        m.setData(ItemsPanelMimeType(), QByteArray(bad));
        EXPECT_FALSE(DecodeItemsPanelDrag(&m, d)) << bad;
    }
    QMimeData plain;
    plain.setText("Item 1");
    EXPECT_FALSE(DecodeItemsPanelDrag(&plain, d));
}

}  // namespace
