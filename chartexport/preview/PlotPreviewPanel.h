#pragma once
// The print preview panel: a sheet of paper in the printer's proportions
// with chart panels drawn where they would print. Dragging the chart's
// edges, corners or the chart itself changes its print margins (percent of
// the page). The same component prints its panels, all on one page.
#include "chartexport/preview/PlotPanelsList.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

enum TPlotPreviewPanelOrientation {
    ppoDefault,
    ppoPortrait,
    ppoLandscape
};

// Drag zones of the image rectangle.
enum TPreviewDragZone {
    pdzNone = 0,
    pdzLeft = 1,
    pdzTop = 2,
    pdzRight = 3,
    pdzBottom = 4,
    pdzMove = 5,
    pdzTopLeft = 6,
    pdzTopRight = 7,
    pdzBottomLeft = 8,
    pdzBottomRight = 9
};

// The guide lines' pen: dotted by default.
struct TPreviewChartPen {
    bool Visible = true;
    cb::gfx::TColor Color = cb::gfx::clBlack;
    bool SmallDots = true;
};

struct TPreviewPaperShadow {
    cb::gfx::TColor Color = 0x808080;
    int Size = 4;
};

class TPlotPreviewPanel : public QWidget {
public:
    explicit TPlotPreviewPanel(QWidget* parent = nullptr);
    ~TPlotPreviewPanel() override;

    bool AllowResize = true;
    bool AllowMove = true;
    bool DragImage = false;
    bool ShowImage = true;
    bool SmoothBitmap = true;
    std::string Title;
    TPreviewChartPen Margins;
    TPreviewPaperShadow PaperShadow;
    // Settings that repaint when changed.
    bool AsBitmap() const { return FAsBitmap; }
    void SetAsBitmap(bool on);
    TPlotPreviewPanelOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPlotPreviewPanelOrientation o);
    cb::gfx::TColor PaperColor() const { return FPaperColor; }
    void SetPaperColor(cb::gfx::TColor c);

    // The first listed panel; none removes it. Panels are watched, not owned.
    cb::chart::TCustomPlotPanel* Panel() const;
    void SetPanel(cb::chart::TCustomPlotPanel* panel);
    // Further panels printed on the same page.
    void AddPanel(cb::chart::TCustomPlotPanel* panel);
    const TPlotPanelsList& Panels() const { return FPanels; }
    int PanelCount() const { return FPanels.Count(); }

    // The printer shown and printed on (not owned); none uses the panel's own.
    void SetPrinter(QPrinter* printer);
    QPrinter& Printer();
    // Whether pages come from the printer (any system printer, or a printer
    // that writes a file); otherwise the screen's proportions are used.
    bool HasPrinter();

    // Fired after each drag step with "disable proportional" and the margins.
    std::function<void(TPlotPreviewPanel*, bool, const cb::gfx::TRect&)> OnChangeMargins;
    std::function<void(TPlotPreviewPanel*, cb::gfx::TRect&)> OnGetPaperRect;
    std::function<void(TPlotPreviewPanel*)> OnAfterDraw;

    // Layout, computed on every paint and mouse press.
    void UpdateLayout();
    cb::gfx::TRect CalcPaperRect();
    cb::gfx::TRect CalcImageRect(const cb::gfx::TRect& paper, cb::chart::TCustomPlotPanel* panel);
    const cb::gfx::TRect& PaperRect() const { return FPaperRect; }
    const cb::gfx::TRect& ImageRect() const { return FImageRect; }
    int ZoneAt(int x, int y) const;
    // Paper rectangle of a page W x H in a client cw x ch.
    static cb::gfx::TRect PaperRectFor(int pageWidth, int pageHeight, int clientWidth, int clientHeight);

    // Prints every listed panel on one page of the printer; the job is
    // aborted and the error passed on when drawing fails.
    void Print();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyOrientation();
    void DrawPanel(QPainter& painter, cb::chart::TCustomPlotPanel* panel);
    void DrawPanelInto(QPainter& painter, cb::chart::TCustomPlotPanel* panel, const cb::gfx::TRect& image);
    void UpdateMargins();

    TPlotPanelsList FPanels;
    std::unique_ptr<QPrinter> FOwnPrinter;
    QPrinter* FPrinter = nullptr;
    bool FAsBitmap = false;
    TPlotPreviewPanelOrientation FOrientation = ppoDefault;
    cb::gfx::TColor FPaperColor = cb::gfx::clWhite;
    cb::gfx::TRect FPaperRect, FImageRect;
    int FDragging = pdzNone;
    QPoint FOldMouse;
    cb::gfx::TRect FOldImage;
};

}  // namespace cb::chartexport
