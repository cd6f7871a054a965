#include "extras/KitPageControl.h"
#include "extras/KitTreeView.h"

#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cb::extras;

namespace {

TEST(PageControl, HiddenTabsKeepThePageAndLeaveTheTabOrder) {
    TKitPageControl pages;
    for (const char* name : {"One", "Two", "Three"})
        pages.addTab(new QWidget, name);
    pages.SetActivePageIndex(1);
    pages.SetHideAllTabs(true);
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(pages.tabBar()->isTabVisible(i));
    EXPECT_EQ(pages.focusPolicy(), Qt::NoFocus);
    pages.addTab(new QWidget, "Four"); // added later: hidden too
    EXPECT_FALSE(pages.tabBar()->isTabVisible(3));
    pages.SetActivePageIndex(3);
    EXPECT_EQ(pages.ActivePageIndex(), 3);
    pages.SetHideAllTabs(false);
    EXPECT_TRUE(pages.tabBar()->isTabVisible(0));
    EXPECT_EQ(pages.ActivePageIndex(), 3);
}

TEST(PageControl, NextPageSkipsDisabledPages) {
    TKitPageControl pages;
    for (const char* name : {"A", "B", "C"})
        pages.addTab(new QWidget, name);
    pages.SetPageEnabled(1, false);
    EXPECT_TRUE(pages.SelectNextPage(true));
    EXPECT_EQ(pages.ActivePageIndex(), 2);
    EXPECT_TRUE(pages.SelectNextPage(false));
    EXPECT_EQ(pages.ActivePageIndex(), 0);
    pages.SetPageEnabled(2, false);
    EXPECT_FALSE(pages.SelectNextPage(true));
    EXPECT_EQ(pages.ActivePageIndex(), 0);
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
    EXPECT_FALSE(tree.GetNodeChecked(a)); // each box is its own
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

TEST(TreeView, DragScrollBands) {
    TKitTreeView tree;
    tree.resize(200, 200);
    tree.show();
    struct { bool on; int y; int direction; } cases[] = {
        {true, 0, -1}, {true, 19, -1}, {true, 20, 0}, {true, tree.viewport()->height() - 20, 0},
        {true, tree.viewport()->height() - 19, 1}, {false, 0, 0}};
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

} // namespace
