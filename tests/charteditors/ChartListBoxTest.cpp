// The series list box lists, reorders, hides, renames, clones, adds and
// deletes the chart's series and follows changes made elsewhere.
#include "charteditors/controls/ChartListBox.h"
#include "EditorTestSupport.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/SeriesHelpers.h"

#include <QLineEdit>

using namespace cb::charteditors;
using cb::chart::TChartSeries;

namespace {

struct ListBoxFixture : ::testing::Test {
    void SetUp() override {
        chart = cbtest::MakeSampleChart();
        list.resize(300, 400);
        list.SetChart(chart.get());
        list.show();
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < list.count(); ++i) rows.push_back(list.item(i)->text().toStdString());
        return rows;
    }
    QPoint At(int row, int x) const { return {x, list.visualItemRect(list.item(row)).center().y()}; }

    std::unique_ptr<cb::chart::TChart> chart;
    TChartListBox list;
};

TEST_F(ListBoxFixture, ListsTheSeriesInChartOrder) {
    ASSERT_EQ(list.count(), chart->NumberOfSeries());
    for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.SeriesAtRow(i), chart->SeriesAt(i));
    EXPECT_EQ(list.currentRow(), 0);
    cbtest::Screenshot(&list, "series_list_box");
}

TEST_F(ListBoxFixture, TheCheckHidesAndShowsASeries) {
    TChartSeries* s = chart->SeriesAt(1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::CheckLeft + 6));
    EXPECT_FALSE(s->Active());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::CheckLeft + 6));
    EXPECT_TRUE(s->Active());
}

TEST_F(ListBoxFixture, RadioStyleKeepsOnlyTheFirstActive) {
    list.SetCheckStyle(TCheckBoxesStyle::cbsRadio);
    EXPECT_TRUE(chart->SeriesAt(0)->Active());
    for (int i = 1; i < chart->NumberOfSeries(); ++i) EXPECT_FALSE(chart->SeriesAt(i)->Active()) << i;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(2, TChartListBox::CheckLeft + 6));
    EXPECT_FALSE(chart->SeriesAt(0)->Active());
    EXPECT_TRUE(chart->SeriesAt(2)->Active());
}

TEST_F(ListBoxFixture, MovesReorderTheChartsSeries) {
    TChartSeries* first = chart->SeriesAt(0);
    TChartSeries* second = chart->SeriesAt(1);
    std::pair<TChartSeries*, TChartSeries*> told{};
    list.OnChangeOrder = [&](TChartSeries* a, TChartSeries* b) { told = {a, b}; };
    list.setCurrentRow(0);
    list.MoveDown();
    EXPECT_EQ(chart->SeriesAt(0), second);
    EXPECT_EQ(chart->SeriesAt(1), first);
    EXPECT_EQ(list.SeriesAtRow(1), first);
    EXPECT_EQ(list.SelectedSeries(), first);
    EXPECT_EQ(told.first, first);
    list.MoveUp();
    EXPECT_EQ(chart->SeriesAt(0), first);
}

TEST_F(ListBoxFixture, DeleteAsksAndFreesTheSelectedSeries) {
    const int n = chart->NumberOfSeries();
    {
        cbtest::TConfirmAnswer no(false);
        list.setCurrentRow(0);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Delete);
        EXPECT_EQ(no.Asked, "Delete " + chart->SeriesAt(0)->Title() + " ?");
        EXPECT_EQ(chart->NumberOfSeries(), n);
    }
    cbtest::TConfirmAnswer yes(true);
    list.clearSelection();
    list.item(0)->setSelected(true);
    list.item(1)->setSelected(true);
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_EQ(yes.Asked, "Delete (Selected Series) ?");
    EXPECT_EQ(chart->NumberOfSeries(), n - 2);
    EXPECT_EQ(list.count(), n - 2);
}

