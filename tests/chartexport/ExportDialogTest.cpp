// The chart export dialog driven as a person would: every format saved
// through the save dialog and read back, each options form changing the
// file written, the data and native pages, and sending through a recording
// mail program.
#include "ChartExportTestSupport.h"

#include "chart/component/AxisPanel.h"
#include "chart/component/StandardSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chartexport/dialog/MailHandOver.h"
#include "chartexport/dialog/PlotExportForm.h"
#include "chartexport/metafile/EMFOptions.h"
#include "chartexport/raster/RasterOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/common/MailRecorder.h"
#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// The formats listed for the life of the object.
struct Formats {
    Formats() { RegisterChartExportFormats(); }
    ~Formats() { UnregisterChartExportFormats(); }
};

// A shown dialog for panel.
struct Dialog {
    explicit Dialog(cb::chart::TCustomPlotPanel& panel) {
        form.Panel = &panel;
        form.OnError = [this](const std::string& e) { errors.push_back(e); };
        form.show();
    }
    void Choose(const std::string& extension) {
        for (int i = 0; i < int(form.Formats().size()); ++i)
            if (form.Formats()[size_t(i)]->FileExtension() == extension) form.LBFormat->setCurrentRow(i);
    }
    // Save... answered with fileName.
    void SaveThroughDialog(const std::string& fileName, const QString& filter = {}) {
        AnswerSaveDialog([&](QFileDialog& d) {
            if (!filter.isEmpty()) d.selectNameFilter(filter);
            d.selectFile(QString::fromStdString(fileName));
            QMetaObject::invokeMethod(&d, "accept");
        });
        QTest::mouseClick(form.BSave, Qt::LeftButton);
    }
    Formats formats;
    TPlotExportForm form;
    std::vector<std::string> errors;
};

std::string Head(const std::string& file, size_t n) {
    return ReadFile(file).substr(0, n);
}

TEST(ExportDialog, EveryFormatIsSavedByItsNameAtTheSizeChosen) {
    BarPanel panel(400, 250);
    Dialog d(panel);
    EXPECT_EQ(d.form.LBFormat->count(), 7);
    EXPECT_EQ(d.form.LBFormat->item(0)->text(), "as Bitmap");
    EXPECT_EQ(d.form.EWidth->value(), 400);
    // The aspect ratio holds: 300 wide is 188 high.
    d.form.PageOptions->setCurrentWidget(d.form.TabSize);
    d.form.EWidth->setValue(300);
    EXPECT_EQ(d.form.EHeight->value(), 188);
    SaveScreenshot(d.form, "export-dialog-size.png");

    cbtest::TempDir dir;
    struct Case {
        std::string extension, file, head;
        int at;  // where head is in the file
    };
    for (const Case& c : {Case{"bmp", "chart.bmp", "BM", 0}, Case{"emf", "chart.emf", " EMF", 40},
                          Case{"HTM", "chart.htm", "<html>", 0}, Case{"gif", "chart.gif", "GIF8", 0},
                          Case{"PNG", "chart.png", "\x89PNG", 0}, Case{"jpg", "chart.jpg", "\xFF\xD8\xFF", 0},
                          Case{"pdf", "chart.pdf", "%PDF", 0}}) {
        SCOPED_TRACE(c.file);
        d.Choose(c.extension);
        d.SaveThroughDialog(dir.file(c.file));
        EXPECT_EQ(Head(dir.file(c.file), size_t(c.at) + c.head.size()).substr(size_t(c.at)), c.head);
    }
    for (const char* raster : {"chart.bmp", "chart.gif", "chart.png", "chart.jpg"}) {
        const QJsonObject info = ProbeImage(dir.file(raster));
        EXPECT_EQ(info["width"].toInt(), 300) << raster;
        EXPECT_EQ(info["height"].toInt(), 188) << raster;
    }
    // The name's extension wins over the list: a .gif is a GIF while JPEG is
    // chosen, and a .wmf is a plain metafile.
    d.Choose("jpg");
    d.SaveThroughDialog(dir.file("named.gif"));
    EXPECT_EQ(Head(dir.file("named.gif"), 4), "GIF8");
    d.SaveThroughDialog(dir.file("named.wmf"));
    EXPECT_EQ(Head(dir.file("named.wmf"), 4), "\xD7\xCD\xC6\x9A");  // placeable metafile
    EXPECT_TRUE(d.errors.empty()) << d.errors.front();

    // Without the aspect ratio width and height change apart.
    d.form.CBAspect->setChecked(false);
    d.form.EWidth->setValue(120);
    EXPECT_EQ(d.form.EHeight->value(), 188);
}

