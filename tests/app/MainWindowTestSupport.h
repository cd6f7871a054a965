#pragma once
// The main window in a program folder of its own, and small steps on it,
// for the end-to-end tests of the program on local and server cubes.
#include "MDXTestSupport.h"
#include "app/core/settings/Config.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/base/LogFile.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainLeftMenu.h"
#include "app/ui/main/MainMenuContainer.h"
#include "app/ui/main/MainWindow.h"
#include "chart/component/Chart.h"
#include "extras/KitItemsPanel.h"
#include "grid/ExtStringGrid.h"
#include "olap/adomd/Adomd.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cbtest {

inline std::string BinFolder() {
    return CB_BIN_DIR;
}

// The program's folder in a temporary place: themes, help and (unless told
// otherwise) the sample cube; settings, the log and the connection list
// are written there.
class TProgram {
public:
    // prepare runs on the folder before the program starts in it.
    explicit TProgram(bool withCube = true, const std::function<void(const std::string& folder)>& prepare = {}) {
        Folder = FDir.path().string() + "/";
        std::filesystem::copy_file(BinFolder() + "/themes.ini", Folder + "themes.ini");
        std::filesystem::create_directories(Folder + "help");
        std::filesystem::copy_file(BinFolder() + "/help/Tavo.chm", Folder + "help/Tavo.chm");
        if (withCube) {
            std::filesystem::create_directories(Folder + "Local Cubes");
            std::filesystem::copy_file(SamplePath(), Folder + "Local Cubes/Tavo_sample.cub");
        }
        if (prepare) prepare(Folder);
        Log = std::make_unique<cb::app::TLogFile>(Folder + "cube_browser.log");
        Config = std::make_unique<cb::app::TCubeBrowserConfig>(Folder + "app.ini", Folder);
        const cb::app::TAppContext context{Log.get(), Config.get(), &UI};
        DisplayManager =
            std::make_unique<cb::app::TDisplayManager>(context, std::make_unique<cb::app::TMDXDisplayManager>(context));
        Window = std::make_unique<cb::app::TfrmMain>(context, DisplayManager.get(), Folder);
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    ~TProgram() {
        if (Window) Window->close();
        Window.reset();
        DisplayManager.reset();
    }

    static std::string SamplePath() { return BinFolder() + "/Local Cubes/Tavo_sample.cub"; }

    cb::grid::TExtStringGrid* Grid() const { return Window->HomeContainer()->GetGrid(); }
    cb::app::TfrmMainLeftMenu* LeftMenu() const { return Window->MenuContainer()->LeftMenu(); }
    const cb::app::TMDXBuilder& Builder() const { return DisplayManager->GetBuilder(); }
    std::string LogText() const { return readFile(Folder + "cube_browser.log"); }

    // Every non-empty cell text of the grid.
    std::vector<std::string> GridTexts() const {
        std::vector<std::string> texts;
        if (auto* g = Grid())
            for (int r = 0; r < g->RowCount(); ++r)
                for (int c = 0; c < g->ColCount(); ++c)
                    if (!g->Cells(c, r).empty()) texts.push_back(g->Cells(c, r));
        return texts;
    }
    bool GridShows(const std::string& text) const {
        for (const auto& t : GridTexts())
            if (t.find(text) != std::string::npos) return true;
        return false;
    }

    // The first cell whose key is the text; (-1, -1) when none is.
    std::pair<int, int> Cell(const std::string& key) const {
        if (auto* g = Grid())
            for (int r = 0; r < g->RowCount(); ++r)
                for (int c = 0; c < g->ColCount(); ++c)
                    if (DisplayManager->GetCellKey(c, r) == key) return {c, r};
        return {-1, -1};
    }
    QPoint Centre(int col, int row) const {
        const auto r = Grid()->CellRect(col, row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The formatted value of one cell of the cube, read by a query of its own.
    std::string CellValue(const std::string& measure, const std::string& member) const {
        cb::olap::Cellset cellset;
        cellset.SetActiveConnection(LocalCubeConnectionString(SamplePath()));
        cellset.Open("SELECT {" + measure + "} ON COLUMNS, {" + member + "} ON ROWS FROM [Tavo_sample]");
        return cellset.Item(0, 0)->FormattedValue();
    }

    // A picture of the window, kept as a test artifact.
    void Shot(const std::string& name) {
        QApplication::processEvents();
        const std::filesystem::path dir = std::filesystem::path(BinFolder()).parent_path() / "screenshots";
        std::filesystem::create_directories(dir);
        Window->grab().save(QString::fromStdString((dir / (name + ".png")).string()));
    }

    std::string Folder;
    TRecordingUI UI;
    std::unique_ptr<cb::app::TLogFile> Log;
    std::unique_ptr<cb::app::TCubeBrowserConfig> Config;
    std::unique_ptr<cb::app::TDisplayManager> DisplayManager;
    std::unique_ptr<cb::app::TfrmMain> Window;

private:
    TempDir FDir;
};

// Double-clicks the dimension list's entry with the caption.
inline void DoubleClickDimension(cb::app::TfrmMainLeftMenu* menu, const std::string& caption) {
    auto* list = menu->ipDimensions;
    for (int i = 0; i < list->Items().Count(); ++i)
        if (list->Items()[i] == caption) {
            const auto r = list->GetItemRect(i);
            const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, p);
            return;
        }
    ADD_FAILURE() << "no entry " << caption;
}

// Whether a point of some series of the chart carries the label.
inline bool SeriesLabelled(cb::chart::TChart& chart, const std::string& label) {
    for (int s = 0; s < chart.NumberOfSeries(); ++s)
        for (int i = 0; i < chart.SeriesAt(s)->Labels().Count(); ++i)
            if (chart.SeriesAt(s)->Labels().Label(i).find(label) != std::string::npos) return true;
    return false;
}

}  // namespace cbtest