TEST_F(ListBoxFixture, FollowsChangesMadeElsewhereKeepingTheHostsCopy) {
    QStringList copy;
    int copyTold = 0;
    list.OtherItems = &copy;
    list.OnOtherItemsChange = [&] { ++copyTold; };
    list.FillSeries();
    const auto copyMatches = [&] {
        std::vector<std::string> rows;
        for (const QString& line : copy) rows.push_back(line.toStdString());
        return rows == Rows();
    };
    EXPECT_TRUE(copyMatches());
    EXPECT_EQ(copyTold, 1);
    TChartSeries* gone = chart->SeriesAt(2);
    TChartSeries* told = nullptr;
    list.OnRemovedSeries = [&](TChartSeries* s) { told = s; };
    delete gone;
    EXPECT_EQ(told, gone);
    EXPECT_EQ(list.count(), chart->NumberOfSeries());
    EXPECT_TRUE(copyMatches());
    chart->SeriesAt(0)->SetTitle("Renamed");
    EXPECT_EQ(list.item(0)->text(), "Renamed");
    EXPECT_TRUE(copyMatches());
    list.setCurrentRow(0);
    list.MoveDown();
    EXPECT_TRUE(copyMatches());
    EXPECT_EQ(copy.value(1), "Renamed");
    chart.reset();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.Chart(), nullptr);
    EXPECT_TRUE(copy.isEmpty());
}

TEST_F(ListBoxFixture, F2RenamesInPlaceOverTheTitle) {
    TChartSeries* s = chart->SeriesAt(1);
    s->SetName("SalesSeries");
    list.setCurrentRow(1);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_F2);
    QLineEdit* editor = list.TitleEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    const QRect row = list.visualItemRect(list.item(1));
    EXPECT_EQ(editor->geometry(), QRect(TChartListBox::TitleLeft - 2, row.top(), 216, row.height() + 1));
    EXPECT_EQ(editor->text().toStdString(), s->Title());
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "Sales 2004");
    cbtest::Screenshot(&list, "series_list_box_renaming");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(s->Title(), "Sales 2004");
    EXPECT_EQ(list.item(1)->text(), "Sales 2004");
    EXPECT_EQ(list.focusWidget(), &list);

    // Esc leaves the title; typing the name back drops the title of its own.
    QTest::keyClick(&list, Qt::Key_F2);
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(s->Title(), "Sales 2004");
    QTest::keyClick(&list, Qt::Key_F2);
    editor->setText(QString::fromStdString(s->Name()));
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(s->Title(), "");
    EXPECT_EQ(list.item(1)->text().toStdString(), s->Name());

    // A press on the list commits an open editor.
    QTest::keyClick(&list, Qt::Key_F2);
    editor->setText("Pressed");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(0, TChartListBox::TitleLeft + 20));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(s->Title(), "Pressed");
}

TEST_F(ListBoxFixture, ASeriesFreedWhileItsTitleIsEditedIsLeftAlone) {
    list.setCurrentRow(2);
    list.RenameInPlace();
    ASSERT_TRUE(list.TitleEditor()->isVisible());
    list.TitleEditor()->setText("Too late");
    delete chart->SeriesAt(2);
    EXPECT_FALSE(list.TitleEditor()->isVisible());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(0, TChartListBox::TitleLeft + 20));
    for (int i = 0; i < chart->NumberOfSeries(); ++i) EXPECT_NE(chart->SeriesAt(i)->Title(), "Too late");
}

TEST_F(ListBoxFixture, RenameWithDialogSetsTheTitleOrTheName) {
    TChartSeries* s = chart->SeriesAt(0);
    list.setCurrentRow(0);
    QString asked;
    QString answer = "Revenue";
    bool confirm = true;
    list.AskText = [&](const QString& title, const QString& prompt, QString& text) {
        asked = title + "|" + prompt + "|" + text;
        text = answer;
        return confirm;
    };
    const std::string before = s->Title();
    EXPECT_TRUE(list.RenameWithDialog());
    EXPECT_EQ(asked.toStdString(), "Change Series Title|New Series Title:|" + before);
    EXPECT_EQ(s->Title(), "Revenue");
    EXPECT_EQ(list.currentRow(), 0);
    // Cancel, an empty text or the same text change nothing.
    confirm = false;
    EXPECT_FALSE(list.RenameWithDialog());
    confirm = true;
    answer = "";
    EXPECT_FALSE(list.RenameWithDialog());
    answer = "Revenue";
    EXPECT_FALSE(list.RenameWithDialog());
    EXPECT_EQ(s->Title(), "Revenue");
    // With names shown the dialog edits the component name.
    list.SetShowNames(true);
    answer = "RevenueSeries";
    EXPECT_TRUE(list.RenameWithDialog());
    EXPECT_EQ(s->Name(), "RevenueSeries");
    EXPECT_EQ(s->Title(), "Revenue");
    EXPECT_EQ(list.item(0)->text(), "RevenueSeries");
    // A title changed elsewhere leaves a name row as it is.
    s->SetTitle("Other");
    EXPECT_EQ(list.item(0)->text(), "RevenueSeries");
}

