// The grid view over the sample cube: drops from the left menu (and only
// those), header drags, double clicks, the pop-up menu, highlighting, the
// summary window and the member selection, driven with the mouse.
#include "app/ui/views/GridDisplay.h"
#include "MDXTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/core/settings/Config.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/theme/GridViewImages.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/views/CurrentViewTextDisplay.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/dialogs/SelectMembersForDisplay.h"
#include "extras/HelpHook.h"
#include "extras/HelpWindow.h"
#include "extras/KitItemsPanel.h"
#include "extras/KitTreeView.h"
#include "grid/ExtStringGrid.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::app;

namespace {

using cbtest::OnNextModal;

class GridDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The program's grid themes, so that the pictures look as in the program.
        std::filesystem::copy_file(std::string(CB_BIN_DIR) + "/themes.ini", app.Dir().file("themes.ini"));
        config = std::make_unique<TCubeBrowserConfig>(app.Dir().file("app.ini"), app.Dir().path().string());
        app.Config = config.get();
        connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), app.Context());
        dm = std::make_unique<TDisplayManager>(app.Context(), std::make_unique<TMDXDisplayManager>(app.Context()));
        view = std::make_unique<TfrmGridDisplay>(nullptr, dm.get(), app.Context());
        view->ApplyTheme(&theme);
        view->resize(700, 400);
        dm->OpenCube(connection.get(), view->gridDisplay, nullptr);
        // The left menu's dimension list, as a drag comes from it.
        menuList.setObjectName("ipDimensions");
        cb::rtl::TStringList items;
        items.Add("Product");
        items.Add("    Category");
        menuList.SetItems(items);
        product.Kind = dokDimension;
        product.UniqueName = "[Product]";
        category.Kind = dokLevel;
        category.UniqueName = "[Product].[Category]";
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    void TearDown() override { dm->SetDragSource(nullptr); }

    cb::grid::TExtStringGrid& Grid() { return *view->gridDisplay; }
    const TMDXBuilder& Builder() { return dm->GetBuilder(); }
    std::string Key(int col, int row) { return dm->GetCellKey(col, row); }
    QPoint Centre(int col, int row) {
        const auto r = Grid().CellRect(col, row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The first cell whose key satisfies the test.
    template <class F>
    std::pair<int, int> FindCell(F test) {
        for (int r = 0; r < Grid().RowCount(); ++r)
            for (int c = 0; c < Grid().ColCount(); ++c)
                if (test(Key(c, r))) return {c, r};
        ADD_FAILURE() << "no such cell";
        return {-1, -1};
    }
    std::pair<int, int> Cell(const std::string& key) {
        return FindCell([&](const std::string& k) { return k == key; });
    }
    static bool Drop(QWidget* target, const QMimeData* data, QPoint at) { return cbtest::SendDrop(target, data, at); }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (int r = 0; r < Grid().RowCount(); ++r)
            for (int c = 0; c < Grid().ColCount(); ++c) texts.push_back(Grid().Cells(c, r));
        return texts;
    }
    void Shot(const std::string& name) {
        QApplication::processEvents();
        const auto dir = std::filesystem::path(CB_BIN_DIR).parent_path() / "screenshots";
        std::filesystem::create_directories(dir);
        view->grab().save(QString::fromStdString((dir / ("grid-view-" + name + ".png")).string()));
    }

    cbtest::TTestContext app;
    TTheme theme;
    std::unique_ptr<TCubeBrowserConfig> config;
    std::unique_ptr<TMSOLAPConnection> connection;
    std::unique_ptr<TDisplayManager> dm;
    std::unique_ptr<TfrmGridDisplay> view;
    cb::extras::TKitItemsPanel menuList;
    TDimensionObject product, category;
};

bool Holds(const TTextList& list, const std::string& text) {
    for (const auto& e : list)
        if (e.find(text) != std::string::npos) return true;
    return false;
}

