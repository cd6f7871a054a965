// The main window as a person uses it: the sample cube's window driven with
// QTest, step by step, with a screenshot of each step kept in the build
// folder ("screenshots/"). Also start-up without a cube, the exception
// handler's log lines and closing without a connection.
#include "MDXTestSupport.h"
#include "MainWindowTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/core/base/LogFile.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/CopyCubeWizard.h"
#include "app/ui/dialogs/OpenCubeDialog.h"
#include "app/ui/dialogs/PublishDialog.h"
#include "app/ui/dialogs/SelectMembersForDisplay.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/main/MainLeftMenu.h"
#include "app/ui/main/MainMenuContainer.h"
#include "app/ui/main/MainNoCubeOpen.h"
#include "app/ui/main/MainWindow.h"
#include "app/ui/views/GridDisplay.h"
#include "app/ui/views/MainGraphDisplay.h"
#include "chart/component/Chart.h"
#include "chart/series/pie/PieSeries.h"
#include "extras/KitTreeView.h"

#include "extras/HelpHook.h"
#include "extras/KitCheckListBox.h"
#include "extras/KitItemsPanel.h"
#include "grid/ExtStringGrid.h"
#include <QLabel>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

using namespace cb::app;
namespace fs = std::filesystem;

namespace {

int ItemIndex(TfrmMainLeftMenu& menu, const std::string& caption) {
    for (int i = 0; i < menu.ipDimensions->Items().Count(); ++i)
        if (menu.ipDimensions->Items()[i] == caption) return i;
    ADD_FAILURE() << "no entry " << caption;
    return -1;
}

bool RowsHold(const TMDXBuilder& b, const std::string& dimension) {
    for (const auto& e : b.Rows)
        if (e.rfind(dimension, 0) == 0) return true;
    return false;
}
bool ColumnsHold(const TMDXBuilder& b, const std::string& dimension) {
    for (const auto& e : b.Columns)
        if (e.rfind(dimension, 0) == 0) return true;
    return false;
}

using cbtest::DoubleClickDimension;
using cbtest::OnNextModal;
using cbtest::SeriesLabelled;
using cbtest::TProgram;

}  // namespace

