#include "extras/KitPageControl.h"
#include "extras/KitTreeView.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <map>

using namespace cb::extras;

namespace {

TEST(PageControl, HiddenTabsKeepThePageAndLeaveTheTabOrder) {
    TKitPageControl pages;
    for (const char* name : {"One", "Two", "Three"}) pages.addTab(new QWidget, name);
    pages.SetActivePageIndex(1);
    pages.SetHideAllTabs(true);
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(pages.tabBar()->isTabVisible(i));
    EXPECT_EQ(pages.focusPolicy(), Qt::NoFocus);
    pages.addTab(new QWidget, "Four");  // added later: hidden too
    EXPECT_FALSE(pages.tabBar()->isTabVisible(3));
    pages.SetActivePageIndex(3);
    EXPECT_EQ(pages.ActivePageIndex(), 3);
    pages.SetHideAllTabs(false);
    EXPECT_TRUE(pages.tabBar()->isTabVisible(0));
    EXPECT_EQ(pages.ActivePageIndex(), 3);
}

TEST(PageControl, NextPageSkipsDisabledPages) {
    TKitPageControl pages;
    for (const char* name : {"A", "B", "C"}) pages.addTab(new QWidget, name);
    pages.SetPageEnabled(1, false);
    EXPECT_TRUE(pages.SelectNextPage(true));
    EXPECT_EQ(pages.ActivePageIndex(), 2);
    EXPECT_TRUE(pages.SelectNextPage(false));
    EXPECT_EQ(pages.ActivePageIndex(), 0);
    pages.SetPageEnabled(2, false);
    EXPECT_FALSE(pages.SelectNextPage(true));
    EXPECT_EQ(pages.ActivePageIndex(), 0);
}

TEST(PageControl, ClientBorderWidthMovesThePageEdges) {
    auto pageRect = [](int border) {
        TKitPageControl pages;
        pages.resize(300, 200);
        pages.SetClientBorderWidth(border);
        auto* page = new QWidget;
        pages.addTab(page, "One");
        pages.show();
        QApplication::processEvents();
        return QRect(page->mapTo(&pages, QPoint(0, 0)), page->size());
    };
    const QRect standard = pageRect(4);
    ASSERT_TRUE(standard.isValid());
    for (int border : {0, 2, 6}) {
        const int d = 4 - border;
        EXPECT_EQ(pageRect(border), standard.adjusted(-d, -d, d, d)) << border;
    }
    // Changed while shown, and back.
    TKitPageControl pages;
    pages.resize(300, 200);
    auto* page = new QWidget;
    pages.addTab(page, "One");
    pages.show();
    QApplication::processEvents();
    pages.SetClientBorderWidth(0);
    EXPECT_EQ(QRect(page->mapTo(&pages, QPoint(0, 0)), page->size()), standard.adjusted(-4, -4, 4, 4));
    pages.resize(320, 220);
    QApplication::processEvents();
    EXPECT_EQ(page->width(), standard.width() + 8 + 20);
    pages.SetClientBorderWidth(4);
    EXPECT_EQ(page->width(), standard.width() + 20);
}

TEST(PageControl, OwnerDrawnTabLooks) {
    TKitPageControl pages;
    pages.resize(300, 200);
    for (const char* name : {"First", "Second", "Third"}) pages.addTab(new QWidget, name);
    pages.SetPageEnabled(2, false);
    pages.SetOwnerDraw(true);
    pages.show();
    struct Seen {
        int index;
        bool active, bold;
        cb::gfx::TColor font, brush;
    };
    std::vector<Seen> seen;
    pages.OnDrawTab = [&](TKitPageControl&, int index, const cb::gfx::TRect&, bool active, cb::gfx::TCanvas& c) {
        seen.push_back({index, active, c.Font().Bold(), c.Font().Color(), c.Brush().Color()});
    };
    using namespace cb::gfx;
    struct Case {
        bool shadow;
        std::vector<Seen> looks;
    } cases[] = {
        {false,
         {{0, true, true, clBtnText, clBtnFace},
          {1, false, false, clBtnText, clBtnFace},
          {2, false, false, clGrayText, clBtnFace}}},
        {true,
         {{0, true, false, clBtnText, clBtnFace},
          {1, false, false, clInactiveCaptionText, clActiveCaption},
          {2, false, false, clInactiveCaptionText, clActiveCaption}}},
    };
    for (const Case& c : cases) {
        pages.SetDrawTabShadow(c.shadow);
        seen.clear();
        pages.tabBar()->grab();
        ASSERT_EQ(seen.size(), c.looks.size()) << c.shadow;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].index, c.looks[i].index);
            EXPECT_EQ(seen[i].active, c.looks[i].active);
            EXPECT_EQ(seen[i].bold, c.looks[i].bold) << c.shadow << " tab " << i;
            EXPECT_EQ(seen[i].font, c.looks[i].font) << c.shadow << " tab " << i;
            EXPECT_EQ(seen[i].brush, c.looks[i].brush) << c.shadow << " tab " << i;
        }
    }
    // Drawn by the control itself: the inactive tab's inside in the caption
    // colour, the active one's not.
    pages.OnDrawTab = nullptr;
    const QImage image = pages.tabBar()->grab().toImage();
    auto probe = [&](int tab) {
        const QRect r = pages.tabBar()->tabRect(tab);
        return image.pixelColor(r.left() + 5, r.top() + 5).rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(probe(1), ToQColor(clActiveCaption).rgb() & 0xFFFFFF);
    EXPECT_NE(probe(0), ToQColor(clActiveCaption).rgb() & 0xFFFFFF);
    pages.SetDrawTabShadow(false);
    const QImage plain = pages.tabBar()->grab().toImage();
    const QRect r = pages.tabBar()->tabRect(1);
    EXPECT_EQ(plain.pixelColor(r.left() + 5, r.top() + 5).rgb() & 0xFFFFFF, ToQColor(clBtnFace).rgb() & 0xFFFFFF);
}

