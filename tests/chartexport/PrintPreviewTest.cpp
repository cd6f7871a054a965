// The print preview panel, dialog and previewer: paper and image geometry,
// drag zones, dragging the chart's margins with the mouse, the dialog's
// options and margins, and printing to a PDF printer.
#include "ChartExportTestSupport.h"
#include "chartexport/navigator/PlotNavigator.h"
#include "chartexport/preview/ChartPreview.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "chartexport/preview/PlotPreviewPanel.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace cb::chartexport;
using cb::gfx::TRect;

namespace {

// A preview on a PDF printer (A4 portrait) showing a bar panel.
struct PreviewFixture : ::testing::Test {
    PreviewFixture() {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        preview.SetPrinter(&printer);
        preview.resize(432, 312);
        chart.SetPrintProportional(false);
        chart.SetPrintMargins(TRect{10, 10, 10, 10});
        preview.SetPanel(&chart);
        preview.show();
        preview.UpdateLayout();
    }
    cbtest::TempDir dir;
    QPrinter printer{QPrinter::HighResolution};
    TPlotPreviewPanel preview;
    cetest::BarPanel chart;
};

TEST(PlotPreviewPanel, PaperFollowsThePageProportions) {
    // A4 portrait in a 432 x 312 client: the page is the taller.
    const TRect r = TPlotPreviewPanel::PaperRectFor(210, 297, 432, 312);
    EXPECT_EQ(r.Top, 31);
    EXPECT_EQ(r.Height(), 250);
    EXPECT_EQ(r.Width(), static_cast<int>(std::lround(250.0 * 210 / 297)));
    EXPECT_EQ(r.Left, (432 - r.Width()) / 2);
    // A wide page fills the width less a fifth.
    const TRect wide = TPlotPreviewPanel::PaperRectFor(400, 100, 432, 312);
    EXPECT_EQ(wide.Left, 43);
    EXPECT_EQ(wide.Width(), 432 - 86);
    EXPECT_EQ(wide.Height(), static_cast<int>(std::lround(346.0 * 100 / 400)));
}

TEST_F(PreviewFixture, ImageAtTheMarginsAndZonesAroundIt) {
    const TRect paper = preview.PaperRect();
    EXPECT_EQ(paper.Top, 31);
    EXPECT_EQ(paper.Height(), 250);
    const TRect image = preview.ImageRect();
    EXPECT_EQ(image.Left, paper.Left + static_cast<int>(std::lround(paper.Width() / 10.0)));
    EXPECT_EQ(image.Bottom, paper.Bottom - 25);
    // Margins of 10 on paper 200 wide: 20 pixels each side.
    const TRect r = preview.CalcImageRect(TRect{0, 0, 200, 100}, &chart);
    EXPECT_EQ(r.Left, 20);
    EXPECT_EQ(r.Right, 180);

    struct Case {
        int dx, dy;  // from the top-left corner
        bool resize, move;
        int zone;
    };
    const Case cases[] = {{3, 3, true, true, pdzTopLeft}, {-4, 0, true, true, pdzTopLeft},
                          {0, 40, true, true, pdzLeft},   {40, 40, true, true, pdzMove},
                          {40, 40, true, false, pdzNone}, {0, 40, false, true, pdzNone},
                          {-20, 40, true, true, pdzNone}};
    for (const auto& c : cases) {
        preview.AllowResize = c.resize;
        preview.AllowMove = c.move;
        EXPECT_EQ(preview.ZoneAt(image.Left + c.dx, image.Top + c.dy), c.zone) << c.dx << "," << c.dy;
    }
    preview.AllowResize = preview.AllowMove = true;
    EXPECT_EQ(preview.ZoneAt(image.Right - 2, image.Bottom + 3), pdzBottomRight);
    EXPECT_EQ(preview.ZoneAt(image.Right, image.Top + 40), pdzRight);
}

TEST_F(PreviewFixture, DraggingMovesTheChartAndItsMargins) {
    TRect reported;
    int changes = 0;
    preview.OnChangeMargins = [&](TPlotPreviewPanel*, bool disable, const TRect& m) {
        EXPECT_TRUE(disable);
        reported = m;
        ++changes;
    };
    chart.SetPrintProportional(true);
    preview.UpdateLayout();
    const TRect image = preview.ImageRect();
    const QPoint start(image.Left + 40, image.Top + 40);
    QTest::mousePress(&preview, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(10, 12)),
                     QPointF(preview.mapToGlobal(start + QPoint(10, 12))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&preview, &move);
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, start + QPoint(10, 12));
    EXPECT_EQ(changes, 1) << preview.PaperRect().Left << " " << preview.ImageRect().Left << " " << start.x();
    EXPECT_FALSE(chart.PrintProportional());
    EXPECT_GT(chart.PrintMargins().Left, 10);
    EXPECT_LT(chart.PrintMargins().Right, reported.Right + 1);
    EXPECT_GT(chart.PrintMargins().Top, 10);
    EXPECT_EQ(reported.Left, chart.PrintMargins().Left);
    preview.UpdateLayout();
    EXPECT_NEAR(preview.ImageRect().Left, image.Left + 10, 2);

