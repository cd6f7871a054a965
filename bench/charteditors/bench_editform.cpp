// Opening the chart editor on the program's chart (the chart view after a
// query on the sample cube) beside opening that chart's print preview, in
// the same run. Each is opened modally, drawn once whole and closed; the
// medians of 15 openings are printed, and their ratio. Target: the editor
// opens in at most 300 ms.
#include "bench/BenchTiming.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/views/MainGraphDisplay.h"
#include "chart/component/Chart.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/dialog/ChartEditForm.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace cb::charteditors;

namespace {

using cbbench::Median;
using cbbench::TimeMs;

void DrawAndClose(QDialog* d, const std::string& saveTo = {}) {
    QTimer::singleShot(0, d, [d, saveTo] {
        const QPixmap shot = d->grab();
        if (!saveTo.empty()) shot.save(QString::fromStdString(saveTo));
        d->reject();
    });
}

alignas(16) char gGridTag;

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    RegisterStandardEditors();

    // The program's chart view after a real query.
    auto description = std::make_unique<cb::app::TCubeConnectionString>();
    description->ConnectionType = cb::app::TConnectionType::ctLocalCubeFile;
    description->FileName = std::string(CB_BIN_DIR) + "/Local Cubes/Tavo_sample.cub";
    cb::app::TMSOLAPConnection connection(std::move(description));
    cb::app::TDisplayManager dm{cb::app::TAppContext{}};
    QWidget host;
    host.resize(900, 420);
    cb::app::TfrmMainBottomContainer container(&host, &dm);
    dm.OpenCube(&connection, reinterpret_cast<cb::grid::TExtStringGrid*>(&gGridTag), nullptr);
    container.ShowChartView(connection.GetCurrentCubeDef().get());
    dm.SetChart(container.GetChart());
    container.setGeometry(0, 0, 900, 420);
    host.show();
    dm.Refresh();
    QCoreApplication::processEvents();
    cb::chart::TChart* chart = container.ChartView()->chartGraph();

    auto openEditor = [chart](const std::string& shot) {
        TChartEditForm form;
        form.RememberPosition = false;
        form.RememberSize = false;
        form.SetChart(chart);
        DrawAndClose(&form, shot);
        form.exec();
    };
    auto openPreview = [chart](const std::string& shot) {
        cb::chartexport::TChartPreviewer previewer;
        previewer.SetChart(chart);
        previewer.OnShow = [shot](QDialog* d) { DrawAndClose(d, shot); };
        previewer.Execute();
    };
    if (const char* dir = std::getenv("CB_BENCH_SHOTS")) {
        openEditor(std::string(dir) + "/bench-editform.png");
        openPreview(std::string(dir) + "/bench-editform-preview.png");
    }

    constexpr int runs = 15;
    std::vector<double> editor, preview;
    for (int k = 0; k < runs; ++k) {
        editor.push_back(TimeMs([&] { openEditor({}); }));
        preview.push_back(TimeMs([&] { openPreview({}); }));
    }
    const double e = Median(editor), p = Median(preview);
    std::printf("chart editor on the program's chart, opened, drawn and closed: median %.1f ms (target <= 300 ms)\n", e);
    std::printf("print preview of the same chart, opened, drawn and closed: median %.1f ms\n", p);
    std::printf("ratio editor / print preview: %.2f\n", e / p);
    return e <= 300 ? 0 : 1;
}
