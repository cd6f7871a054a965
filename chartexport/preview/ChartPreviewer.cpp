#include "chartexport/preview/ChartPreviewer.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/preview/ChartPreview.h"
#include "platform/rtl/ScopeGuard.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPrinter>
#include <QPushButton>

namespace cb::chartexport {

TChartPreviewer::TChartPreviewer() = default;
TChartPreviewer::~TChartPreviewer() = default;

QPrinter& TChartPreviewer::Printer() {
    if (!FPrinter) FPrinter = NewChartPrinter();
    return *FPrinter;
}

void TChartPreviewer::SetChart(cb::chart::TCustomPlotPanel* chart) {
    if (chart == Chart()) return;
    FChart = chart;
    FChartPanel = chart;
}

cb::chart::TCustomPlotPanel* TChartPreviewer::Chart() const {
    return FChart ? FChartPanel : nullptr;
}

void TChartPreviewer::Execute() {
    auto* chart = Chart();
    if (!chart) return;
    TChartPreview form;
    form.SetPrinter(&Printer());
    FForm = &form;
    auto& options = cb::chart::PlotPanelOptions();
    const bool oldPrintPanel = options.PrintPanelBackground;
    const auto done = cb::rtl::OnScopeExit([&] {
        options.PrintPanelBackground = oldPrintPanel;
        if (OnClose) OnClose(&form);
        FForm = nullptr;
        if (auto* c = Chart()) {
            c->Invalidate();
            c->SetCancelMouse(true);
        }
    });
    if (!Title.empty()) form.setWindowTitle(QString::fromStdString(Title));
    TPlotPreviewPanel& panel = *form.PlotPreviewPanel1;
    panel.SetPanel(chart);
    panel.OnAfterDraw = [this](TPlotPreviewPanel*) {
        if (OnAfterDraw) OnAfterDraw();
    };
    if (WindowState == wsMaximized) form.setWindowState(Qt::WindowMaximized);
    form.Options = Options;
    panel.AllowResize = Options & cpoResizeChart;
    panel.AllowMove = Options & cpoMoveChart;
    chart->SetPrintProportional(chart->PrintProportional() && (Options & cpoProportional));
    panel.DragImage = Options & cpoDragChart;
    options.PrintPanelBackground = Options & cpoPrintPanel;
    panel.SetAsBitmap(Options & cpoAsBitmap);
    panel.SetPaperColor(PaperColor);
    if (OnShow) OnShow(&form);
    form.exec();
}

}  // namespace cb::chartexport
