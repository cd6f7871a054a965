// The program on a server cube, as a person uses it: the sample cube opens
// at start, the open-cube window connects to the test OLAP server and opens
// its cube, then a dimension goes to the rows, members are drilled, a member
// selection is applied, the chart shows, and a server that fails leaves the
// open cube alone. Screenshots of the steps go to the build folder
// ("screenshots/server-*.png").
#include "app/core/Config.h"
#include "app/core/CubeConnection.h"
#include "app/core/CubeModel.h"
#include "app/core/DisplayManager.h"
#include "app/core/LogFile.h"
#include "app/core/MDXDisplayManager.h"
#include "app/ui/HomeContainer.h"
#include "app/ui/MainBottomContainer.h"
#include "app/ui/MainLeftMenu.h"
#include "app/ui/MainMenuContainer.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OpenCubeDialog.h"
#include "chart/component/Chart.h"
#include "extras/KitCheckListBox.h"
#include "extras/KitItemsPanel.h"
#include "grid/ExtStringGrid.h"
#include "olap/xmla/XmlaProvider.h"
#include "tests/app/MDXTestSupport.h"
#include "tests/app/SmallWindowsSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/xmla/XmlaTestServers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::app;
using cbtest::xmla::ShopServer;
namespace fs = std::filesystem;

namespace {

const std::string kBin = CB_BIN_DIR;

// The program's folder in a temporary place with the sample cube, and the
// main window over it.
class TProgram {
public:
    TProgram() {
        Folder = FDir.path().string() + "/";
        fs::copy_file(kBin + "/themes.ini", Folder + "themes.ini");
        fs::create_directories(Folder + "help");
        fs::copy_file(kBin + "/help/Tavo.chm", Folder + "help/Tavo.chm");
        fs::create_directories(Folder + "Local Cubes");
        fs::copy_file(kBin + "/Local Cubes/Tavo_sample.cub", Folder + "Local Cubes/Tavo_sample.cub");
        // A saved server connection, as the connection list keeps it.
        const std::string address = ShopServer().Address;  // http://127.0.0.1:<port>/xmla
        const size_t colon = address.rfind(':');
        cbtest::writeFile(Folder + "tavo_browser_connection_list.con",
                          "[Connections]\nNumConnections=1\n[Connection1]\nConnectionName=Shop server\n"
                          "ConnectionHost=127.0.0.1\nConnectionPort=" +
                              address.substr(colon + 1, address.size() - colon - 6) + "\n");
        Log = std::make_unique<TLogFile>(Folder + "cube_browser.log");
        Config = std::make_unique<TCubeBrowserConfig>(Folder + "app.ini", Folder);
        const TAppContext context{Log.get(), Config.get(), &UI};
        DisplayManager = std::make_unique<TDisplayManager>(context, std::make_unique<TMDXDisplayManager>(context));
        Window = std::make_unique<TfrmMain>(context, DisplayManager.get(), Folder);
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    ~TProgram() {
        if (Window) Window->close();
        Window.reset();
        DisplayManager.reset();
    }

    cb::grid::TExtStringGrid* Grid() const { return Window->HomeContainer()->GetGrid(); }
    TfrmMainLeftMenu* LeftMenu() const { return Window->MenuContainer()->LeftMenu(); }
    const TMDXBuilder& Builder() const { return DisplayManager->GetBuilder(); }

    // The first cell whose key is the text; (-1, -1) when none is.
    std::pair<int, int> Cell(const std::string& key) const {
        if (auto* g = Grid())
            for (int r = 0; r < g->RowCount(); ++r)
                for (int c = 0; c < g->ColCount(); ++c)
                    if (DisplayManager->GetCellKey(c, r) == key) return {c, r};
        return {-1, -1};
    }
    QPoint Centre(std::pair<int, int> cell) const {
        const auto r = Grid()->CellRect(cell.first, cell.second);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The text right of a row's caption cell.
    std::string ValueRightOf(std::pair<int, int> cell) const { return Grid()->Cells(cell.first + 1, cell.second); }

    void Shot(const std::string& name) {
        QApplication::processEvents();
        const fs::path dir = fs::path(kBin).parent_path() / "screenshots";
        fs::create_directories(dir);
        Window->grab().save(QString::fromStdString((dir / ("server-" + name + ".png")).string()));
    }

    std::string Folder;
    cbtest::TRecordingUI UI;
    std::unique_ptr<TLogFile> Log;
    std::unique_ptr<TCubeBrowserConfig> Config;
    std::unique_ptr<TDisplayManager> DisplayManager;
    std::unique_ptr<TfrmMain> Window;

private:
    cbtest::TempDir FDir;
};

// Runs f on the next modal window of type T once it shows.
template <class T, class F>
void OnNextModal(F f) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
        if (auto* w = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            f(w);
        }
    });
    timer->start();
}

void DoubleClickDimension(TfrmMainLeftMenu* menu, const std::string& caption) {
    auto* list = menu->ipDimensions;
    for (int i = 0; i < list->Items().Count(); ++i)
        if (list->Items()[i] == caption) {
            const auto r = list->GetItemRect(i);
            QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier,
                               QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            return;
        }
    ADD_FAILURE() << "no entry " << caption;
}

