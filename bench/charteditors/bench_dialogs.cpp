// Opening each chart editor dialog of the style and format family on the
// program's own chart (the chart view after its first query on the sample
// cube), beside opening the print preview of that same chart, in the same
// run. Each dialog is created, bound to its object of the chart, shown
// modally, drawn once whole and closed; the medians of 15 openings are
// printed with their ratio to the preview. Target: each opens in at most
// 100 ms.
#include "bench/BenchTiming.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/views/MainGraphDisplay.h"
#include "chart/component/Chart.h"
#include "chart/component/ChartLegend.h"
#include "chart/component/ChartTitle.h"
#include "chart/panel/PlotShape.h"
#include "chart/series/ChartSeries.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartGridNavigator.h"
#include "charteditors/format/AxisIncrementDialog.h"
#include "charteditors/format/FormatEditor.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/FontEditor.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"
#include "charteditors/style/ShapeEditor.h"

#include <QApplication>
#include <QTimer>
#include <QVBoxLayout>

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

// Drawn once whole, then closed, once the dialog runs its loop.
void DrawAndClose(QDialog* d) {
    QTimer::singleShot(0, d, [d] {
        d->grab();
        d->reject();
    });
}

template <class T>
std::function<void()> OpenEditor(QWidget* owner, TEditedObject object) {
    return [owner, object] {
        auto d = CreateEditorDialog<T>(owner);
        d->BindObject(object);
        DrawAndClose(d.get());
        d->exec();
    };
}

// A dialog holding the data grid and its navigator on the chart.
class TGridDialog : public QDialog {
public:
    TGridDialog(QWidget* owner, cb::chart::TCustomAxisPanel* chart) : QDialog(owner) {
        auto* layout = new QVBoxLayout(this);
        auto* grid = new TChartGrid(this);
        auto* nav = new TChartGridNavigator(this);
        layout->addWidget(nav);
        layout->addWidget(grid);
        grid->SetChart(chart);
        nav->SetGrid(grid);
        resize(420, 340);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    // The program's chart view after its first query, as the main window
    // shows it.
    auto description = std::make_unique<cb::app::TCubeConnectionString>();
    description->ConnectionType = cb::app::TConnectionType::ctLocalCubeFile;
    description->FileName = std::string(CB_BIN_DIR) + "/Local Cubes/Tavo_sample.cub";
    auto connection = std::make_unique<cb::app::TMSOLAPConnection>(std::move(description));
    if (!connection->GetCurrentCubeDef()) {
        std::fprintf(stderr, "bench_dialogs: the sample cube could not be opened\n");
        return 2;
    }
    cb::app::TDisplayManager dm{cb::app::TAppContext{}};
    QWidget host;
    host.resize(900, 420);
    cb::app::TfrmMainBottomContainer container(&host, &dm);
    static char gridKey = 0;
    dm.OpenCube(connection.get(), reinterpret_cast<cb::grid::TExtStringGrid*>(&gridKey), nullptr);
    container.ShowChartView(connection->GetCurrentCubeDef().get());
    cb::app::TfrmMainGraphDisplay* view = container.ChartView();
    dm.SetChart(container.GetChart());
    container.setGeometry(0, 0, 900, 420);
    host.show();
    dm.Refresh();
    QCoreApplication::processEvents();
    cb::chart::TChart* chart = view->chartGraph();
    if (chart->NumberOfSeries() == 0) {
        std::fprintf(stderr, "bench_dialogs: the chart view shows no series\n");
        return 2;
    }
    cb::chart::TChartSeries* series = chart->SeriesAt(0);
    int points = 0;
    for (int i = 0; i < chart->NumberOfSeries(); ++i) points += chart->SeriesAt(i)->PointCount();

    struct TCase {
        const char* Name;
        std::function<void()> Open;
    };
    const std::vector<TCase> cases = {
        {"pen dialog (series pen)", OpenEditor<TPenDialog>(view, TEditedObject::Part(&series->Pen(), series))},
        {"brush dialog (legend brush)", OpenEditor<TBrushDialog>(view, TEditedObject::Part(&chart->Legend().Brush(), chart))},
        {"gradient editor (chart gradient)", OpenEditor<TPlotGradientEditor>(view, TEditedObject::Part(&chart->Gradient(), chart))},
        {"shadow editor (title shadow)", OpenEditor<TPlotShadowEditor>(view, TEditedObject::Part(&chart->Title().Shadow(), chart))},
        {"font editor (title font)", OpenEditor<TPlotFontEditor>(view, TEditedObject::Part(&chart->Title().Font(), chart))},
        {"shape editor (legend)", OpenEditor<TFormPlotShape>(view, TEditedObject::Part<cb::chart::TPlotCustomShape>(&chart->Legend(), chart))},
        {"axis increment", [view] {
             TAxisIncrement d(view);
             d.IsDateTime = true;
             d.Increment = 1;
             DrawAndClose(&d);
             d.exec();
         }},
        {"number format", [view] {
             TFormatEditor d(view);
             d.Format = "#,##0.###";
             DrawAndClose(&d);
             d.exec();
         }},
        {"data grid and navigator", [view, chart] {
             TGridDialog d(view, chart);
             DrawAndClose(&d);
             d.exec();
         }},
    };
    const auto preview = [chart] {
        cb::chartexport::TChartPreviewer previewer;
        previewer.SetChart(chart);
        previewer.OnShow = [](QDialog* d) { DrawAndClose(d); };
        previewer.Execute();
    };

    constexpr int runs = 15;
    std::vector<std::vector<double>> times(cases.size());
    std::vector<double> previews;
    for (int k = 0; k < runs; ++k) {
        for (size_t c = 0; c < cases.size(); ++c) times[c].push_back(TimeMs(cases[c].Open));
        previews.push_back(TimeMs(preview));
    }
    const double p = Median(previews);
    std::printf("program's chart: %d series, %d points\n", chart->NumberOfSeries(), points);
    std::printf("print preview of the same chart, opened and closed: median %.1f ms\n", p);
    bool ok = true;
    for (size_t c = 0; c < cases.size(); ++c) {
        const double m = Median(times[c]);
        ok = ok && m <= 100;
        std::printf("%-34s median %6.1f ms  ratio to preview %.2f  (target <= 100 ms)\n", cases[c].Name, m, m / p);
    }
    return ok ? 0 : 1;
}