TEST_F(ListBoxFixture, ShowNamesListsComponentNamesKeepingTheSelection) {
    for (int i = 0; i < chart->NumberOfSeries(); ++i) chart->SeriesAt(i)->SetName("S" + std::to_string(i));
    list.setCurrentRow(2);
    list.SetShowNames(true);
    for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.item(i)->text().toStdString(), chart->SeriesAt(i)->Name());
    EXPECT_EQ(list.currentRow(), 2);
    list.SetShowNames(false);
    for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.item(i)->text().toStdString(), chart->SeriesAt(i)->Title());
    EXPECT_EQ(list.currentRow(), 2);
}

TEST_F(ListBoxFixture, CloneKeepsDataTitleAndColour) {
    const int n = chart->NumberOfSeries();
    TChartSeries* s = chart->SeriesAt(0);
    s->SetSeriesColor(0x123456);
    list.setCurrentRow(0);
    TChartSeries* copy = list.CloneSelected();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(chart->NumberOfSeries(), n + 1);
    EXPECT_EQ(list.count(), n + 1);
    EXPECT_NE(copy->Name(), s->Name());
    EXPECT_EQ(copy->Title(), s->Title());
    EXPECT_EQ(copy->SeriesColor(), cb::gfx::TColor(0x123456));
    ASSERT_EQ(copy->PointCount(), s->PointCount());
    for (int i = 0; i < s->PointCount(); ++i) EXPECT_EQ(copy->MandatoryList().Value(i), s->MandatoryList().Value(i));
    // A series without a title of its own: the copy shows its own name.
    s->SetTitle("");
    TChartSeries* second = list.CloneSelected();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Title(), "");
    EXPECT_EQ(list.item(list.count() - 1)->text().toStdString(), second->Name());
    list.clear();
    EXPECT_EQ(list.CloneSelected(), nullptr);
}

TEST_F(ListBoxFixture, HiddenSectionsMoveTheOthersLeft) {
    EXPECT_EQ(list.SectionLeft(lbsCheck), TChartListBox::CheckLeft);
    EXPECT_EQ(list.SectionLeft(lbsColor), TChartListBox::ColorLeft);
    EXPECT_EQ(list.SectionLeft(lbsTitle), TChartListBox::TitleLeft);
    list.SetShowSeriesIcon(false);
    EXPECT_EQ(list.SectionLeft(lbsCheck), 0);
    EXPECT_EQ(list.SectionLeft(lbsTitle), 42);
    TChartSeries* s = chart->SeriesAt(1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, 6));
    EXPECT_FALSE(s->Active());
    list.SetShowActiveCheck(false);
    list.SetShowSeriesColor(false);
    EXPECT_EQ(list.SectionLeft(lbsTitle), 0);
    EXPECT_EQ(list.SectionAt(6), int(lbsTitle));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, 6));
    EXPECT_FALSE(s->Active()) << "no check to click";
    // Without a title section there is nothing to rename in place.
    list.SetShowSeriesTitle(false);
    list.setCurrentRow(1);
    list.RenameInPlace();
    EXPECT_TRUE(list.TitleEditor() == nullptr || !list.TitleEditor()->isVisible());
}