TEST(ExportDialog, OptionsFormsChangeTheFileWritten) {
    BarPanel panel(400, 250);
    Dialog d(panel);
    cbtest::TempDir dir;
    const auto size = [&](const std::string& name) { return std::filesystem::file_size(dir.file(name)); };

    d.Choose("jpg");
    auto* jpeg = dynamic_cast<TPlotJPEGOptions*>(d.form.ChosenFormat()->Options(false));
    ASSERT_NE(jpeg, nullptr);
    EXPECT_TRUE(jpeg->isVisible());
    EXPECT_EQ(jpeg->EQuality->value(), 95);
    SaveScreenshot(d.form, "export-dialog-jpeg.png");
    d.SaveThroughDialog(dir.file("q95.jpg"));
    jpeg->EQuality->setValue(20);
    d.SaveThroughDialog(dir.file("q20.jpg"));
    EXPECT_LT(size("q20.jpg"), size("q95.jpg"));
    jpeg->CBGray->setChecked(true);
    d.SaveThroughDialog(dir.file("gray.jpg"));
    EXPECT_EQ(ProbeImage(dir.file("gray.jpg"))["mode"].toString(), "L");

    d.Choose("PNG");
    auto* png = dynamic_cast<TPlotPNGOptions*>(d.form.ChosenFormat()->Options(false));
    ASSERT_NE(png, nullptr);
    EXPECT_FALSE(jpeg->isVisible());
    EXPECT_EQ(png->ELevel->value(), 9);
    d.SaveThroughDialog(dir.file("l9.png"));
    png->ELevel->setValue(0);
    d.SaveThroughDialog(dir.file("l0.png"));
    EXPECT_GT(size("l0.png"), 2 * size("l9.png"));

    // Reduced to black and white, the nearest colour draws a grey bar flat
    // and a dither as dots, which compress worse.
    panel.bars[0].color = 0x909090;
    d.Choose("gif");
    auto* gif = dynamic_cast<TPlotGIFOptions*>(d.form.ChosenFormat()->Options(false));
    ASSERT_NE(gif, nullptr);
    SaveScreenshot(d.form, "export-dialog-gif.png");
    gif->CBReduction->setCurrentText("Monochrome");
    d.SaveThroughDialog(dir.file("nearest.gif"));
    gif->CBDither->setCurrentText("Floyd Steinberg");
    d.SaveThroughDialog(dir.file("dither.gif"));
    EXPECT_GT(size("dither.gif"), size("nearest.gif"));
    const QJsonObject flat = ProbeImageAt(dir.file("nearest.gif"), {{60, 150}, {61, 151}});
    const QJsonObject mixed = ProbeImageAt(dir.file("dither.gif"), {{60, 150}, {61, 150}, {60, 151}, {61, 151}});
    EXPECT_EQ(flat["at"].toArray()[0], flat["at"].toArray()[1]);
    const QJsonArray dots = mixed["at"].toArray();
    EXPECT_TRUE(dots[0] != dots[1] || dots[0] != dots[2] || dots[0] != dots[3]) << "a red bar is dithered";

    d.Choose("bmp");
    auto* bmp = dynamic_cast<TBMPOptions*>(d.form.ChosenFormat()->Options(false));
    ASSERT_NE(bmp, nullptr);
    bmp->CBColors->setCurrentText("256 (8 bit)");
    d.SaveThroughDialog(dir.file("c8.bmp"));
    EXPECT_EQ(ProbeImageAt(dir.file("c8.bmp"), {})["mode"].toString(), "P");

    d.Choose("emf");
    auto* emf = dynamic_cast<TEMFOptions*>(d.form.ChosenFormat()->Options(false));
    ASSERT_NE(emf, nullptr);
    emf->CBEnhanced->setChecked(false);
    EXPECT_EQ(d.form.ChosenFormat()->FileExtension(), "wmf");
    d.form.SaveAs(dir.file("plain.wmf"));
    EXPECT_EQ(Head(dir.file("plain.wmf"), 4), "\xD7\xCD\xC6\x9A");
    EXPECT_TRUE(d.errors.empty());
}

// Two series of three points.
struct SeriesChart {
    SeriesChart() {
        cb::chart::RegisterStandardSeriesTypes();  // the native file names them
        chart.resize(400, 250);
        for (const char* title : {"Sales", "Costs"}) {
            auto* s = chart.CreateSeries<cb::chart::TLineSeries>();
            s->SetTitle(title);
            for (int i = 0; i < 3; ++i) s->AddPoint(i, 10 * i + 1, "p" + std::to_string(i));
        }
    }
    cb::chart::TAxisPanel chart;
};

