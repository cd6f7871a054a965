// The program on a server cube, as a person uses it: the sample cube opens
// at start, the open-cube window connects to the test OLAP server and opens
// its cube, then a dimension goes to the rows, members are drilled, a member
// selection is applied, the chart shows, and a server that fails leaves the
// open cube alone. Screenshots of the steps go to the build folder
// ("screenshots/server-*.png").
#include "app/core/base/LogFile.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/OpenCubeDialog.h"
#include "app/ui/dialogs/SelectMembersForDisplay.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/main/MainLeftMenu.h"
#include "app/ui/main/MainMenuContainer.h"
#include "app/ui/main/MainWindow.h"
#include "chart/component/Chart.h"
#include "extras/KitCheckListBox.h"
#include "extras/KitItemsPanel.h"
#include "extras/KitTreeView.h"
#include "grid/ExtStringGrid.h"
#include "olap/xmla/XmlaProvider.h"
#include "tests/app/MainWindowTestSupport.h"
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

namespace {

using cbtest::DoubleClickDimension;
using cbtest::OnNextModal;
using cbtest::SeriesLabelled;

// The program with the sample cube and a saved connection to the test server.
class TProgram : public cbtest::TProgram {
public:
    TProgram()
        : cbtest::TProgram(true, [](const std::string& folder) {
              const std::string address = ShopServer().Address;  // http://127.0.0.1:<port>/xmla
              const size_t colon = address.rfind(':');
              cbtest::writeFile(folder + "tavo_browser_connection_list.con",
                                "[Connections]\nNumConnections=1\n[Connection1]\nConnectionName=Shop server\n"
                                "ConnectionHost=127.0.0.1\nConnectionPort=" +
                                    address.substr(colon + 1, address.size() - colon - 6) + "\n");
          }) {}

    QPoint Centre(std::pair<int, int> cell) const { return cbtest::TProgram::Centre(cell.first, cell.second); }
    // The text right of a row's caption cell.
    std::string ValueRightOf(std::pair<int, int> cell) const { return Grid()->Cells(cell.first + 1, cell.second); }
    void Shot(const std::string& name) { cbtest::TProgram::Shot("server-" + name); }
};

std::vector<std::string> Items(const QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
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
    EXPECT_EQ(w.Connection()->GetDescription()->ConnectionType, TConnectionType::ctAnalysisServer);

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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu.timDoubleClickJustRan->isActive(); }, 5000));
    DoubleClickDimension(&menu, "Product");
    EXPECT_NE(p.Cell("[Product].[All Products]").first, -1);
    w.acUndo->trigger();
    EXPECT_EQ(p.Cell("[Product].[All Products]").first, -1);
    w.acRedo->trigger();
    EXPECT_NE(p.Cell("[Product].[All Products]").first, -1);
    p.Shot("03-product");

    // Member selection of Customer by a double click on its name: the whole
    // dimension in hierarchy order, then France and Japan alone.
    OnNextModal<TfrmSelectMembersForDisplay>([](TfrmSelectMembersForDisplay* dialog) {
        auto* tree = dialog->tvDimensionMembers;
        EXPECT_EQ(tree->NodeCount(), 1 + 1 + 3 + 6 + 8);  // the dimension, All, regions, countries, cities
        dialog->SetAllChecked(false);
        for (int i = 0; i < tree->NodeCount(); ++i)
            if (tree->Node(i)->Text() == "France" || tree->Node(i)->Text() == "Japan")
                tree->SetNodeChecked(tree->Node(i), true);
        cbtest::SaveScreenshot(*dialog, "server-04a-member-selection.png");
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    });
    QTest::mouseDClick(p.Grid(), Qt::LeftButton, {}, p.Centre(p.Cell("[Customer]")));
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
    EXPECT_TRUE(SeriesLabelled(*chart, "France") || SeriesLabelled(*chart, "All Products")) << "no server caption";
    p.Shot("05-chart");
    ASSERT_TRUE(p.UI.Errors.empty()) << p.UI.Errors[0];

    // Close: a server cube is remembered by its type, without a file name.
    w.close();
    EXPECT_EQ(p.Config->LastCubeConnectionType, static_cast<std::uint8_t>(TConnectionType::ctAnalysisServer));
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
        description->ConnectionType = TConnectionType::ctAnalysisServer;
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
        if (std::filesystem::exists(p.Folder + file)) {
            EXPECT_EQ(cbtest::readFile(p.Folder + file).find(cbtest::xmla::StubPassword), std::string::npos) << file;
        }
    }
    cb::olap::xmla::ForgetPasswords();
}