TEST(MainWindowEndToEnd, BrowsesTheSampleCube) {
    TProgram p;
    TfrmMain& w = *p.Window;
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];

    // Start: the default view of the sample cube, the left menu filled.
    ASSERT_TRUE(p.DisplayManager->IsCubeOpen());
    ASSERT_NE(p.Grid(), nullptr);
    EXPECT_EQ(w.HomeContainer()->State(), TfrmHomeContainer::hcsGridView);
    EXPECT_EQ(p.Cell("[Measures]"), std::make_pair(1, 0));
    EXPECT_EQ(p.Grid()->Cells(1, 1), "Revenue");
    EXPECT_EQ(p.Grid()->Cells(0, 1), "Customer");
    EXPECT_EQ(p.Grid()->Cells(0, 2), "All");
    EXPECT_EQ(p.Grid()->Cells(1, 2), p.CellValue("[Measures].[Revenue]", "[Customer].[All]"));
    EXPECT_EQ(w.HomeContainer()->GridView()->lblCubeName->text(), "Tavo sample");
    ASSERT_NE(p.LeftMenu(), nullptr);
    TfrmMainLeftMenu& menu = *p.LeftMenu();
    ASSERT_GT(menu.cblMeasures->Items().Count(), 1);
    EXPECT_TRUE(menu.cblMeasures->GetChecked(0));
    EXPECT_FALSE(menu.cblMeasures->GetChecked(1));
    EXPECT_EQ(menu.ipDimensions->Items()[0], "Customer");
    EXPECT_EQ(menu.ipDimensions->Items()[1], "    (All)");
    for (int i = 0; i < menu.ipDimensions->Items().Count(); ++i)
        EXPECT_EQ(menu.ipDimensions->Items()[i].find("Measures"), std::string::npos);
    EXPECT_TRUE(w.acCloseCube->isEnabled());
    EXPECT_FALSE(w.acUndo->isEnabled());
    EXPECT_FALSE(w.acRedo->isEnabled());
    EXPECT_TRUE(w.mmiShowChart->isVisible());
    EXPECT_FALSE(w.mmiPrint->isVisible());
    EXPECT_FALSE(w.ChartPaneShown());
    // Menu items with captions of their own follow their actions.
    EXPECT_EQ(w.mmiOpen->text(), "&Open Cube ...");
    EXPECT_EQ(w.mmiExport->text(), "&Publish Report...");
    EXPECT_EQ(w.mmiSendacomment->text(), "Send Us Comments / Feature Request");
    EXPECT_EQ(w.mmiExport->isEnabled(), w.acExportCube->isEnabled());
    p.Shot("01-start");

    // A dimension to the rows by a double click on the left menu.
    DoubleClickDimension(&menu, "Product");
    EXPECT_TRUE(RowsHold(p.Builder(), "[Product]"));
    EXPECT_EQ(p.DisplayManager->GetDragSource(), nullptr);
    EXPECT_NE(p.Cell("[Product]").first, -1);
    EXPECT_NE(p.Cell("[Product].[All]").first, -1);
    EXPECT_TRUE(w.acUndo->isEnabled());
    p.Shot("02-product-to-rows");

    // Another to the columns by a drag from the left menu, dropped on the
    // grid's top strip: the press makes the item the drag source and the
    // grid receives the left menu's own drag data.
    // the pause after a double click ends
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu.timDoubleClickJustRan->isActive(); }, 5000));
    {
        auto* list = menu.ipDimensions;
        const int time = ItemIndex(menu, "Time");
        const auto r = list->GetItemRect(time);
        const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_NE(p.DisplayManager->GetDragSource(), nullptr);
        EXPECT_EQ(p.DisplayManager->GetDragSource()->UniqueName, "[Time]");
        std::unique_ptr<QMimeData> data(list->CreateDragData(time));
        EXPECT_TRUE(cbtest::SendDrop(p.Grid(), data.get(), p.Centre(1, 0)));
        QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, at);
    }
    EXPECT_TRUE(ColumnsHold(p.Builder(), "[Time]"));
    const auto timeName = p.Cell("[Time]");
    EXPECT_EQ(timeName.second, 0);
    EXPECT_EQ(p.Grid()->Cells(timeName.first, timeName.second), "Time");
    EXPECT_TRUE(p.GridShows("All"));
    p.Shot("03-time-dragged-to-columns");

    // A member drilled by a double click on its caption, and collapsed again.
    const auto all = p.Cell("[Product].[All]");
    ASSERT_NE(all.first, -1);
    const int rowsBefore = p.Grid()->RowCount();
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(all.first, all.second));
    EXPECT_GT(p.Grid()->RowCount(), rowsBefore);
    const auto bikes = p.Cell("[Product].[All].[Bikes]");
    ASSERT_NE(bikes.first, -1);
    EXPECT_EQ(p.Grid()->Cells(bikes.first, bikes.second), "  Bikes");
    p.Shot("04-product-drilled");
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(all.first, all.second));
    EXPECT_EQ(p.Grid()->RowCount(), rowsBefore);
    EXPECT_EQ(p.Cell("[Product].[All].[Bikes]").first, -1);
    p.Shot("05-product-collapsed");

    // Undo brings the drilled view back, redo collapses it again.
    w.acUndo->trigger();
    EXPECT_GT(p.Grid()->RowCount(), rowsBefore);
    EXPECT_NE(p.Cell("[Product].[All].[Bikes]").first, -1);
    EXPECT_TRUE(w.acRedo->isEnabled());
    p.Shot("06-undo");
    w.acRedo->trigger();
    EXPECT_EQ(p.Grid()->RowCount(), rowsBefore);
    EXPECT_EQ(p.Cell("[Product].[All].[Bikes]").first, -1);
    EXPECT_FALSE(w.acRedo->isEnabled());
    p.Shot("07-redo");
    // The drilled view once more, for the steps that follow.
    w.acUndo->trigger();
    EXPECT_NE(p.Cell("[Product].[All].[Bikes]").first, -1);

    // Swap rows and columns: Time on the rows, Product on the columns.
    w.pmiFlipGraph->trigger();
    EXPECT_TRUE(RowsHold(p.Builder(), "[Time]"));
    EXPECT_TRUE(ColumnsHold(p.Builder(), "[Product]"));
    EXPECT_EQ(p.Cell("[Product]").second, 0);
    EXPECT_GT(p.Cell("[Time]").second, 0);
    p.Shot("08-swapped");

    // Member selection of the measures: Cost ticked as well.
    OnNextModal<TfrmSelectMembersForDisplay>([](TfrmSelectMembersForDisplay* dialog) {
        auto* tree = dialog->tvDimensionMembers;
        for (int i = 0; i < tree->NodeCount(); ++i)
            if (tree->Node(i)->Text() == "Cost") tree->SetNodeChecked(tree->Node(i), true);
        cbtest::SaveScreenshot(*dialog, "09a-member-selection.png");
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    const auto measures = p.Cell("[Measures]");
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(measures.first, measures.second));
    EXPECT_EQ(p.Builder().Measures.size(), 2u);
    EXPECT_NE(p.Cell("[Measures].[Cost]").first, -1);
    EXPECT_TRUE(menu.cblMeasures->GetChecked(1));  // the left menu follows
    p.Shot("09-cost-selected");

    // Undo and redo: the ticks follow the view both ways; Ctrl+Y redoes as
    // Ctrl+Shift+Z does.
    EXPECT_EQ(w.acRedo->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    w.acUndo->trigger();
    EXPECT_EQ(p.Builder().Measures.size(), 1u);
    EXPECT_FALSE(menu.cblMeasures->GetChecked(1));
    p.Shot("09b-cost-undone");
    w.acRedo->trigger();
    EXPECT_EQ(p.Builder().Measures.size(), 2u);
    EXPECT_TRUE(menu.cblMeasures->GetChecked(1));
    // Swapped back and forth, the ticks stay.
    w.pmiFlipGraph->trigger();
    w.pmiFlipGraph->trigger();
    EXPECT_TRUE(menu.cblMeasures->GetChecked(1));

    // The chart pane: a bar chart of the view.
    w.acShowHideGraph->trigger();
    EXPECT_TRUE(w.ChartPaneShown());
    EXPECT_EQ(w.acShowHideGraph->text(), "Hide Chart");
    EXPECT_TRUE(w.mmiPrint->isVisible());
    EXPECT_FALSE(w.mmiShowChart->isVisible());
    TfrmMainGraphDisplay* chartView = w.BottomContainer()->ChartView();
    ASSERT_NE(chartView, nullptr);
    cb::chart::TChart& chart = *chartView->chartGraph();
    ASSERT_GT(chart.NumberOfSeries(), 0);
    EXPECT_GT(chart.SeriesAt(0)->YValues().ValueCount(), 1);
    EXPECT_TRUE(SeriesLabelled(chart, "Bikes"));
    p.Shot("10-chart-shown");

    // The Chart menu reads as the view's buttons: a bar chart's annotation
    // can be hidden, from the menu as from the button.
    EXPECT_EQ(w.mmiHideGraphAnnotation->text(), "Hide &Annotations");
    EXPECT_TRUE(w.mmiHideGraphAnnotation->isEnabled());
    w.mmiHideGraphAnnotation->trigger();
    EXPECT_FALSE(chartView->tbbShowAnnotation->isChecked());
    EXPECT_EQ(w.mmiHideGraphAnnotation->text(), "Show &Annotations");
    w.mmiShowBottomLabels->trigger();
    EXPECT_EQ(w.mmiShowBottomLabels->text(), "Hide &Bottom Labels");
    w.mmiShowRoationSlider->trigger();
    EXPECT_EQ(w.mmiShowRoationSlider->text(), "Hide &Rotation Slider");
    w.mmiShowRoationSlider->trigger();
    EXPECT_EQ(w.mmiShowRoationSlider->text(), "Show &Rotation Slider");
    w.mmiHideAllMembers->trigger();
    EXPECT_EQ(w.mmiHideAllMembers->text(), "Show All &Members");
    w.mmiHideAllMembers->trigger();
    EXPECT_EQ(w.mmiHideAllMembers->text(), "Hide All &Members");
    {
        // Access keys are unique among the menu's visible items.
        std::set<QChar> keys;
        for (QAction* a : w.mmiGraph->actions()) {
            const qsizetype at = a->text().indexOf('&');
            if (!a->isVisible() || at < 0) continue;
            EXPECT_TRUE(keys.insert(a->text().at(at + 1).toLower()).second) << a->text().toStdString();
        }
    }

    // Pie, turned with the rotation slider: no annotation, bottom labels or
    // grouping for a pie, in the menu as on the buttons.
    QTest::mouseClick(chartView->tbbPie, Qt::LeftButton);
    EXPECT_FALSE(w.mmiHideGraphAnnotation->isEnabled());
    EXPECT_FALSE(w.mmiShowBottomLabels->isEnabled());
    EXPECT_FALSE(w.mmiGroupGraphBy->menuAction()->isEnabled());
    w.mmiHideGraphAnnotation->trigger();
    EXPECT_FALSE(chartView->tbbShowAnnotation->isChecked());
    EXPECT_EQ(p.DisplayManager->GetChartType(), 1);
    ASSERT_GT(chart.NumberOfSeries(), 0);
    EXPECT_NE(dynamic_cast<cb::chart::TPieSeries*>(chart.SeriesAt(0)), nullptr);
    EXPECT_TRUE(SeriesLabelled(chart, "Bikes"));
    QTest::mouseClick(chartView->tbbRotation, Qt::LeftButton);
    chartView->tbRotation->setValue(135);
    EXPECT_TRUE(chart.View3D());
    EXPECT_EQ(chart.View3DOptions().Rotation(), 45);
    p.Shot("11-pie-turned");

    // Close Cube: the no-cube page, cube commands off.
    w.acCloseCube->trigger();
    EXPECT_FALSE(p.DisplayManager->IsCubeOpen());
    EXPECT_EQ(w.HomeContainer()->State(), TfrmHomeContainer::hcsNoCubePage);
    EXPECT_FALSE(w.MenuContainer()->HasLeftMenu());
    EXPECT_FALSE(w.BottomContainer()->HasChartView());
    EXPECT_EQ(p.Grid(), nullptr);
    for (QAction* a : {w.acCloseCube, w.acExportCube, w.acUndo, w.acRedo, w.acResetCube, w.acShowHideGraph})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(w.mmiGraph->isEnabled());
    EXPECT_FALSE(w.tbCopyCube->isEnabled());
    EXPECT_TRUE(w.acOpenCube->isEnabled());
    p.Shot("12-closed");

    // Open Cube of the same file through the window, from the no-cube page.
    OnNextModal<TfrmOpenCube>([](TfrmOpenCube* dialog) {
        dialog->edtFileName->setText(QString::fromStdString(TProgram::SamplePath()));
        cbtest::SaveScreenshot(*dialog, "13a-open-cube.png");
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(w.HomeContainer()->NoCubePage()->btnOpenCube, Qt::LeftButton);
    EXPECT_TRUE(p.DisplayManager->IsCubeOpen());
    EXPECT_EQ(w.HomeContainer()->State(), TfrmHomeContainer::hcsGridView);
    ASSERT_TRUE(p.LeftMenu());
    EXPECT_TRUE(p.LeftMenu()->cblMeasures->GetChecked(0));
    EXPECT_FALSE(p.LeftMenu()->cblMeasures->GetChecked(1));
    EXPECT_EQ(p.Grid()->Cells(1, 1), "Revenue");
    EXPECT_EQ(p.Grid()->Cells(0, 2), "All");
    EXPECT_EQ(p.Builder().Measures.size(), 1u);
    EXPECT_FALSE(w.acUndo->isEnabled());
    // The chart pane stayed open: the new chart view charts the new view.
    ASSERT_NE(w.BottomContainer()->ChartView(), nullptr);
    EXPECT_GT(w.BottomContainer()->ChartView()->chartGraph()->NumberOfSeries(), 0);
    EXPECT_TRUE(p.UI.Errors.empty());
    p.Shot("13-reopened");

    // Close: the settings name the open cube.
    w.close();
    EXPECT_EQ(p.Config->LastCubeConnectionLocation, TProgram::SamplePath());
    EXPECT_EQ(p.Config->LastCubeConnectionType, static_cast<std::uint8_t>(TConnectionType::ctLocalCubeFile));
    EXPECT_EQ(w.HomeContainer(), nullptr);
    EXPECT_EQ(w.MenuContainer(), nullptr);
    EXPECT_NE(cbtest::readFile(p.Folder + "app.ini").find("LastCubeConnectionLocation"), std::string::npos);
}

TEST(MainWindowEndToEnd, TheChartShowsTheCubeJustOpened) {
    TProgram p;
    TfrmMain& w = *p.Window;
    w.acShowHideGraph->trigger();
    ASSERT_TRUE(w.ChartPaneShown());
    auto chartValue = [&] {
        const cb::chart::TChart& chart = *w.BottomContainer()->ChartView()->chartGraph();
        return chart.NumberOfSeries() > 0 && chart.SeriesAt(0)->YValues().ValueCount() > 0
                   ? chart.SeriesAt(0)->YValues()[0]
                   : -1.0;
    };
    auto gridValue = [&] {
        std::string text = p.Grid()->Cells(1, 2);
        text.erase(std::remove(text.begin(), text.end(), ','), text.end());
        return std::stod(text);
    };
    EXPECT_NEAR(chartValue(), gridValue(), 0.01);
    const double before = chartValue();
    // Another cube (other facts, the same members), opened over the first.
    const std::string other = p.Folder + "other.cub";
    ASSERT_EQ(cbtest::runCommand("'" + cbtest::BinFolder() + "/cubebuild' --sample '" + other + "' --facts 700 --seed 5"), 0);
    OnNextModal<TfrmOpenCube>([&](TfrmOpenCube* dialog) {
        dialog->edtFileName->setText(QString::fromStdString(other));
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    w.acOpenCube->trigger();
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];
    EXPECT_NEAR(chartValue(), gridValue(), 0.01);
    EXPECT_GT(std::abs(chartValue() - before), 0.01);
    p.Shot("chart-after-open");
    // Reset and empty: the chart follows the grid each time.
    DoubleClickDimension(p.LeftMenu(), "Product");
    w.acResetCube->trigger();
    EXPECT_NEAR(chartValue(), gridValue(), 0.01);
}

TEST(MainWindowEndToEnd, PublishDialogPublishesTheGridOfTheView) {
    TProgram p;
    bool shown = false;
    OnNextModal<TfrmExport>([&](TfrmExport* dialog) {
        shown = true;
        const auto lines = dialog->BuildHTMLReport();
        ASSERT_TRUE(lines);
        std::string html;
        for (const auto& line : *lines) html += line;
        EXPECT_NE(html.find("Revenue"), std::string::npos);
        dialog->done(QDialog::Rejected);
    });
    p.Window->acExportCube->trigger();
    EXPECT_TRUE(shown);
}

TEST(MainWindowEndToEnd, CopyWizardWorksOnACopyOfTheConnectionDescription) {
    TProgram p;
    TfrmMain& w = *p.Window;
    const TCubeConnectionString* mine = w.Connection()->GetDescription();
    bool shown = false;
    OnNextModal<TfrmCopyCubeWizard>([&](TfrmCopyCubeWizard* wizard) {
        shown = true;
        const TCubeConnectionString* theirs = wizard->Builder().Connection().GetDescription();
        ASSERT_NE(theirs, nullptr);
        EXPECT_NE(theirs, mine);
        EXPECT_EQ(theirs->FileName, mine->FileName);
        wizard->done(QDialog::Rejected);
    });
    w.mmiCopyCube->trigger();
    EXPECT_TRUE(shown);
    // The window's own description is untouched and still serves the view.
    EXPECT_EQ(w.Connection()->GetDescription(), mine);
    EXPECT_EQ(w.Connection()->GetFileName(), p.Folder + "Local Cubes/Tavo_sample.cub");
    w.acResetCube->trigger();
    EXPECT_EQ(p.Grid()->Cells(1, 1), "Revenue");
    EXPECT_TRUE(p.UI.Errors.empty());
}

TEST(MainWindowEndToEnd, MissingStartupCubeGivesTheNoCubePage) {
    TProgram p(false);
    TfrmMain& w = *p.Window;
    EXPECT_FALSE(w.Terminated());
    EXPECT_FALSE(p.UI.Errors.empty());  // the connection told its failure
    EXPECT_FALSE(p.DisplayManager->IsCubeOpen());
    EXPECT_EQ(w.HomeContainer()->State(), TfrmHomeContainer::hcsNoCubePage);
    EXPECT_FALSE(w.acCloseCube->isEnabled());
    EXPECT_FALSE(w.mmiGraph->isEnabled());
    EXPECT_TRUE(w.acOpenCube->isEnabled());
    p.Shot("10-no-start-cube");
    // Empty Cube without a cube does nothing.
    w.acEmptyCube->trigger();

    // Open Cube still works; a missing file is refused in the window first.
    OnNextModal<TfrmOpenCube>([&p](TfrmOpenCube* dialog) {
        dialog->edtFileName->setText(QString::fromStdString(p.Folder + "nothing.cub"));
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        dialog->edtFileName->setText(QString::fromStdString(TProgram::SamplePath()));
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    w.acOpenCube->trigger();
    EXPECT_TRUE(p.DisplayManager->IsCubeOpen());
    EXPECT_NE(p.UI.Errors.back().find("nothing.cub"), std::string::npos);
    EXPECT_TRUE(w.acCloseCube->isEnabled());
}

TEST(MainWindowEndToEnd, ClosingWithoutAConnectionSavesAndFreesThePanes) {
    TProgram p(false);
    TfrmMain& w = *p.Window;
    EXPECT_EQ(w.Connection() == nullptr || !w.Connection()->Active, true);
    w.close();
    EXPECT_EQ(p.Config->LastCubeConnectionLocation, "");
    EXPECT_EQ(w.HomeContainer(), nullptr);
    EXPECT_EQ(w.BottomContainer(), nullptr);
    // Closing again does nothing more.
    w.close();
}

TEST(MainWindowEndToEnd, ExceptionHandlerWritesThreeLogLines) {
    TProgram p;
    TfrmMain& w = *p.Window;
    w.ApplicationException(w.acUndo, std::runtime_error("boom"));
    const std::string log = p.LogText();
    static const std::regex first(
        R"(Error occured: \d{4}-\d{2}-\d{2} \d{1,2}:\d{1,2}:\d{1,2} with error message boom)");
    EXPECT_TRUE(std::regex_search(log, first)) << log;
    EXPECT_NE(log.find("Sender Classname Name: QAction"), std::string::npos);
    EXPECT_NE(log.find("Current mdx was  SELECT"), std::string::npos) << log;
    ASSERT_FALSE(p.UI.Errors.empty());
    EXPECT_EQ(p.UI.Errors.back(), "boom");

    // No sender: no sender line. An operating-system error is logged only.
    const size_t errors = p.UI.Errors.size();
    w.ApplicationException(nullptr, std::system_error(std::make_error_code(std::errc::io_error), "disk"));
    EXPECT_EQ(p.UI.Errors.size(), errors);
    const std::string after = p.LogText().substr(log.size());
    EXPECT_EQ(after.find("Sender Classname Name"), std::string::npos);
    EXPECT_NE(after.find("with error message disk"), std::string::npos);
}

TEST(MainWindowEndToEnd, LeftMenuKeepsOneMeasureAndRefusesMeasureDrops) {
    TProgram p;
    TfrmMainLeftMenu& menu = *p.LeftMenu();
    // Unticking the last measure: told, ticked again, still on the axis.
    menu.cblMeasures->SetChecked(0, false);
    ASSERT_EQ(p.UI.Errors.size(), 1u);
    EXPECT_EQ(p.UI.Errors[0], "You can not remove all measures. You must have at least one selected for display.");
    EXPECT_TRUE(menu.cblMeasures->GetChecked(0));
    EXPECT_EQ(p.Builder().Measures.size(), 1u);

    // A header dragged from the grid: a measure is refused, a dimension
    // leaves the view.
    TDimensionObject header;
    header.Kind = dokGridHeader;
    header.UniqueName = "[Measures].[Revenue]";
    p.DisplayManager->SetDragSource(&header);
    EXPECT_FALSE(menu.DimensionsDragOver(p.Grid()));
    EXPECT_EQ(p.DisplayManager->GetDragSource(), nullptr);
    ASSERT_FALSE(p.UI.Informations.empty());
    EXPECT_EQ(p.UI.Informations.back().rfind("You cannot remove a Measure with this method. \r\r", 0), 0u);

    const std::string rows = p.Builder().Rows.at(0);
    header.UniqueName = rows.substr(0, rows.find(']') + 1);
    p.DisplayManager->SetDragSource(&header);
    EXPECT_TRUE(menu.DimensionsDragOver(p.Grid()));
    EXPECT_FALSE(menu.DimensionsDragOver(menu.cblMeasures));  // not the grid
    p.DisplayManager->SetDragSource(&header);
    menu.DimensionsDragDrop(p.Grid());
    EXPECT_EQ(p.DisplayManager->GetDragSource(), nullptr);
    EXPECT_FALSE(RowsHold(p.Builder(), header.UniqueName));

    // A double click beside the entries does nothing and starts no pause.
    const int below = menu.ipDimensions->Items().Count() * menu.ipDimensions->ItemHeight() + 5;
    menu.ipDimensions->setFixedHeight(below + 20);
    QTest::mouseDClick(menu.ipDimensions, Qt::LeftButton, Qt::NoModifier, QPoint(5, below));
    EXPECT_FALSE(menu.DoubleClickJustRan());
    // "To Rows" on a pop-up opened beside the entries does nothing.
    const auto before = p.Builder().Rows;
    menu.SetPopupPosition(menu.ipDimensions->mapToGlobal(QPoint(5, below)));
    menu.pmiToRows->trigger();
    EXPECT_EQ(p.Builder().Rows, before);
    // The pop-up's "To Columns" on an entry.
    const auto r = menu.ipDimensions->GetItemRect(0);
    menu.SetPopupPosition(menu.ipDimensions->mapToGlobal(QPoint(40, (r.Top + r.Bottom) / 2)));
    menu.pmiToColumns->trigger();
    EXPECT_TRUE(ColumnsHold(p.Builder(), "[Customer]"));
}

TEST(MainWindowEndToEnd, HelpOpensFromTheMenuHeader) {
    cb::extras::HHSetupState({"cubebrowser"});  // as the program's start-up does
    TProgram p;
    QTest::mouseClick(p.LeftMenu()->imgHeader, Qt::LeftButton);
    EXPECT_NE(cb::extras::HHHelpWindow(), nullptr);
    cb::extras::HHCloseAll();
    cb::extras::HHCleanupState();
}
