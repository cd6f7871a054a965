#pragma once
// The previewer component: set its options and call Execute to show the
// print preview dialog for its chart.
#include "platform/gfx/Color.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QDialog;
class QPrinter;

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

class TChartPreview;

enum TChartPreviewOption : unsigned {
    cpoChangePrinter = 1,
    cpoSetupPrinter = 2,
    cpoResizeChart = 4,
    cpoMoveChart = 8,
    cpoChangeDetail = 16,
    cpoChangePaperOrientation = 32,
    cpoChangeMargins = 64,
    cpoProportional = 128,
    cpoDragChart = 256,
    cpoPrintPanel = 512,
    cpoAsBitmap = 1024
};
using TChartPreviewOptions = unsigned;

enum TWindowState {
    wsNormal,
    wsMinimized,
    wsMaximized
};

class TChartPreviewer {
public:
    TChartPreviewer();
    ~TChartPreviewer();
    TChartPreviewer(const TChartPreviewer&) = delete;
    TChartPreviewer& operator=(const TChartPreviewer&) = delete;

    // The chart is watched, not owned: once it goes it is forgotten.
    void SetChart(cb::chart::TCustomPlotPanel* chart);
    cb::chart::TCustomPlotPanel* Chart() const;

    TChartPreviewOptions Options = 255;
    cb::gfx::TColor PaperColor = cb::gfx::clWhite;
    std::string Title;
    TWindowState WindowState = wsNormal;
    // Called with the dialog before it shows and after it closes.
    std::function<void(QDialog*form)> OnShow, OnClose;
    std::function<void()> OnAfterDraw;

    // Shows the dialog modally for the chart; nothing without a chart.
    void Execute();
    // The dialog while it is shown.
    TChartPreview* Form() const { return FForm; }
    // The printer kept from one showing to the next, so that the user's
    // orientation and choice of printer stay; it starts in landscape.
    QPrinter& Printer();

private:
    QPointer<QObject> FChart;
    cb::chart::TCustomPlotPanel* FChartPanel = nullptr;
    TChartPreview* FForm = nullptr;
    std::unique_ptr<QPrinter> FPrinter;
};

}  // namespace cb::chartexport