TEST(ExportDialog, DataPageWritesTheFormatChosen) {
    SeriesChart c;
    Dialog d(c.chart);
    d.form.PageControl1->setCurrentWidget(d.form.TabData);
    EXPECT_EQ(d.form.CBSeries->count(), 3);
    EXPECT_EQ(d.form.CBDelim->currentText(), "Tab");
    EXPECT_TRUE(d.form.BCopy->isEnabled());
    SaveScreenshot(d.form, "export-dialog-data.png");
    cbtest::TempDir dir;

    // A custom delimiter with the save dialog's own choice kept is text.
    d.form.CBDelim->setCurrentText("Custom");
    EXPECT_TRUE(d.form.ECustom->isEnabled());
    d.form.ECustom->setText("|");
    d.SaveThroughDialog(dir.file("custom.txt"));
    const std::string text = ReadFile(dir.file("custom.txt"));
    EXPECT_EQ(text.find("<?xml"), std::string::npos) << text;
    EXPECT_NE(text.find("p1|"), std::string::npos) << text;
    EXPECT_EQ(d.form.RGText->checkedId(), 0);

    // The save dialog's XML entry chooses XML.
    d.SaveThroughDialog(dir.file("points.xml"), "XML files (*.xml)");
    EXPECT_EQ(d.form.RGText->checkedId(), 1);
    EXPECT_EQ(RunProgram("/usr/bin/xmllint", {"--noout", dir.file("points.xml")}).code, 0);

    // Excel: no copy, but a save.
    d.form.RGText->button(3)->click();
    EXPECT_FALSE(d.form.BCopy->isEnabled());
    EXPECT_TRUE(d.form.BSave->isEnabled());
    EXPECT_FALSE(d.form.CBDelim->isEnabled());

    // Native: text form copied, file size shown, file saved as .dza.
    d.form.PageControl1->setCurrentWidget(d.form.TabNative);
    EXPECT_FALSE(d.form.BCopy->isEnabled());
    d.form.CBNativeFormat->setCurrentText("Text");
    EXPECT_TRUE(d.form.BCopy->isEnabled());
    d.form.CBFileSize->setChecked(true);
    EXPECT_TRUE(d.form.LabelSize->text().endsWith(" bytes")) << d.form.LabelSize->text().toStdString();
    d.form.CBNativeFormat->setCurrentText("Binary");
    d.SaveThroughDialog(dir.file("chart.bin"));
    EXPECT_EQ(Head(dir.file("chart.dza"), 4), std::string("\x60\x30\x57\x01", 4));
    EXPECT_TRUE(d.errors.empty()) << d.errors.front();
}

TEST(ExportDialog, PanelWithoutSeriesHasPicturesOnly) {
    BarPanel panel(200, 100);
    Dialog d(panel);
    EXPECT_FALSE(d.form.PageControl1->isTabVisible(d.form.PageControl1->indexOf(d.form.TabData)));
    EXPECT_FALSE(d.form.PageControl1->isTabVisible(d.form.PageControl1->indexOf(d.form.TabNative)));
}

TEST(ExportDialog, SendHandsTheFileOverAndKeepsItForTheMailProgram) {
    BarPanel panel(300, 200);
    {
        // No mail program: no Send.
        Dialog d(panel);
        d.form.MailProgram = "no-such-mail-program";
        d.form.PageControl1->setCurrentWidget(d.form.TabNative);
        d.form.PageControl1->setCurrentWidget(d.form.TabPicture);
        EXPECT_FALSE(d.form.BSend->isEnabled());
    }
    cbtest::TMailRecorder recorder;
    Dialog d(panel);
    d.Choose("PNG");
    ASSERT_TRUE(d.form.BSend->isEnabled());
    QTest::mouseClick(d.form.BSend, Qt::LeftButton);
    ASSERT_TRUE(d.errors.empty()) << d.errors.front();
    const auto args = recorder.Arguments();
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 4),
              (std::vector<std::string>{"--utf8", "--subject", "DezAvoze", "--attach"}));
    const std::string sent = args[4];
    EXPECT_EQ(std::filesystem::path(sent).filename(), "DezAvoze.PNG");
    // The mail program reads the attachment when it likes: it stays.
    EXPECT_EQ(ProbeImage(sent)["format"].toString(), "PNG");
    // A later hand-over removes it only once it is old.
    const std::string young = NewMailHandOverFolder();
    EXPECT_TRUE(std::filesystem::exists(sent));
    const std::string later = NewMailHandOverFolder(std::chrono::hours(0));
    EXPECT_FALSE(std::filesystem::exists(sent));
    std::filesystem::remove_all(young);
    std::filesystem::remove_all(later);

    // A mail program that refuses: the error names it and nothing is left.
    cbtest::TMailRecorder refusing(3);
    QTest::mouseClick(d.form.BSend, Qt::LeftButton);
    ASSERT_EQ(d.errors.size(), 1u);
    EXPECT_EQ(d.errors[0].rfind("Can not email DezAvoze. ", 0), 0u) << d.errors[0];
    const std::string refused = refusing.Arguments().back();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(refused).parent_path()));
}

}  // namespace