TEST(PageControl, HintColourWhileTheMouseIsOver) {
    QWidget form;
    auto* pages = new TKitPageControl(&form);
    pages->addTab(new QWidget, "One");
    pages->SetHintColor(0x00336699);
    std::vector<std::string> events;
    pages->OnMouseEnter = [&](TKitPageControl&) { events.push_back("enter"); };
    pages->OnMouseLeave = [&](TKitPageControl&) { events.push_back("leave"); };
    pages->OnParentColorChange = [&](TKitPageControl&) { events.push_back("parent colour"); };
    form.show();
    const cb::gfx::TColor before = ApplicationHintColor();
    ASSERT_NE(before, 0x00336699u);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(pages, &enter);
    EXPECT_EQ(ApplicationHintColor(), 0x00336699u);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pages, &leave);
    EXPECT_EQ(ApplicationHintColor(), before);
    QPalette p = form.palette();
    p.setColor(form.backgroundRole(), Qt::darkGreen);
    form.setPalette(p);
    form.setPalette(p);  // unchanged: no second event
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave", "parent colour"}));
}

TEST(TreeView, CheckBoxesPerNodeWithoutPropagation) {
    TKitTreeView tree;
    tree.SetCheckboxes(true);
    int object = 7;
    auto* root = tree.AddRootNode("All");
    auto* a = tree.AddChildNode(root, "A", &object);
    auto* b = tree.AddChildNode(root, "B");
    EXPECT_EQ(tree.NodeCount(), 3);
    EXPECT_EQ(tree.Node(1), a);
    EXPECT_EQ(tree.Node(1)->Data(), &object);
    EXPECT_EQ(tree.GetFirstNode(), root);
    EXPECT_FALSE(tree.GetNodeChecked(a));
    tree.SetNodeChecked(root, true);
    EXPECT_TRUE(tree.GetNodeChecked(root));
    EXPECT_FALSE(tree.GetNodeChecked(a));  // each box is its own
    tree.SetNodeChecked(b, true);
    tree.SetNodeChecked(b, false);
    EXPECT_FALSE(tree.GetNodeChecked(b));
    EXPECT_FALSE(tree.GetNodeChecked(nullptr));
}

TEST(TreeView, MultiSelectWithCtrlClicksAndSpace) {
    TKitTreeView tree;
    tree.resize(200, 200);
    auto* a = tree.AddRootNode("A");
    auto* b = tree.AddRootNode("B");
    auto* c = tree.AddRootNode("C");
    EXPECT_EQ(tree.SelectedCount(), -1);
    tree.SetMultiSelect(true);
    int changes = 0;
    tree.OnSelectionChange = [&](TKitTreeView&) { ++changes; };
    tree.show();
    auto at = [&](TKitTreeNode* n) { return tree.visualItemRect(n).center(); };
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at(a));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, at(c));
    EXPECT_EQ(tree.SelectedCount(), 2);
    EXPECT_TRUE(tree.IsSelected(a) && tree.IsSelected(c));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, at(a));
    EXPECT_FALSE(tree.IsSelected(a));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at(b));
    EXPECT_EQ(tree.SelectedCount(), 1);
    EXPECT_TRUE(tree.IsSelected(b));
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Space);
    EXPECT_EQ(tree.SelectedCount(), 0);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.SelectedCount(), 1);
    EXPECT_TRUE(tree.IsSelected(c));
    delete c;
    EXPECT_EQ(tree.SelectedCount(), 0);
    EXPECT_GT(changes, 4);
}

