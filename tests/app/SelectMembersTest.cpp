// The member selection window: the tree of a dimension's members, ticks
// written back on OK, the checks before accepting, and a tree that is built
// once per opening so that the user's ticks survive a question.
#include "MDXTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/core/cube/CubeModel.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/dialogs/SelectMembersForDisplay.h"
#include "extras/KitTreeView.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace cb::app;
using cb::extras::TKitTreeNode;

namespace {

void Add(TDimension& d, const std::string& caption, int depth, bool selected, const std::string& name) {
    auto m = std::make_unique<TDimensionMember>();
    m->Caption = caption;
    m->Depth = depth;
    m->Selected = selected;
    m->UniqueName = name;
    d.AddMember(std::move(m));
}

// A product dimension as the display manager builds it: the level entry
// first, then the members in hierarchy order.
std::unique_ptr<TDimension> Products() {
    auto d = std::make_unique<TDimension>();
    d->Name = "Product";
    d->UniqueName = "[Product]";
    Add(*d, "(All)", 0, false, "[Product].[(All)]");
    Add(*d, "All", 0, true, "[Product].[All]");
    Add(*d, "Food", 1, true, "[Product].[All].[Food]");
    Add(*d, "Bread", 2, false, "[Product].[All].[Food].[Bread]");
    Add(*d, "Milk", 2, true, "[Product].[All].[Food].[Milk]");
    Add(*d, "Drink", 1, false, "[Product].[All].[Drink]");
    Add(*d, "Tea", 2, false, "[Product].[All].[Drink].[Tea]");
    return d;
}

std::unique_ptr<TDimension> Measures() {
    auto d = std::make_unique<TDimension>();
    d->Name = "Measures";
    d->UniqueName = "[Measures]";
    d->IsMeasures = true;
    d->DimensionType = 2;
    Add(*d, "Revenue", 0, true, "[Measures].[Revenue]");
    Add(*d, "Cost", 0, false, "[Measures].[Cost]");
    Add(*d, "Units", 0, true, "[Measures].[Units]");
    return d;
}

// The window's tree as "caption/parent caption" per node, depth first.
std::vector<std::string> Shape(const cb::extras::TKitTreeView& tree) {
    std::vector<std::string> shape;
    for (int i = 0; i < tree.NodeCount(); ++i) {
        const TKitTreeNode* n = tree.Node(i);
        shape.push_back(n->Text() + "/" + (n->Parent() ? n->Parent()->Text() : std::string("-")));
    }
    return shape;
}

TKitTreeNode* NodeOf(const cb::extras::TKitTreeView& tree, const std::string& caption) {
    for (int i = 0; i < tree.NodeCount(); ++i)
        if (tree.Node(i)->Text() == caption) return tree.Node(i);
    ADD_FAILURE() << "no node " << caption;
    return nullptr;
}

// Runs f once the window is showing modally, then leaves it to f to close it.
void WhenShown(TfrmSelectMembersForDisplay& w, std::function<void()> f) {
    auto* timer = new QTimer(&w);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &w, f] {
        if (QApplication::activeModalWidget() != &w) return;
        timer->stop();
        f();
    });
    timer->start();
}

class SelectMembersTest : public ::testing::Test {
protected:
    cbtest::TTestContext app;
};