    // The left edge dragged past the right one stays where it was.
    const TRect before = preview.ImageRect();
    const QPoint edge(before.Left, before.Top + 50);
    QTest::mousePress(&preview, Qt::LeftButton, {}, edge);
    QMouseEvent far(QEvent::MouseMove, QPointF(before.Right + 5, edge.y()), QPointF(), Qt::NoButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(&preview, &far);
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, edge);
    preview.UpdateLayout();
    EXPECT_EQ(preview.ImageRect().Left, before.Left);
    cetest::SaveScreenshot(preview, "chart_preview_panel_dragged.png");
}

TEST_F(PreviewFixture, PrintsOnePageWithInkInsideTheMargins) {
    chart.SetPrintMargins(TRect{20, 20, 20, 20});
    preview.Title = "Print Graph";
    preview.Print();
    const std::string pdf = dir.file("out.pdf");
    auto info = cetest::RunProgram("/usr/bin/pdfinfo", {pdf});
    ASSERT_EQ(info.code, 0) << info.err;
    const auto pages = info.out.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info.out;
    EXPECT_EQ(std::stoi(info.out.substr(pages + 6)), 1) << info.out;
    auto png = cetest::RunProgram("/usr/bin/pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, dir.file("page")});
    ASSERT_EQ(png.code, 0) << png.err;
    QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(page.isNull());
    int left = page.width(), right = -1, top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 240) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no ink " << chart.PrintPageRect(&printer).Left << " " << chart.PrintPageRect(&printer).Right
                        << " " << cetest::RunProgram("/usr/bin/pdftotext", {pdf, "-"}).out;
    // Ink lies inside the 20 % margins (the page's printable area adds a little).
    EXPECT_GE(left, page.width() * 18 / 100);
    EXPECT_LE(right, page.width() * 82 / 100);
    EXPECT_GE(top, page.height() * 18 / 100);
    EXPECT_LE(bottom, page.height() * 82 / 100);
    EXPECT_GT(right - left, page.width() / 2);
}

TEST(ChartPreviewer, ExecuteHonoursOptionsAndRestoresTheChart) {
    TChartPreviewer previewer;
    previewer.Execute();  // no chart: nothing
    auto chart = std::make_unique<cetest::BarPanel>();
    chart->SetPrintProportional(true);
    previewer.SetChart(chart.get());
    previewer.Options = 0;
    previewer.Title = "Print Graph";
    const bool printPanel = cb::chart::PlotPanelOptions().PrintPanelBackground;
    bool shown = false;
    previewer.OnShow = [&](QDialog* form) {
        shown = true;
        QTimer::singleShot(0, form, [&, form] {
            auto* dialog = static_cast<TChartPreview*>(form);
            EXPECT_EQ(dialog->windowTitle(), "Print Graph");
            EXPECT_FALSE(dialog->CBPrinters->isEnabled());
            EXPECT_FALSE(dialog->BSetupPrinter->isEnabled());
            EXPECT_FALSE(dialog->ChangeDetailGroup->isEnabled());
            EXPECT_FALSE(dialog->Orientation->isEnabled());
            EXPECT_FALSE(dialog->GBMargins->isEnabled());
            EXPECT_FALSE(dialog->PlotPreviewPanel1->AllowResize);
            EXPECT_FALSE(dialog->PlotPreviewPanel1->AllowMove);
            form->accept();
        });
    };
    previewer.Execute();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(chart->PrintProportional());
    EXPECT_EQ(cb::chart::PlotPanelOptions().PrintPanelBackground, printPanel);
    // The first showing is in landscape; the orientation the user chose
    // stays for the next showing.
    EXPECT_EQ(previewer.Printer().pageLayout().orientation(), QPageLayout::Landscape);
    bool landscape = true;
    previewer.OnShow = [&](QDialog* form) {
        QTimer::singleShot(0, form, [&, form] {
            EXPECT_EQ(static_cast<TChartPreview*>(form)->RBLandscape->isChecked(), landscape);
            form->accept();
        });
    };
    previewer.Execute();
    EXPECT_EQ(previewer.Printer().pageLayout().orientation(), QPageLayout::Landscape);
    landscape = false;
    previewer.Printer().setPageOrientation(QPageLayout::Portrait);
    previewer.Execute();
    EXPECT_EQ(previewer.Printer().pageLayout().orientation(), QPageLayout::Portrait);
    // A chart that goes is forgotten.
    chart.reset();
    EXPECT_EQ(previewer.Chart(), nullptr);
}

