#include "chart/core/PlotExceptions.h"
#include "chart/component/AxisPanel.h"
#include "tests/common/TestSupport.h"

#include <QPrinter>

#include <gtest/gtest.h>

#include <string>

using namespace cb::chart;

namespace {

// A chart of ten labelled points "P0".."P9", four to a page (three pages).
struct PagedChart {
    TAxisPanel chart;
    TChartSeries* series;
    PagedChart() {
        chart.resize(400, 300);
        series = chart.CreateSeries<TChartSeries>();
        for (int i = 0; i < 10; ++i) series->AddValue(i, "P" + std::to_string(i));
        chart.SetMaxPointsPerPage(4);
        chart.SetPage(2);
    }
};

std::unique_ptr<QPrinter> PdfPrinter(const std::string& file) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(file));
    return printer;
}

int PdfPages(const std::string& file) {
    std::string out;
    if (cbtest::runCommand("qpdf --show-npages '" + file + "'", &out) != 0) return -1;
    return std::stoi(out);
}

std::string PdfPageText(const std::string& file, int page) {
    std::string out;
    const std::string p = std::to_string(page);
    EXPECT_EQ(cbtest::runCommand("pdftotext -f " + p + " -l " + p + " '" + file + "' -", &out), 0);
    return out;
}

TEST(PrintPages, EachPageOnItsOwnSheetWithItsLabels) {
    struct Case {
        int from, to;
        int sheets;
        int firstPage;  // the chart page on the first sheet
    };
    const Case cases[] = {
        {0, 0, 3, 1},  // every page
        {2, 3, 2, 2},
        {3, 3, 1, 3},
        {2, 9, 2, 2},  // past the last page: not printed twice
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        PagedChart t;
        cbtest::TempDir dir;
        const std::string file = dir.file("chart.pdf");
        auto printer = PdfPrinter(file);
        t.chart.PrintPageRange(*printer, c.from, c.to);
        EXPECT_EQ(t.chart.Page(), 2);  // restored
        ASSERT_EQ(PdfPages(file), c.sheets);
        for (int sheet = 1; sheet <= c.sheets; ++sheet) {
            const int page = c.firstPage + sheet - 1;
            const std::string text = PdfPageText(file, sheet);
            for (int i = 0; i < 10; ++i) {
                const std::string label = "P" + std::to_string(i);
                const bool onPage = i / 4 + 1 == page;
                EXPECT_EQ(text.find(label) != std::string::npos, onPage) << "sheet " << sheet << " " << label;
            }
        }
    }
}

TEST(PrintPages, EmptyRangeStartsNoJob) {
    PagedChart t;
    cbtest::TempDir dir;
    const std::string file = dir.file("none.pdf");
    auto printer = PdfPrinter(file);
    t.chart.PrintPageRange(*printer, 3, 2);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(t.chart.Page(), 2);
}

TEST(PrintPages, FailureRestoresThePageAndPropagates) {
    PagedChart t;
    int drawn = 0;
    t.chart.OnBeforeDrawChart = [&](TCustomAxisPanel* c) {
        if (++drawn == 2) throw ChartException("failed on page " + std::to_string(c->Page()));
    };
    cbtest::TempDir dir;
    auto printer = PdfPrinter(dir.file("failed.pdf"));
    try {
        t.chart.PrintPageRange(*printer, 0, 0);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "failed on page 2");
    }
    EXPECT_EQ(t.chart.Page(), 2);
    EXPECT_NE(printer->printerState(), QPrinter::Active);
}

}  // namespace