TEST(TreeView, MultiSelectLooksAndCustomDrawing) {
    using namespace cb::gfx;
    QWidget form;
    auto* tree = new TKitTreeView(&form);
    auto* other = new QLineEdit(&form);
    other->move(0, 210);
    tree->resize(200, 200);
    auto* a = tree->AddRootNode("A");
    auto* b = tree->AddRootNode("B");
    auto* c = tree->AddRootNode("C");
    tree->SetMultiSelect(true);
    struct Look {
        TCustomDrawState state = 0;
        TColor font = 0, brush = 0;
        bool underline = false;
    };
    std::map<TKitTreeNode*, Look> seen;
    bool paintOwn = false;
    tree->OnCustomDrawItem = [&](TKitTreeView& t, TKitTreeNode* node, TCustomDrawState state, TCanvas& canvas,
                                 bool& defaultDraw) {
        seen[node] = {state, canvas.Font().Color(), canvas.Brush().Color(), canvas.Font().Underline()};
        if (paintOwn && node == c) {
            canvas.Brush().SetColor(clRed);
            const QRect r = t.visualItemRect(node);
            canvas.FillRect({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
            defaultDraw = false;
        }
    };
    form.resize(220, 240);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    tree->setFocus();
    const TColor text = FromQColor(tree->palette().color(QPalette::Text));
    const TColor base = FromQColor(tree->palette().color(QPalette::Base));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(a).center());
    QTest::mouseMove(tree->viewport(), tree->visualItemRect(b).center());
    EXPECT_EQ(tree->HotNode(), b);
    QImage image = tree->viewport()->grab().toImage();
    EXPECT_EQ(seen[a].state & (cdsSelected | cdsFocused | cdsHot), cdsSelected | cdsFocused);
    EXPECT_EQ(seen[a].font, clHighlightText);
    EXPECT_EQ(seen[a].brush, clHighlight);
    EXPECT_EQ(seen[b].state & (cdsSelected | cdsHot), unsigned(cdsHot));
    EXPECT_TRUE(seen[b].underline);  // hot: underlined
    EXPECT_EQ(seen[b].font, text);
    EXPECT_EQ(seen[b].brush, base);
    EXPECT_FALSE(seen[c].underline);
    const QRect ra = tree->visualItemRect(a);
    // Listed but no longer current (no focus frame): the highlight fill.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, tree->visualItemRect(c).center());
    image = tree->viewport()->grab().toImage();
    EXPECT_EQ(seen[a].state & cdsSelected, 0u);
    EXPECT_EQ(image.pixelColor(ra.right() - 3, ra.center().y()), ToQColor(clHighlight));
    EXPECT_EQ(image.pixelColor(5, ra.center().y()), ToQColor(base));  // branch area

    // Hot and listed: underlined in the highlight look.
    QTest::mouseMove(tree->viewport(), ra.center());
    tree->viewport()->grab();
    EXPECT_TRUE(seen[a].underline);
    EXPECT_EQ(seen[a].font, clHighlightText);

    // Without the focus the listed node shows plain, or grey with
    // HideSelection off.
    other->setFocus();
    ASSERT_FALSE(tree->hasFocus());
    tree->viewport()->grab();
    EXPECT_EQ(seen[a].brush, base);
    tree->SetHideSelection(false);
    tree->viewport()->grab();
    EXPECT_EQ(seen[a].brush, clInactiveBorder);
    EXPECT_EQ(seen[a].font, text);

    // A handler that draws the item itself.
    paintOwn = true;
    image = tree->viewport()->grab().toImage();
    const QRect rc = tree->visualItemRect(c);
    for (int x = rc.left() + 1; x < rc.right(); x += 3)
        ASSERT_EQ(image.pixelColor(x, rc.center().y()), QColor(Qt::red)) << x;
    paintOwn = false;

    // Nodes deleted with their parent, or by clearing, leave the list.
    auto* parent = tree->AddRootNode("P");
    auto* child = tree->AddChildNode(parent, "Q");
    tree->expandAll();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, tree->visualItemRect(child).center());
    ASSERT_TRUE(tree->IsSelected(child));
    const int before = tree->SelectedCount();
    delete parent;
    EXPECT_EQ(tree->SelectedCount(), before - 1);
    tree->clear();
    EXPECT_EQ(tree->SelectedCount(), 0);
}