TEST(ChartPreview, MarginsAgainstTheirOppositeAndOrientationStays) {
    cetest::BarPanel chart;
    chart.SetPrintProportional(false);
    chart.SetPrintMargins(TRect{10, 20, 10, 50});
    TChartPreview form;
    form.PlotPreviewPanel1->SetPanel(&chart);
    form.show();
    EXPECT_EQ(form.UDTopMa->value(), 20);
    EXPECT_EQ(form.UDBotMa->value(), 50);
    // 60 on top of 50 at the bottom is refused; 30 is taken.
    form.UDTopMa->setValue(60);
    EXPECT_EQ(form.UDTopMa->value(), 20);
    EXPECT_EQ(chart.PrintMargins().Top, 20);
    form.UDTopMa->setValue(30);
    EXPECT_EQ(chart.PrintMargins().Top, 30);
    EXPECT_TRUE(form.BReset->isEnabled());
    form.BReset->click();
    EXPECT_EQ(chart.PrintMargins().Top, 20);
    EXPECT_FALSE(form.BReset->isEnabled());
}

}  // namespace

namespace {

// A navigator over a chart of three pages that counts what it prints.
class ThreePageNavigator : public TCustomPlotNavigator {
public:
    using TCustomPlotNavigator::TCustomPlotNavigator;
    void EnableButtons() override {
        for (int i = 0; i < 4; ++i) Button(TPlotNavigateBtn(i))->setEnabled(Panel() != nullptr);
    }
    int PageCount() override { return pages; }
    void Print() override { ++printed; }
    int pages = 3;
    int printed = 0;
};

}  // namespace

TEST(ChartPreview, CarriesAPageNavigatorThatRepaintsAndPrintsEveryPage) {
    cbtest::TempDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("one.pdf")));
    cetest::BarPanel chart;
    TChartPreview form;
    form.SetPrinter(&printer);
    ThreePageNavigator* navigator = nullptr;
    form.SetPageNavigatorClass([&](QWidget* parent) { return navigator = new ThreePageNavigator(parent); });
    form.PlotPreviewPanel1->SetPanel(&chart);
    EXPECT_EQ(form.PageNavigator(), nullptr);  // made when shown
    form.show();
    ASSERT_NE(navigator, nullptr);
    EXPECT_EQ(form.PageNavigator(), navigator);
    EXPECT_EQ(navigator->parentWidget(), &form);
    EXPECT_TRUE(navigator->isVisible());
    EXPECT_EQ(navigator->Panel(), &chart);
    EXPECT_TRUE(navigator->Button(nbNext)->isEnabled());
    // Below the settings, left of the preview.
    EXPECT_GT(navigator->geometry().top(), form.CheckBox1->geometry().bottom());
    EXPECT_LT(navigator->geometry().right(), form.PlotPreviewPanel1->geometry().left());
    cetest::SaveScreenshot(form, "chart_preview_navigator.png");

    // A click repaints the preview.
    QCoreApplication::processEvents();
    int paints = 0;
    form.PlotPreviewPanel1->OnAfterDraw = [&](TPlotPreviewPanel*) { ++paints; };
    QTest::mouseClick(navigator->Button(nbNext), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_GT(paints, 0);

    // Several pages print through the navigator; one page through the preview.
    form.BPrint->click();
    EXPECT_EQ(navigator->printed, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("one.pdf")));
    navigator->pages = 1;
    form.BPrint->click();
    EXPECT_EQ(navigator->printed, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("one.pdf")));
}