std::vector<std::string> Items(const QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
}

bool ChartLabelled(cb::chart::TChart& chart, const std::string& label) {
    for (int s = 0; s < chart.NumberOfSeries(); ++s)
        for (int i = 0; i < chart.SeriesAt(s)->Labels().Count(); ++i)
            if (chart.SeriesAt(s)->Labels().Label(i).find(label) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(ServerEndToEnd, BrowsesAServerCube) {
    TProgram p;
    TfrmMain& w = *p.Window;
    ASSERT_TRUE(p.DisplayManager->IsCubeOpen());  // the sample cube
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];

    // The open-cube window: the saved connection lists the server's
    // catalogs and the first one's cubes; the Shop catalog is chosen.
    OnNextModal<TfrmOpenCube>([&p](TfrmOpenCube* dialog) {
        EXPECT_EQ(Items(dialog->lstConnections).size(), 1u);
        dialog->lstConnections->setCurrentRow(0);
        emit dialog->lstConnections->itemClicked(dialog->lstConnections->item(0));
        EXPECT_TRUE(dialog->rbServer->isChecked());
        EXPECT_EQ(dialog->edtServer->text().toStdString(),
                  ShopServer().Address.substr(7, ShopServer().Address.size() - 12));
        ASSERT_EQ(dialog->cmbCatalog->count(), 2);
        dialog->cmbCatalog->setCurrentIndex(dialog->cmbCatalog->findText("Shop"));
        EXPECT_EQ(Items(dialog->lstCubes), std::vector<std::string>{"Sales"});
        cbtest::SaveScreenshot(*dialog, "server-00-open-cube.png");
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    w.acOpenCube->trigger();
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];
    ASSERT_TRUE(p.DisplayManager->IsCubeOpen());
    EXPECT_EQ(p.DisplayManager->GetCubeCaption(), "Sales");
    ASSERT_NE(w.Connection(), nullptr);
    EXPECT_EQ(w.Connection()->GetDescription()->ConnectionType, ctAnalysisServer);

    // The default view: the first measure over the first dimension's All member.
    const auto all = p.Cell("[Customer].[All Customers]");
    ASSERT_NE(all.first, -1);
    EXPECT_EQ(p.Grid()->Cells(all.first, all.second), "All Customers");
    EXPECT_EQ(p.ValueRightOf(all), "7,616.25");
    TfrmMainLeftMenu& menu = *p.LeftMenu();
    EXPECT_EQ(menu.ipDimensions->Items()[0], "Customer");
    EXPECT_EQ(menu.ipDimensions->Items()[1], "    (All)");
    EXPECT_EQ(menu.ipDimensions->Items()[2], "    Region");
    ASSERT_EQ(menu.cblMeasures->Items().Count(), 4);
    EXPECT_EQ(menu.cblMeasures->Items()[3], "    Profit");
    EXPECT_TRUE(menu.cblMeasures->GetChecked(0));
    p.Shot("01-opened");

    // Drill into the All member by a double click on its caption, then into Europe.
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(all));
    const auto europe = p.Cell("[Customer].[All Customers].[Europe]");
    ASSERT_NE(europe.first, -1);
    EXPECT_EQ(p.ValueRightOf(europe), "3,920.00");
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(europe));
    const auto zurich = p.Cell("[Customer].[All Customers].[Europe].[Switzerland]");
    ASSERT_NE(zurich.first, -1);
    p.Shot("02-drilled");
    // Collapsing Europe again.
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(p.Cell("[Customer].[All Customers].[Europe]")));
    EXPECT_EQ(p.Cell("[Customer].[All Customers].[Europe].[Switzerland]").first, -1);
    EXPECT_NE(p.Cell("[Customer].[All Customers].[Asia]").first, -1);

    // Product to the rows from the left menu; undo takes it back.
    QTest::qWait(450);
    DoubleClickDimension(&menu, "Product");
    EXPECT_NE(p.Cell("[Product].[All Products]").first, -1);
    w.acUndo->trigger();
    EXPECT_EQ(p.Cell("[Product].[All Products]").first, -1);
    w.acRedo->trigger();
    EXPECT_NE(p.Cell("[Product].[All Products]").first, -1);
    p.Shot("03-product");

    // Member selection of Customer, as the grid view applies it: the whole
    // dimension in hierarchy order with the members on the axis ticked;
    // then France and Japan alone.
    {
        auto dimension = p.DisplayManager->BuildDimension("[Customer]");
        ASSERT_TRUE(dimension);
        ASSERT_EQ(dimension->GetMemberCount(), 1 + 1 + 3 + 6 + 8);  // level, All, regions, countries, cities
        EXPECT_EQ(dimension->GetMember(1)->UniqueName, "[Customer].[All Customers]");
        EXPECT_TRUE(dimension->GetMember(1)->Selected);
        EXPECT_EQ(dimension->GetMember(2)->UniqueName, "[Customer].[All Customers].[America]");
        EXPECT_EQ(dimension->GetMember(3)->Depth, 2);
        EXPECT_EQ(dimension->GetMember(18)->Caption, "Zürich");
        const int axis = p.DisplayManager->GetAxisOfDimension("Customer");
        p.DisplayManager->SaveUndoState();
        p.DisplayManager->RemoveFromAxes("[Customer]", false);
        p.DisplayManager->AppendToAxis(
            {"[Customer].[All Customers].[Europe].[France]", "[Customer].[All Customers].[Asia].[Japan]"}, axis);
        p.DisplayManager->Refresh();
    }
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];
    EXPECT_NE(p.Cell("[Customer].[All Customers].[Europe].[France]").first, -1);
    EXPECT_NE(p.Cell("[Customer].[All Customers].[Asia].[Japan]").first, -1);
    EXPECT_EQ(p.Cell("[Customer].[All Customers]").first, -1);
    p.Shot("04-member-selection");

    // The chart pane: the chart's points carry the server's captions.
    w.acShowHideGraph->trigger();
    ASSERT_TRUE(w.ChartPaneShown());
    cb::chart::TChart* chart = w.BottomContainer()->GetChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_GT(chart->NumberOfSeries(), 0);
    EXPECT_TRUE(ChartLabelled(*chart, "France") || ChartLabelled(*chart, "All Products")) << "no server caption";
    p.Shot("05-chart");
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];

    // Close: a server cube is remembered by its type, without a file name.
    w.close();
    EXPECT_EQ(p.Config->LastCubeConnectionType, ctAnalysisServer);
    EXPECT_EQ(cbtest::readFile(p.Folder + "app.ini").find("s3cret"), std::string::npos);
}