TEST_F(GridDisplayTest, TakesDimensionsOfTheLeftMenuAboveTheGridForColumnsBelowForRows) {
    std::unique_ptr<QMimeData> data(menuList.CreateDragData(0));
    // Without the left menu's drag source nothing is taken.
    EXPECT_FALSE(Drop(view->gridDisplay, data.get(), QPoint(30, 60)));
    EXPECT_FALSE(Holds(Builder().Rows, "[Product]"));

    // A drop in the grid's top strip (above the grid's top within the view)
    // goes to the columns; lower down, to the rows.
    ASSERT_EQ(view->gridDisplay->y(), 26);
    EXPECT_EQ(Grid().GridImages, &GridViewImages());
    std::string queries;
    dm->OnQuery = [&](const std::string& mdx) { queries += mdx + "\n"; };
    dm->SetDragSource(&product);
    EXPECT_TRUE(Drop(view->gridDisplay, data.get(), QPoint(30, 10)));
    EXPECT_NE(queries.find("[Product].Levels(0).members"), std::string::npos) << queries;
    EXPECT_TRUE(Holds(Builder().Columns, "[Product]"));
    dm->SetDragSource(&category);
    std::unique_ptr<QMimeData> level(menuList.CreateDragData(1));
    EXPECT_TRUE(Drop(view->gridDisplay, level.get(), QPoint(30, 60)));
    EXPECT_NE(queries.find("AddCalculatedMembers([Product].[Category].members)"), std::string::npos) << queries;
    EXPECT_TRUE(Holds(Builder().Rows, "[Product]"));
    EXPECT_FALSE(Holds(Builder().Columns, "[Product]"));
    Shot("dropped-to-rows");

    // The view's header strip is above the grid too.
    dm->SetDragSource(&product);
    EXPECT_TRUE(Drop(view.get(), data.get(), QPoint(400, 12)));
    EXPECT_TRUE(Holds(Builder().Columns, "[Product]"));
}

TEST_F(GridDisplayTest, RefusesFileTextAndForeignDropsAndKeepsItsCells) {
    const auto before = Texts();
    const auto rows = Builder().Rows;
    dm->SetDragSource(&product);
    QMimeData text;
    text.setText("x\ty\nz");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/some.csv")});
    // An item of another panel, and the grid's own header drag.
    cb::extras::TKitItemsPanel other;
    other.setObjectName("ipOther");
    cb::rtl::TStringList items;
    items.Add("Product");
    other.SetItems(items);
    std::unique_ptr<QMimeData> foreign(other.CreateDragData(0));
    QMimeData header;
    header.setData(kGridHeaderMimeType, "[Customer]");
    for (const QMimeData* data : std::vector<const QMimeData*>{&text, &files, foreign.get(), &header}) {
        EXPECT_FALSE(Drop(view->gridDisplay, data, Centre(1, 2)));
        EXPECT_FALSE(Drop(view.get(), data, QPoint(400, 12)));
    }
    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(Builder().Rows, rows);
}

TEST_F(GridDisplayTest, HeaderDragItemIsFreedHoweverThePressEnds) {
    const auto [col, row] = Cell("[Customer].[All]");
    // A press prepares a drag of the header; a release without a move frees it.
    QTest::mousePress(view->gridDisplay, Qt::LeftButton, {}, Centre(col, row));
    ASSERT_NE(view->HeaderDragItem(), nullptr);
    EXPECT_EQ(view->HeaderDragItem()->Kind, dokGridHeader);
    EXPECT_EQ(view->HeaderDragItem()->UniqueName, "[Customer].[All]");
    EXPECT_EQ(dm->GetDragSource(), view->HeaderDragItem());
    QTest::mouseRelease(view->gridDisplay, Qt::LeftButton, {}, Centre(col, row));
    EXPECT_EQ(view->HeaderDragItem(), nullptr);
    EXPECT_EQ(dm->GetDragSource(), nullptr);

    // A drag that starts and ends (here refused at once) frees it too.
    QTest::mousePress(view->gridDisplay, Qt::LeftButton, {}, Centre(col, row));
    ASSERT_NE(view->HeaderDragItem(), nullptr);
    QTest::mouseMove(view->gridDisplay, Centre(col, row) + QPoint(40, 30));
    EXPECT_EQ(view->HeaderDragItem(), nullptr);
    EXPECT_EQ(dm->GetDragSource(), nullptr);
    QTest::mouseRelease(view->gridDisplay, Qt::LeftButton, {}, Centre(col, row) + QPoint(40, 30));

    // A data cell starts nothing.
    const auto [dc, dr] = Cell("d");
    QTest::mousePress(view->gridDisplay, Qt::LeftButton, {}, Centre(dc, dr));
    EXPECT_EQ(view->HeaderDragItem(), nullptr);
    EXPECT_EQ(dm->GetDragSource(), nullptr);
    QTest::mouseRelease(view->gridDisplay, Qt::LeftButton, {}, Centre(dc, dr));
}