TEST(ChartPreview, APrintThatFailsIsShownAndTheDialogStays) {
    cbtest::TempDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("failed.pdf")));
    cetest::BarPanel chart;
    TChartPreview form;
    form.SetPrinter(&printer);
    form.PlotPreviewPanel1->SetPanel(&chart);
    form.show();
    ASSERT_TRUE(form.BPrint->isEnabled());
    chart.fail = true;
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    form.BPrint->click();
    EXPECT_EQ(shown, "drawing failed");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ChartPreview, PrintsToAPdfFileTheUserChooses) {
    cbtest::TempDir dir;
    cetest::BarPanel chart;
    TChartPreview form;
    form.PlotPreviewPanel1->SetPanel(&chart);
    int asked = 0;
    std::string answer = dir.file("chart.pdf");
    form.OnAskPdfFile = [&] {
        ++asked;
        return answer;
    };
    form.show();
    // Offered beside the system's printers, and chosen when there are none.
    ASSERT_GT(form.CBPrinters->count(), 0);
    EXPECT_EQ(form.CBPrinters->itemText(form.CBPrinters->count() - 1), TChartPreview::KPdfFileEntry);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(form.CBPrinters->currentText(), TChartPreview::KPdfFileEntry);
    }
    form.CBPrinters->setCurrentIndex(form.CBPrinters->count() - 1);
    ASSERT_TRUE(form.BPrint->isEnabled());
    cetest::SaveScreenshot(form, "chart_preview_pdf_file.png");
    form.BPrint->click();
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(std::filesystem::exists(answer));
    std::string text;
    EXPECT_EQ(cbtest::runCommand("qpdf --check '" + answer + "' >/dev/null && pdfinfo '" + answer + "'", &text), 0);
    EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
    if (const char* shots = std::getenv("CB_SCREENSHOTS"))
        std::filesystem::copy_file(answer, std::string(shots) + "/chart_preview_printed.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
    // The next print asks again; cancelling writes nothing.
    answer.clear();
    form.BPrint->click();
    EXPECT_EQ(asked, 2);
}

// The preview's list of panels: in order, each once, the first the main
// panel, and a panel that is destroyed leaves it.
TEST_F(PreviewFixture, PanelsListKeepsOrderAndForgetsPanelsThatGo) {
    auto second = std::make_unique<cetest::BarPanel>();
    cetest::BarPanel third;
    preview.AddPanel(second.get());
    preview.AddPanel(&third);
    preview.AddPanel(second.get());  // listed already
    preview.AddPanel(nullptr);
    const TPlotPanelsList& list = preview.Panels();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.First(), &chart);
    EXPECT_EQ(list.Items(1), second.get());
    EXPECT_EQ(list.IndexOf(&third), 2);
    EXPECT_EQ(list.Items(3), nullptr);
    second.reset();
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1), &third);
    // A listed panel made the main one moves to the front; none removes the first.
    preview.SetPanel(&third);
    EXPECT_EQ(list.Panels(), (std::vector<cb::chart::TCustomPlotPanel*>{&third, &chart}));
    preview.SetPanel(nullptr);
    EXPECT_EQ(preview.Panel(), &chart);
    EXPECT_EQ(list.Count(), 1);
    preview.SetPanel(nullptr);
    EXPECT_EQ(list.Count(), 0);
    preview.SetPanel(nullptr);  // an empty list stays empty
    EXPECT_EQ(preview.Panel(), nullptr);
}

// Two listed panels print on one page, each at its own margins: one in the
// top left quarter, the other in the bottom right one.
TEST_F(PreviewFixture, TwoPanelsPrintOnOnePageEachAtItsMargins) {
    cetest::BarPanel second;
    second.SetPrintProportional(false);
    chart.SetPrintMargins(TRect{5, 5, 55, 55});
    second.SetPrintMargins(TRect{55, 55, 5, 5});
    preview.AddPanel(&second);
    preview.Print();
    const std::string pdf = dir.file("out.pdf");
    auto png = cetest::RunProgram("/usr/bin/pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, dir.file("page")});
    ASSERT_EQ(png.code, 0) << png.err;
    auto info = cetest::RunProgram("/usr/bin/pdfinfo", {pdf});
    EXPECT_NE(info.out.find("Pages:           1"), std::string::npos) << info.out;
    QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(page.isNull());
    // Ink per quarter of the page (the middle strip left out).
    int ink[2][2] = {{0, 0}, {0, 0}};
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const int qx = x < page.width() * 43 / 100 ? 0 : x > page.width() * 57 / 100 ? 1 : -1;
            const int qy = y < page.height() * 43 / 100 ? 0 : y > page.height() * 57 / 100 ? 1 : -1;
            if (qx >= 0 && qy >= 0 && qGray(page.pixel(x, y)) < 240) ++ink[qy][qx];
        }
    EXPECT_GT(ink[0][0], 50);
    EXPECT_GT(ink[1][1], 50);
    EXPECT_EQ(ink[0][1], 0);
    EXPECT_EQ(ink[1][0], 0);
}