TEST(ServerEndToEnd, AServerThatFailsLeavesTheOpenCubeAlone) {
    TProgram p;
    TfrmMain& w = *p.Window;
    ASSERT_TRUE(p.DisplayManager->IsCubeOpen());
    const std::string mdx = p.DisplayManager->GetMDX();
    auto* connection = w.Connection();
    const std::string address = cbtest::xmla::DownAddress();

    struct Case {
        std::string server, catalog, cube;
        std::string error;  // a part of the error shown
    } cases[] = {
        {address, "Shop", "Sales", "The analysis server " + address + " cannot be reached"},
        {ShopServer().Address, "Broken", "Sales", "nation"},
        {ShopServer().Address, "Shop", "Stock", "there is no cube \"Stock\""},
        {ShopServer().Address, "Nowhere", "Sales", "has no catalog \"Nowhere\""},
    };
    for (const Case& c : cases) {
        p.UI.Errors.clear();
        auto description = std::make_unique<TCubeConnectionString>();
        description->ConnectionType = ctAnalysisServer;
        description->ServerName = c.server;
        description->Catalog = c.catalog;
        w.OpenCubeWith(std::move(description), c.cube);
        ASSERT_FALSE(p.UI.Errors.empty()) << c.server;
        EXPECT_NE(p.UI.Errors.back().find(c.error), std::string::npos) << p.UI.Errors.back();
        // The sample cube is still open and shown, through the same connection.
        EXPECT_TRUE(p.DisplayManager->IsCubeOpen());
        EXPECT_EQ(w.Connection(), connection);
        EXPECT_EQ(p.DisplayManager->GetMDX(), mdx);
        EXPECT_EQ(p.DisplayManager->GetCubeCaption(), "Tavo sample");
    }
    p.Shot("06-failed-server");
}

TEST(ServerEndToEnd, TheOpenCubeWindowAsksForAPasswordWhenTheServerWantsOne) {
    TProgram p;
    const std::string address = cbtest::xmla::StubAddress("/login");
    cb::olap::xmla::ForgetPasswords();
    bool asked = false;
    OnNextModal<TfrmOpenCube>([&](TfrmOpenCube* dialog) {
        // The login window comes up while the catalogs are listed.
        OnNextModal<QDialog>([&](QDialog* login) {
            if (login->objectName() != "frmServerLogin") return;
            asked = true;
            login->findChild<QLineEdit*>("edtUser")->setText(cbtest::xmla::StubUser);
            login->findChild<QLineEdit*>("edtPassword")->setText(cbtest::xmla::StubPassword);
            cbtest::SaveScreenshot(*login, "server-07-login.png");
            login->accept();
        });
        dialog->edtServer->setText(QString::fromStdString(address));
        QTest::mouseClick(dialog->btnConnect, Qt::LeftButton);
        EXPECT_EQ(dialog->cmbCatalog->count(), 1);
        dialog->reject();
    });
    p.Window->acOpenCube->trigger();
    EXPECT_TRUE(asked);
    // Typed passwords go nowhere: not into the log, the settings or the connection list.
    p.Window->close();
    for (const char* file : {"cube_browser.log", "app.ini", "tavo_browser_connection_list.con"}) {
        if (fs::exists(p.Folder + file)) {
            EXPECT_EQ(cbtest::readFile(p.Folder + file).find(cbtest::xmla::StubPassword), std::string::npos) << file;
        }
    }
    cb::olap::xmla::ForgetPasswords();
}
