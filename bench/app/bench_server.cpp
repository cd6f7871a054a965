// A server cube through the main window, on the test OLAP server (started
// here on loopback): the time the open-cube window takes to list a fresh
// server's catalogs and cubes, then from its OK to the default view shown
// (connection, cube structure, left menu, default query, grid), the first
// time and again; and the time of a drill (query and grid) into a member and
// back. Prints the figures.
#include "app/core/base/LogFile.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/core/settings/Config.h"
#include "app/ui/main/MainWindow.h"
#include "olap/xmla/XmlaProvider.h"
#include "tests/app/MDXTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/xmla/XmlaTestServers.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace cb::app;
namespace fs = std::filesystem;

namespace {

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const auto& server = cbtest::xmla::ShopServer();  // cold: nothing asked of it yet

    cbtest::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const std::string bin = CB_BIN_DIR;
    fs::copy_file(bin + "/themes.ini", folder + "themes.ini");
    fs::create_directories(folder + "Local Cubes");
    fs::copy_file(bin + "/Local Cubes/Tavo_sample.cub", folder + "Local Cubes/Tavo_sample.cub");
    cbtest::TRecordingUI ui;
    TLogFile log(folder + "cube_browser.log");
    TCubeBrowserConfig config(folder + "app.ini", folder);
    config.DontDisplayTutorialOnStartup = true;
    const TAppContext context{&log, &config, &ui};
    TDisplayManager dm(context, std::make_unique<TMDXDisplayManager>(context));
    TfrmMain window(context, &dm, folder);
    window.show();
    QApplication::processEvents();

    auto open = [&] {
        auto description = std::make_unique<TCubeConnectionString>();
        description->ConnectionType = TConnectionType::ctAnalysisServer;
        description->ServerName = server.Address;
        description->Catalog = "Shop";
        const auto start = std::chrono::steady_clock::now();
        window.OpenCubeWith(std::move(description), "Sales");
        const double ms = Ms(std::chrono::steady_clock::now() - start);
        if (!dm.IsCubeOpen() || dm.GetCubeCaption() != "Sales" || !ui.Errors.empty()) {
            std::fprintf(stderr, "bench_server: the server cube did not open: %s\n",
                         ui.Errors.empty() ? "" : ui.Errors[0].c_str());
            std::exit(1);
        }
        return ms;
    };
    // What the open-cube window asks before its OK: the catalogs, the cubes.
    const auto listStart = std::chrono::steady_clock::now();
    cb::olap::xmla::ListCatalogs(server.Address);
    cb::olap::xmla::ListCubes(server.Address, "Shop");
    const double listing = Ms(std::chrono::steady_clock::now() - listStart);
    const double cold = open();
    std::vector<double> warm;
    for (int i = 0; i < 15; ++i) warm.push_back(open());

    // Drill into the All member and collapse again, each a query and a grid.
    std::vector<double> drills;
    const std::string all = "[Customer].[All Customers]";
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        dm.ToggleDrillDown(all);
        drills.push_back(Ms(std::chrono::steady_clock::now() - start));
    }
    std::printf("bench_server: the open-cube window lists the catalogs and cubes of a server just started: %.0f ms\n",
                listing);
    std::printf("bench_server: open a server cube with its default view, from OK: first %.0f ms, then median %.0f ms "
                "(max %.0f ms, %zu runs)\n",
                cold, Median(warm), *std::max_element(warm.begin(), warm.end()), warm.size());
    std::printf("bench_server: drill into or collapse a member: median %.1f ms (max %.1f ms, %zu runs)\n",
                Median(drills), *std::max_element(drills.begin(), drills.end()), drills.size());
    window.close();
    return 0;
}