TEST_F(ListBoxFixture, RowsShowTheSeriesIcons) {
    // Every row has its class picture in the icon section, not the colour
    // of an empty list.
    const QImage image = list.viewport()->grab().toImage();
    const QRgb base = list.palette().base().color().rgb();
    for (int row = 0; row < list.count(); ++row) {
        const QRect r = list.visualItemRect(list.item(row));
        if (r.bottom() >= image.height()) break;
        int painted = 0;
        for (int y = r.top(); y < r.top() + 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (image.pixel(x, y) != base) ++painted;
        EXPECT_GT(painted, 10) << list.item(row)->text().toStdString();
    }
}

// Adding and changing type go through the gallery's hooks; without them
// nothing happens.
struct THooks {
    THooks() : create(cb::charteditors::GalleryCreateSeriesHook()), change(GalleryChangeSeriesTypeHook()) {}
    ~THooks() {
        GalleryCreateSeriesHook() = create;
        GalleryChangeSeriesTypeHook() = change;
    }
    TGalleryCreateSeriesHook create;
    TGalleryChangeSeriesTypeHook change;
};

TEST_F(ListBoxFixture, AddAndChangeTypeGoThroughTheGalleryHooks) {
    THooks kept;
    GalleryCreateSeriesHook() = nullptr;
    GalleryChangeSeriesTypeHook() = nullptr;
    const int n = chart->NumberOfSeries();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Insert);
    EXPECT_EQ(chart->NumberOfSeries(), n);
    list.ChangeTypeOfSelected();
    EXPECT_EQ(chart->NumberOfSeries(), n);

    TChartSeries* passed = nullptr;
    GalleryCreateSeriesHook() = [&](QWidget*, cb::chart::TCustomAxisPanel* c, TChartSeries* current) {
        passed = current;
        return cb::chart::DuplicateSeries(*c->SeriesAt(0));
    };
    list.setCurrentRow(2);
    TChartSeries* third = list.SelectedSeries();
    int refreshed = 0;
    list.OnRefresh = [&] { ++refreshed; };
    QTest::keyClick(&list, Qt::Key_Insert);
    EXPECT_EQ(passed, third);
    ASSERT_EQ(chart->NumberOfSeries(), n + 1);
    EXPECT_EQ(list.SelectedSeries(), chart->SeriesAt(n));
    EXPECT_EQ(list.selectedItems().size(), 1);
    EXPECT_GT(refreshed, 0);
    list.AllowAddSeries = false;
    QTest::keyClick(&list, Qt::Key_Insert);
    EXPECT_EQ(chart->NumberOfSeries(), n + 1);

    // The first selected series goes to the gallery; the others follow its
    // choice.
    const cb::chart::TSeriesClass* bar = cb::chart::FindSeriesClassByName("TBarSeries");
    ASSERT_NE(bar, nullptr);
    std::vector<TChartSeries*> asked;
    GalleryChangeSeriesTypeHook() = [&](QWidget*, TChartSeries*& s) {
        asked.push_back(s);
        cb::chart::ChangeSeriesClass(s, *bar);
        return bar;
    };
    list.clearSelection();
    list.setCurrentRow(0);
    list.item(0)->setSelected(true);
    list.item(1)->setSelected(true);
    const std::string title1 = chart->SeriesAt(1)->Title();
    list.ChangeTypeOfSelected();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(chart->NumberOfSeries(), n + 1);
    EXPECT_EQ(cb::chart::SeriesClassName(*chart->SeriesAt(0)), "TBarSeries");
    EXPECT_EQ(cb::chart::SeriesClassName(*chart->SeriesAt(1)), "TBarSeries");
    EXPECT_EQ(chart->SeriesAt(1)->Title(), title1);
    EXPECT_EQ(list.selectedItems().size(), 2);
    EXPECT_EQ(list.SeriesAtRow(0), chart->SeriesAt(0));
}

TEST_F(ListBoxFixture, DoubleClicksBySection) {
    THooks kept;
    int changeAsked = 0;
    GalleryChangeSeriesTypeHook() = [&](QWidget*, TChartSeries*&) -> const cb::chart::TSeriesClass* {
        ++changeAsked;
        return nullptr;
    };
    int titleIndex = -1;
    list.OnDblClickSeries = [&](int index) { titleIndex = index; };
    list.setCurrentRow(1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::TitleLeft + 20));
    EXPECT_EQ(titleIndex, 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, At(1, 8));
    EXPECT_EQ(changeAsked, 1);
    list.EnableChangeType = false;
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, At(1, 8));
    EXPECT_EQ(changeAsked, 1);

    TChartSeries* s = list.SeriesAtRow(1);
    s->SetColorEachPoint(true);
    cbtest::ChooseColorInNextDialog(0x00FF00);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::ColorLeft + 6));
    EXPECT_EQ(s->SeriesColor(), cb::gfx::TColor(0x00FF00));
    EXPECT_FALSE(s->ColorEachPoint());
}

TEST_F(ListBoxFixture, TheHandShowsOverIconAndColourWhileTheyMayChange) {
    QTest::mouseMove(list.viewport(), At(0, 8));
    EXPECT_EQ(list.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(list.viewport(), At(0, TChartListBox::TitleLeft + 20));
    EXPECT_EQ(list.viewport()->cursor().shape(), Qt::ArrowCursor);
    list.EnableChangeColor = false;
    QTest::mouseMove(list.viewport(), At(0, TChartListBox::ColorLeft + 6));
    EXPECT_EQ(list.viewport()->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