TEST(TreeView, DragScrollBands) {
    TKitTreeView tree;
    tree.resize(200, 200);
    tree.show();
    struct {
        bool on;
        int y;
        int direction;
    } cases[] = {{true, 0, -1},
                 {true, 19, -1},
                 {true, 20, 0},
                 {true, tree.viewport()->height() - 20, 0},
                 {true, tree.viewport()->height() - 19, 1},
                 {false, 0, 0}};
    for (const auto& c : cases) {
        tree.SetAutoDragScroll(c.on);
        tree.DragOverAt(c.y);
        EXPECT_EQ(tree.DragScrollDirection(), c.direction) << c.y;
    }
    tree.SetAutoDragScroll(true);
    tree.DragOverAt(0);
    tree.DragEnded();
    EXPECT_EQ(tree.DragScrollDirection(), 0);
}

}  // namespace

namespace {

TEST(TreeView, SelectedNodeShowsTheLastPageOfItsCaption) {
    auto* pages = new TKitPageControl;
    for (const char* name : {"Sales", "Cost", "Sales", "Other"}) pages->addTab(new QWidget, name);
    TKitTreeView tree;
    tree.SetPageControl(pages);
    auto* sales = tree.AddRootNode("Sales");
    auto* none = tree.AddRootNode("Profit");
    auto* cost = tree.AddRootNode("Cost");
    std::vector<std::pair<std::string, int>> changes;
    tree.OnPageChanged = [&](TKitTreeView&, TKitTreeNode* node, QWidget* page) {
        changes.emplace_back(node->Text(), pages->indexOf(page));
    };
    tree.SetSelected(sales);
    EXPECT_EQ(pages->currentIndex(), 2);
    tree.SetSelected(none);  // no caption matches: nothing happens
    EXPECT_EQ(pages->currentIndex(), 2);
    tree.SetSelected(cost);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(changes, (std::vector<std::pair<std::string, int>>{{"Sales", 2}, {"Cost", 1}}));
    delete pages;  // the link clears itself
    EXPECT_EQ(tree.PageControl(), nullptr);
    tree.SetSelected(sales);
    EXPECT_EQ(changes.size(), 2u);
}

TEST(TreeView, EditCancelledOnlyWhenTheEditIsAbandoned) {
    TKitTreeView tree;
    auto* node = tree.AddRootNode("Name");
    int cancelled = 0;
    tree.OnEditCancelled = [&](TKitTreeView&) { ++cancelled; };
    tree.show();
    tree.SetSelected(node);
    struct {
        Qt::Key key;
        int cancelled;
        const char* text;
    } cases[] = {{Qt::Key_Escape, 1, "Name"}, {Qt::Key_Return, 1, "Renamed"}};
    for (const auto& c : cases) {
        tree.setFocus();
        QTest::keyClick(&tree, Qt::Key_F2);
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, "Renamed");
        QTest::keyClick(editor, c.key);
        QApplication::processEvents();  // a submitted edit is committed queued
        EXPECT_EQ(cancelled, c.cancelled);
        EXPECT_EQ(node->Text(), c.text);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    tree.SetReadOnly(true);
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_F2);
    EXPECT_EQ(tree.viewport()->findChild<QLineEdit*>(), nullptr);
}

TEST(TreeView, ScrollMouseAndLookEvents) {
    QWidget form;
    auto* tree = new TKitTreeView(&form);
    tree->resize(80, 80);
    for (int i = 0; i < 40; ++i) tree->AddRootNode("A rather long node caption number " + std::to_string(i));
    std::vector<std::string> events;
    for (auto [event, name] :
         {std::pair{&tree->OnVerticalScroll, "vertical"}, std::pair{&tree->OnHorizontalScroll, "horizontal"},
          std::pair{&tree->OnMouseEnter, "enter"}, std::pair{&tree->OnMouseLeave, "leave"},
          std::pair{&tree->OnCtl3DChanged, "3d"}, std::pair{&tree->OnParentColorChange, "parent colour"}})
        *event = [&events, name](TKitTreeView&) { events.push_back(name); };
    form.show();
    QApplication::processEvents();
    events.clear();  // the platform's own enter when shown under the pointer
    tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(events.empty());  // reported after the view moved
    QApplication::processEvents();
    tree->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QApplication::processEvents();
    tree->SetHintColor(0x00112233);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(tree, &enter);
    EXPECT_TRUE(tree->MouseOver());
    EXPECT_EQ(ApplicationHintColor(), 0x00112233u);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tree, &leave);
    EXPECT_FALSE(tree->MouseOver());
    EXPECT_NE(ApplicationHintColor(), 0x00112233u);
    tree->SetCtl3D(false);
    tree->SetCtl3D(false);
    QPalette p = form.palette();
    p.setColor(form.backgroundRole(), Qt::darkRed);
    form.setPalette(p);
    EXPECT_EQ(events, (std::vector<std::string>{"vertical", "horizontal", "enter", "leave", "3d", "parent colour"}));
}

}  // namespace