TEST_F(GridDisplayTest, DoubleClicksDrillCollapseOrOpenTheMemberSelection) {
    const int rows = Grid().RowCount();
    // The top-left cell and a data cell do nothing.
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(0, 0));
    const auto [dc, dr] = Cell("d");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(dc, dr));
    EXPECT_EQ(Grid().RowCount(), rows);
    EXPECT_FALSE(dm->CanUndo());

    // A member caption drills into the member, and back.
    const auto [mc, mr] = Cell("[Customer].[All]");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(mc, mr));
    EXPECT_GT(Grid().RowCount(), rows);
    EXPECT_EQ(view->HeaderDragItem(), nullptr);
    Shot("drilled");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(mc, mr));
    EXPECT_EQ(Grid().RowCount(), rows);

    // A dimension's name opens the member selection of that dimension.
    std::string shown;
    OnNextModal<TfrmSelectMembersForDisplay>([&](TfrmSelectMembersForDisplay* w) {
        shown = w->DimensionKey();
        QTest::mouseClick(w->btnCancel, Qt::LeftButton);
    });
    const auto [nc, nr] = Cell("[Measures]");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(nc, nr));
    EXPECT_EQ(shown, "[Measures]");
    EXPECT_EQ(Grid().Col(), nc);
    EXPECT_EQ(Builder().Measures.size(), 1u);
}

TEST_F(GridDisplayTest, MemberSelectionChangesTheAxesAsOneStep) {
    dm->AddToAxis("[Product].[All].Children", axColumns, true);
    dm->ClearUndoRedo();
    const size_t columns = dm->GetCellset()->Axes().Item(0)->Positions().Count();

    // Products: untick one category.
    std::string unticked;
    OnNextModal<TfrmSelectMembersForDisplay>([&](TfrmSelectMembersForDisplay* w) {
        auto* tree = w->tvDimensionMembers;
        auto* all = tree->GetFirstNode()->Item(0);
        ASSERT_NE(all, nullptr);
        EXPECT_TRUE(tree->GetNodeChecked(all->Item(0)));
        tree->SetNodeChecked(all->Item(0), false);
        unticked = TfrmSelectMembersForDisplay::NodeMember(all->Item(0))->UniqueName;
        QTest::mouseClick(w->btnOK, Qt::LeftButton);
    });
    const auto [pc, pr] = Cell("[Product]");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(pc, pr));
    ASSERT_FALSE(unticked.empty());
    EXPECT_FALSE(Holds(Builder().Columns, unticked));
    EXPECT_EQ(size_t(dm->GetCellset()->Axes().Item(0)->Positions().Count()), columns - 1);
    Shot("members-selected");
    dm->Undo();
    EXPECT_EQ(size_t(dm->GetCellset()->Axes().Item(0)->Positions().Count()), columns);

    // Measures: a second one ticked, with the view's events raised.
    int measuresChanged = 0, cubeReset = 0;
    dm->OnMeasuresChanged = [&] { ++measuresChanged; };
    dm->OnCubeReset = [&] { ++cubeReset; };
    OnNextModal<TfrmSelectMembersForDisplay>([](TfrmSelectMembersForDisplay* w) {
        w->tvDimensionMembers->SetNodeChecked(w->tvDimensionMembers->GetFirstNode()->Item(1), true);
        QTest::mouseClick(w->btnOK, Qt::LeftButton);
    });
    const auto [mc, mr] = Cell("[Measures]");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(mc, mr));
    EXPECT_EQ(Builder().Measures.size(), 2u);
    EXPECT_EQ(measuresChanged, 1);
    EXPECT_EQ(cubeReset, 1);
    dm->Undo();
    EXPECT_EQ(Builder().Measures.size(), 1u);
}

TEST_F(GridDisplayTest, LargeDimensionAsksBeforeTheMemberSelection) {
    // Customer has every city of the sample: more than 2500 members.
    ASSERT_GT(dm->BuildDimension("[Customer]")->GetMemberCount(), kLargeDimensionMembers);
    ASSERT_LE(dm->BuildDimension("[Product]")->GetMemberCount(), kLargeDimensionMembers);
    app.UI.Answer = false;
    const auto [cc, cr] = Cell("[Customer]");
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(cc, cr));
    ASSERT_EQ(app.UI.Questions.size(), 1u);
    EXPECT_EQ(app.UI.Questions[0].rfind("Due to the number of members within this dimension", 0), 0u);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    app.UI.Answer = true;
    bool opened = false;
    OnNextModal<TfrmSelectMembersForDisplay>([&](TfrmSelectMembersForDisplay* w) {
        opened = true;
        w->close();
    });
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(cc, cr));
    EXPECT_TRUE(opened);
    EXPECT_EQ(app.UI.Questions.size(), 2u);
}