TEST_F(SelectMembersTest, BuildsTheTreeByDepthAndWritesTicksBack) {
    auto d = Products();
    Add(*d, "Stray", 5, true, "[Product].[Stray]");  // deeper than any parent
    const TDimensionMember* odd = d->GetMember(d->GetMemberCount() - 1);
    TfrmSelectMembersForDisplay w(app.Context());
    w.SetDimension(d.get());
    w.SetDimensionKey("[Product]");
    w.BuildTree();
    auto& tree = *w.tvDimensionMembers;
    EXPECT_EQ(Shape(tree), (std::vector<std::string>{"Product/-", "All/Product", "Food/All", "Bread/Food", "Milk/Food",
                                                     "Drink/All", "Tea/Drink", "Stray/Tea"}));
    EXPECT_EQ(TfrmSelectMembersForDisplay::NodeMember(tree.GetFirstNode()), d->GetMember(0));
    EXPECT_TRUE(tree.GetNodeChecked(tree.GetFirstNode()));
    EXPECT_TRUE(tree.GetNodeChecked(NodeOf(tree, "Milk")));
    EXPECT_FALSE(tree.GetNodeChecked(NodeOf(tree, "Bread")));
    EXPECT_EQ(w.CountCheckedMembers(), 4);  // All, Food, Milk, Stray
    EXPECT_FALSE(tree.GetFirstNode()->isExpanded());
    EXPECT_EQ(tree.Selected(), tree.GetFirstNode());

    // OK writes every tick back; the root's goes to the first member.
    WhenShown(w, [&] {
        tree.SetNodeChecked(NodeOf(tree, "Bread"), true);
        tree.SetNodeChecked(NodeOf(tree, "Milk"), false);
        QTest::mouseClick(w.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    EXPECT_TRUE(d->GetMember(0)->Selected);
    EXPECT_TRUE(d->FindMember("[Product].[All].[Food].[Bread]")->Selected);
    EXPECT_FALSE(d->FindMember("[Product].[All].[Food].[Milk]")->Selected);
    EXPECT_TRUE(odd->Selected);
}

TEST_F(SelectMembersTest, MeasuresHangUnderARootThatStandsForNoMeasure) {
    auto d = Measures();
    TfrmSelectMembersForDisplay w(app.Context());
    w.SetDimension(d.get());
    w.BuildTree();
    auto& tree = *w.tvDimensionMembers;
    EXPECT_EQ(Shape(tree),
              (std::vector<std::string>{"Measures/-", "Revenue/Measures", "Cost/Measures", "Units/Measures"}));
    EXPECT_EQ(TfrmSelectMembersForDisplay::NodeMember(tree.GetFirstNode()), nullptr);
    // The root's tick does not overwrite the first measure's.
    tree.SetNodeChecked(tree.GetFirstNode(), true);
    tree.SetNodeChecked(NodeOf(tree, "Revenue"), false);
    tree.SetNodeChecked(NodeOf(tree, "Cost"), true);
    w.WriteBack();
    EXPECT_FALSE(d->GetMember(0)->Selected);
    EXPECT_TRUE(d->GetMember(1)->Selected);
}

TEST_F(SelectMembersTest, TicksSurviveTheQuestionAndActivation) {
    auto d = Products();
    TfrmSelectMembersForDisplay w(app.Context());
    w.SetDimension(d.get());
    w.SetDimensionKey("[Product]");
    app.UI.Answer = false;
    WhenShown(w, [&] {
        w.imgUnselectAll->OnClick();
        auto& tree = *w.tvDimensionMembers;
        EXPECT_FALSE(tree.GetNodeChecked(tree.GetFirstNode()));
        // Refused: the window stays with the user's ticks, also after it
        // was activated again.
        QTest::mouseClick(w.btnOK, Qt::LeftButton);
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(app.UI.Questions.size(), 1u);
        EXPECT_EQ(app.UI.Questions[0], "You currently have no members selected for display for the current dimension. "
                                       "Do you wish to continue?");
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&w, &activate);
        w.activateWindow();
        QApplication::processEvents();
        EXPECT_EQ(w.CountCheckedMembers(), 0);
        cbtest::SaveScreenshot(w, "member-selection-none-ticked.png");
        app.UI.Answer = true;
        QTest::mouseClick(w.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    for (int i = 0; i < d->GetMemberCount(); ++i) EXPECT_FALSE(d->GetMember(i)->Selected) << i;

    // The next opening starts again from the members' flags.
    d->GetMember(2)->Selected = true;
    WhenShown(w, [&] {
        EXPECT_EQ(w.CountCheckedMembers(), 1);
        w.imgSelectAll->OnClick();
        EXPECT_EQ(w.CountCheckedMembers(), d->GetMemberCount() - 1);
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(w.exec(), QDialog::Rejected);
    EXPECT_FALSE(d->GetMember(3)->Selected);  // nothing written back
}

TEST_F(SelectMembersTest, AllMeasuresCanNeverBeUnticked) {
    auto d = Measures();
    TfrmSelectMembersForDisplay w(app.Context());
    w.SetDimension(d.get());
    w.BuildTree();
    w.SetAllChecked(false);
    EXPECT_FALSE(w.CanAccept());
    EXPECT_TRUE(app.UI.Questions.empty());
    ASSERT_EQ(app.UI.Informations.size(), 1u);
    EXPECT_EQ(app.UI.Informations[0], "You cannot remove all measures from the display");
}

TEST_F(SelectMembersTest, DimensionWithoutMembersIsRefused) {
    TDimension empty;
    empty.Name = "Nothing";
    TfrmSelectMembersForDisplay w(app.Context());
    w.SetDimension(&empty);
    EXPECT_EQ(w.exec(), QDialog::Rejected);
    ASSERT_EQ(app.UI.Informations.size(), 1u);
    EXPECT_EQ(app.UI.Informations[0], "Invalid dimension name passed. This form will close.");
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
