// Texts a cube or a server supplies (captions, member names, measure and cube
// names, values, error messages) are shown as written wherever they meet
// mark-up: tags show as text, and a click opens nothing.
#include "MDXTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/MessageBoxInterface.h"
#include "app/ui/views/GridDisplay.h"
#include "grid/ExtStringGrid.h"
#include "grid/util/TextUtils.h"
#include "olap/engine/CubeBuilder.h"
#include "olap/engine/CubeFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace cb::app;

namespace {

class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void open(const QUrl& url) { Urls.append(url); }
};

const char* const kSchemes[] = {"http", "https", "mailto", "file"};

// The captions a hostile cube carries: links, tags, entities and a bare
// address (the grid turns no plain address into a link either).
const std::vector<std::string> kCaptions = {
    "<A href=\"mailto:a@b\">mail me</A>",
    "<B>bold</B> <I>and</I>",
    "&lt;&amp; <a href=\"http://127_0_0_1/\">x</a>",
    "mailto:a@b",
};
const std::string kCubeName = "<I>Shop</I>";
const std::string kMeasure = "<B>Revenue</B>";

std::string BuildHostileCube(const cbtest::TempDir& dir) {
    cb::olap::CubeBuilder b(kCubeName);
    b.SetLastDataUpdate("2024-01-02 03:04:05");
    const int customer = b.AddDimension("Customer", {"Name"});
    b.AddMeasure(kMeasure, cb::olap::Aggregation::Sum, "#,##0");
    double value = 1;
    for (const std::string& caption : kCaptions) {
        const uint32_t leaf = b.Leaf(customer, {caption});
        b.AddFact(&leaf, &value);
        value += 1;
    }
    const std::string path = dir.file("hostile.cub");
    cb::olap::WriteCubeFile(*b.Finish(), path);
    return path;
}

class HostileCaptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        config = std::make_unique<TCubeBrowserConfig>(app.Dir().file("app.ini"), app.Dir().path().string());
        app.Config = config.get();
        connection = cbtest::OpenLocalCube(BuildHostileCube(app.Dir()), app.Context());
        dm = std::make_unique<TDisplayManager>(app.Context(), std::make_unique<TMDXDisplayManager>(app.Context()));
        view = std::make_unique<TfrmGridDisplay>(nullptr, dm.get(), app.Context());
        view->resize(900, 400);
        dm->OpenCube(connection.get(), view->gridDisplay, nullptr);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        for (const char* scheme : kSchemes) QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    }
    void TearDown() override {
        for (const char* scheme : kSchemes) QDesktopServices::unsetUrlHandler(scheme);
    }

    cb::grid::TExtStringGrid& Grid() { return *view->gridDisplay; }
    QPoint Centre(int col, int row) {
        const auto r = Grid().CellRect(col, row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The cell that shows the text (leading blanks of depth aside).
    std::pair<int, int> CellShowing(const std::string& text) {
        for (int r = 0; r < Grid().RowCount(); ++r)
            for (int c = 0; c < Grid().ColCount(); ++c) {
                std::string t = Grid().Cells(c, r);
                t.erase(0, t.find_first_not_of(' '));
                if (t == text) return {c, r};
            }
        return {-1, -1};
    }

    cbtest::TTestContext app;
    TUrlCatcher catcher;
    std::unique_ptr<TCubeBrowserConfig> config;
    std::unique_ptr<TMSOLAPConnection> connection;
    std::unique_ptr<TDisplayManager> dm;
    std::unique_ptr<TfrmGridDisplay> view;
};

}  // namespace

TEST_F(HostileCaptionTest, CaptionsShowTheirTagsAndClicksOpenNothing) {
    // Drill into (All) so that every hostile member has a row.
    const auto [ac, ar] = CellShowing("All");
    ASSERT_GE(ac, 0);
    QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(ac, ar));
    ASSERT_TRUE(app.UI.Errors.empty()) << app.UI.Errors.front();

    std::vector<std::string> shown = kCaptions;
    shown.push_back(kMeasure);
    for (const std::string& text : shown) {
        SCOPED_TRACE(text);
        const auto [c, r] = CellShowing(text);
        ASSERT_GE(c, 0) << "no cell shows the text as written";
        EXPECT_EQ(cb::grid::CellTextKind(Grid().Cells(c, r), Grid().EnableHTML), cb::grid::ctkPlain);
        // Press, click and double-click on the caption: nothing is handed
        // to the desktop, and the view stays a pivot view.
        const int rows = Grid().RowCount();
        QTest::mouseClick(view->gridDisplay, Qt::LeftButton, {}, Centre(c, r));
        QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(c, r));
        if (Grid().RowCount() != rows) QTest::mouseDClick(view->gridDisplay, Qt::LeftButton, {}, Centre(c, r));
        QApplication::processEvents();
        EXPECT_TRUE(catcher.Urls.isEmpty()) << catcher.Urls.front().toString().toStdString();
    }
    // The values are plain numbers, and the cube's name heads the view as written.
    for (QLabel* label : view->findChildren<QLabel*>())
        if (label->text().contains("Shop")) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_EQ(label->text().toStdString(), kCubeName);
        }
    view->grab().save(QString::fromStdString(
        (std::filesystem::path(CB_BIN_DIR).parent_path() / "screenshots" / "hostile-captions.png").string()));
}

// Message boxes show an error's text as written: a server's fault string
// holding a link does not become one.
TEST(HostileMessageTest, MessageBoxesShowTextsAsWritten) {
    const std::string text = "The server said: <a href=\"mailto:a@b\">mail me</a>";
    TMessageBoxInterface ui;
    struct Case {
        const char* name;
        std::function<void()> ask;
    };
    const Case cases[] = {
        {"error", [&] { ui.ShowError(text); }},
        {"information", [&] { ui.ShowInformation(text); }},
        {"OK or Cancel", [&] { ui.ConfirmOKCancel(text); }},
        {"Yes or No", [&] { ui.ConfirmYesNo(text); }},
        {"Yes, No or Cancel", [&] { ui.AskYesNoCancel(text); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cbtest::TShownBox box;
        cbtest::CloseNextMessageBox(box);
        c.ask();
        EXPECT_EQ(box.Format, Qt::PlainText);
        EXPECT_EQ(box.Text, text);
    }
}

#include "HostileCaptionTest.moc"