TEST_F(GridDisplayTest, PopupMenuRemovesDimensionsButNotMeasures) {
    auto popupOn = [&](int col, int row) {
        QTest::mousePress(view->gridDisplay, Qt::RightButton, {}, Centre(col, row));
        QTest::mouseRelease(view->gridDisplay, Qt::RightButton, {}, Centre(col, row));
        view->pmGridPopup();
        return view->pmiRemoveFromDisplay->isVisible();
    };
    const auto [dc, dr] = Cell("d");
    EXPECT_FALSE(popupOn(dc, dr));
    EXPECT_EQ(std::make_pair(Grid().Col(), Grid().Row()), std::make_pair(dc, dr));
    const auto [mc, mr] = Cell("[Measures].[Revenue]");
    EXPECT_TRUE(popupOn(mc, mr));
    view->pmiRemoveFromDisplay->trigger();
    ASSERT_EQ(app.UI.Informations.size(), 1u);
    EXPECT_EQ(app.UI.Informations[0].rfind("You cannot remove a Measure with this method. \r\r", 0), 0u);
    EXPECT_EQ(Builder().Measures.size(), 1u);

    // Hidden while a row is highlighted.
    const auto [cc, cr] = Cell("[Customer]");
    EXPECT_TRUE(popupOn(cc, cr));
    view->pmiRowSelect->trigger();
    EXPECT_TRUE(view->RowHighlighting());
    EXPECT_TRUE(Grid().IsRowSelected(cr));
    EXPECT_FALSE(popupOn(cc, cr));
    // A click ends it.
    QTest::mouseClick(view->gridDisplay, Qt::LeftButton, {}, Centre(cc, cr));
    EXPECT_FALSE(view->RowHighlighting());
    EXPECT_FALSE(view->pmiRowSelect->isChecked());
    EXPECT_FALSE(Grid().IsRowSelected(cr));

    // A column highlighted ends row highlighting and hides the command too.
    view->pmiRowSelect->trigger();
    view->pmiSelectEntireColumn->trigger();
    EXPECT_FALSE(view->RowHighlighting());
    EXPECT_FALSE(view->pmiRowSelect->isChecked());
    EXPECT_TRUE(view->pmiSelectEntireColumn->isChecked());
    EXPECT_TRUE(Grid().IsCellSelected(cc, Grid().RowCount() - 1));
    Shot("column-highlighted");
    view->pmGridPopup();
    EXPECT_FALSE(view->pmiRemoveFromDisplay->isVisible());
    QTest::mouseClick(view->gridDisplay, Qt::LeftButton, {}, Centre(cc, cr));
    EXPECT_FALSE(view->pmiSelectEntireColumn->isChecked());

    // Removing a dimension takes it off the view.
    EXPECT_TRUE(popupOn(cc, cr));
    view->pmiRemoveFromDisplay->trigger();
    EXPECT_FALSE(Holds(Builder().Rows, "[Customer]"));
    EXPECT_TRUE(dm->CanUndo());
}

TEST_F(GridDisplayTest, SummaryWindowShowsTheCurrentViewText) {
    std::string text;
    OnNextModal<TfrmCurrentViewTextDisplay>([&](TfrmCurrentViewTextDisplay* w) {
        EXPECT_EQ(w->windowTitle(), "Grid View Summary");
        text = w->memCurrentDisplay->toPlainText().toStdString();
        cbtest::SaveScreenshot(*w, "grid-view-summary.png");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    view->pmiDescribecurrentdisplay->trigger();
    // One line per carriage return of the view's text.
    EXPECT_EQ(text.rfind("For Measures you are currently viewing: \n -   [Measures].[Revenue]\n\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nIn Rows you are currently viewing:\n" + Builder().Rows.at(0) + "\n"), std::string::npos)
        << text;
}

TEST_F(GridDisplayTest, CubeNameMovesTheLastProcessedLabelAndTheHeaderOpensHelp) {
    view->SetCubeName("Some cube");
    view->SetLastProcessed("2024-12-31");
    EXPECT_EQ(view->lblLastProcessed->x(), view->lblCubeName->x() + view->lblCubeName->width() + 7);
    EXPECT_EQ(view->lblLastProcessed->text(), "Last Processed: 2024-12-31");
    EXPECT_EQ(view->LastProcessed(), "2024-12-31");

    cb::extras::HHSetupState({"cubebrowser"});
    SetApplicationHelpFile(std::string(CB_BIN_DIR) + "/help/Tavo.chm");
    QTest::mouseClick(view->imgHeader, Qt::LeftButton);
    ASSERT_NE(cb::extras::HHHelpWindow(), nullptr);
    EXPECT_EQ(cb::extras::HHHelpWindow()->CurrentTopic(), "/grid view.htm");
    cb::extras::HHCloseAll();
    cb::extras::HHCleanupState();
}

}  // namespace
