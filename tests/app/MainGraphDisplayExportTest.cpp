// The chart view's Export To and Print over the sample cube, driven as a
// person would: the save dialogs answered, the files read back by
// independent readers, the annotation and the printer's orientation kept.
#include "ChartViewTestSupport.h"
#include "chart/component/Chart.h"
#include "chartexport/preview/ChartPreview.h"
#include "chartexport/preview/ChartPreviewer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QPrinter>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace cb::app;

namespace {

class ChartViewExportTest : public cbtest::ChartViewFixture {
protected:
    void SetUp() override { OpenChartView(); }
    // Answers the next file dialog: typed into it and accepted, or cancelled
    // when typed is empty; notes its filters.
    void AnswerFileDialog(const std::string& typed) {
        QTimer::singleShot(0, [this, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters().join("|").toStdString();
            if (typed.empty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(QString::fromStdString(typed));
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
    QAction* ExportItem(const char* caption) { return cbtest::MenuItem(view->pmExport, caption); }
    std::string filters;
    cbtest::TempDir dir;
};

TEST_F(ChartViewExportTest, ExportToWritesEachFormatAndKeepsTheAnnotation) {
    view->SetAnnotation(true);
    // Cancelled: nothing written.
    AnswerFileDialog("");
    QTest::mouseClick(view->tbbSaveAs, Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(view->AnnotationOn());

    struct Case {
        std::function<void()> choose;
        const char* typed;
        const char* written;
        const char* filter;
        const char* reader;  // prints something with "ok" when the file reads
    } cases[] = {
        {[this] { QTest::mouseClick(view->tbbSaveAs, Qt::LeftButton); }, "view", "view.pdf", "PDF Document (*.pdf)",
         "qpdf --check {} >/dev/null && pdftotext {} - | grep -q Revenue && echo ok"},
        {[this] { ExportItem("JPEG")->trigger(); }, "view", "view.jpg", "JPEG files (*.jpg)",
         "/usr/bin/python3 -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]); print('ok' if "
         "im.format == 'JPEG' and im.size[0] > 100 else 'bad')\" {}"},
        {[this] { ExportItem("GIF")->trigger(); }, "view.gif", "view.gif", "GIF files (*.gif)",
         "giftext {} >/dev/null && echo ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        AnswerFileDialog(dir.file(c.typed));
        c.choose();
        EXPECT_EQ(filters, c.filter);
        const std::string file = dir.file(c.written);
        ASSERT_TRUE(std::filesystem::exists(file));
        std::string command = c.reader, out;
        for (size_t at; (at = command.find("{}")) != std::string::npos;) command.replace(at, 2, "'" + file + "'");
        EXPECT_EQ(cbtest::runCommand(command + " 2>&1", &out), 0) << out;
        EXPECT_NE(out.find("ok"), std::string::npos) << out;
        EXPECT_TRUE(view->AnnotationOn());
    }
}

TEST_F(ChartViewExportTest, PrintStartsInLandscapeAndKeepsTheUsersOrientation) {
    std::vector<bool> landscape;
    view->chartGraphPreviewer().OnShow = [&](QDialog* form) {
        QTimer::singleShot(0, form, [&, form] {
            auto* preview = static_cast<cb::chartexport::TChartPreview*>(form);
            landscape.push_back(preview->RBLandscape->isChecked());
            // The user turns the page for the next time.
            preview->Printer().setPageOrientation(QPageLayout::Portrait);
            form->accept();
        });
    };
    view->tbbPrintClick();
    view->tbbPrintClick();
    EXPECT_EQ(landscape, (std::vector<bool>{true, false}));
}

}  // namespace
