// Copying the chart to the clipboard through each format, and saving it
// through the save dialog as a person would.
#include "ChartExportTestSupport.h"

#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// Mean difference per channel between two pictures of one size, or the
// largest one.
double Difference(const QImage& a, const QImage& b, bool mean) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double worst = 0, sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            for (int d :
                 {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) {
                worst = std::max(worst, double(d));
                sum += d;
            }
        }
    return mean ? sum / (3.0 * x.width() * x.height()) : worst;
}

TEST(ClipboardCopy, EachFormatPutsTheChartOnTheClipboard) {
    BarPanel panel(300, 180);
    const QImage bitmap = DrawChartImage(panel, 0, 0, 300, 180);
    const QImage half = DrawChartImage(panel, 0, 0, 150, 90);
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TPlotExportFormat>()> make;
        bool lossy;  // JPEG: close on average; the others are exact
    } cases[] = {
        {"JPEG", [] { return std::make_unique<TJPEGExportFormat>(); }, true},
        {"PNG", [] { return std::make_unique<TPNGExportFormat>(); }, false},
        {"GIF", [] { return std::make_unique<TGIFExportFormat>(); }, false},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto format = c.make();
        clipboard->clear();
        EXPECT_THROW(format->CopyToClipboard(), EExportError);  // no panel
        EXPECT_TRUE(clipboard->image().isNull());
        format->Panel = &panel;
        format->CopyToClipboard();
        const QImage copied = clipboard->image();
        ASSERT_EQ(copied.size(), QSize(300, 180));
        EXPECT_LE(Difference(copied, bitmap, c.lossy), c.lossy ? 3.0 : 0.0);
        // A size of its own is kept.
        auto small = c.make();
        small->Panel = &panel;
        small->Width = 150;
        small->Height = 90;
        small->CopyToClipboard();
        ASSERT_EQ(clipboard->image().size(), QSize(150, 90));
        EXPECT_LE(Difference(clipboard->image(), half, c.lossy), c.lossy ? 3.0 : 0.0);
    }
    // The PDF format leaves the clipboard as it was.
    clipboard->setText("kept");
    TPDFExportFormat pdf;
    pdf.Panel = &panel;
    pdf.CopyToClipboard();
    EXPECT_EQ(clipboard->text(), "kept");
}

TEST(SaveDialog, OffersTheFormatsFilterAndSavesTheChosenFile) {
    BarPanel panel(240, 160);
    cbtest::TempDir dir;
    // Cancelled: nothing is written.
    AnswerSaveDialog([](QFileDialog& d) { d.reject(); });
    SaveChartAsFormat(ExportFormatClass<TGIFExportFormat>(), &panel);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    struct Case {
        TPlotExportFormatClass cls;
        const char* filter;
        const char* typed;
        const char* written;
        const char* kind;
    } cases[] = {
        {ExportFormatClass<TJPEGExportFormat>(), "JPEG files (*.jpg)", "revenue", "revenue.jpg", "JPEG"},
        {ExportFormatClass<TGIFExportFormat>(), "GIF files (*.gif)", "picture.gif", "picture.gif", "GIF"},
        {ExportFormatClass<TPNGExportFormat>(), "PNG files (*.png)", "my chart", "my chart.PNG", "PNG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        QStringList filters;
        bool confirmsOverwrite = false;
        AnswerSaveDialog([&](QFileDialog& d) {
            filters = d.nameFilters();
            confirmsOverwrite =
                d.acceptMode() == QFileDialog::AcceptSave && !d.testOption(QFileDialog::DontConfirmOverwrite);
            d.selectFile(QString::fromStdString(dir.file(c.typed)));
            QMetaObject::invokeMethod(&d, "accept");
        });
        SaveChartAsFormat(c.cls, &panel);
        EXPECT_EQ(filters, QStringList{c.filter});
        EXPECT_TRUE(confirmsOverwrite);
        const QJsonObject info = ProbeImage(dir.file(c.written));
        EXPECT_EQ(info["format"].toString(), c.kind);
        EXPECT_EQ(info["width"].toInt(), 240);
        EXPECT_EQ(info["height"].toInt(), 160);
    }
}

}  // namespace
