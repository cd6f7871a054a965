#pragma once
// The draw line tool: the user draws straight lines with the mouse,
// selects one, and drags it whole or by an end. Lines are kept in axis
// units, so they follow zooming and scrolling; the line being drawn or
// dragged is an overlay drawn from the tool's state.
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <memory>
#include <vector>

namespace cb::chart {

enum TDrawLineStyle {
    dlLine,
    dlHorizParallel,
    dlVertParallel
};

class TDrawLineTool;

class TDrawLine {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
        TDrawLineStyle Style = dlLine;
        bool operator==(const TSettings&) const = default;
    };

    explicit TDrawLine(TDrawLineTool* owner = nullptr) : FOwner(owner) {}
    double X0() const { return FSettings.X0; }
    double Y0() const { return FSettings.Y0; }
    double X1() const { return FSettings.X1; }
    double Y1() const { return FSettings.Y1; }
    void SetX0(double v) { store(FSettings.X0, v); }
    void SetY0(double v) { store(FSettings.Y0, v); }
    void SetX1(double v) { store(FSettings.X1, v); }
    void SetY1(double v) { store(FSettings.Y1, v); }
    TDrawLineStyle Style() const { return FSettings.Style; }
    void SetStyle(TDrawLineStyle s) { store(FSettings.Style, s); }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TDrawLine& source);
    TDrawLineTool* Owner() const { return FOwner; }

private:
    template <class T>
    void store(T& field, T v);
    TDrawLineTool* FOwner;
    TSettings FSettings;
};

// The tool's lines, owned, in drawing order.
class TDrawLines {
public:
    explicit TDrawLines(TDrawLineTool* owner) : FOwner(owner) {}
    int Count() const { return int(FItems.size()); }
    TDrawLine* operator[](int i) const { return FItems.at(std::size_t(i)).get(); }
    TDrawLine* Add();
    TDrawLine* Add(double x0, double y0, double x1, double y1);
    // Deleting the selected line clears the selection.
    void Delete(int index);
    void Clear();
    void Assign(const TDrawLines& source);

private:
    TDrawLineTool* FOwner;
    std::vector<std::unique_ptr<TDrawLine>> FItems;
};

class TDrawLineTool : public TPlotCustomToolSeries {
public:
    TDrawLineTool();
    ~TDrawLineTool() override;

    TPlotMouseButton Button() const { return FButton; }
    void SetButton(TPlotMouseButton b) { FButton = b; }
    bool EnableDraw() const { return FEnableDraw; }
    void SetEnableDraw(bool on) { FEnableDraw = on; }
    bool EnableSelect() const { return FEnableSelect; }
    // Off clears the selection.
    void SetEnableSelect(bool on);
    TDrawLines& Lines() { return FLines; }
    void SetLines(const TDrawLines& lines) { FLines.Assign(lines); }
    TDrawLine* Selected() const { return FSelected; }
    // None clears the selection.
    void SetSelected(TDrawLine* line);
    bool Drawing() const { return FDrawing; }

    std::function<void(TDrawLineTool*)> OnNewLine, OnSelect, OnDragLine, OnDraggedLine;
    std::function<void(TDrawLineTool*, TDrawLine*, bool& allowSelect)> OnSelecting;

    // Pixels of a line's ends and the value of a pixel point.
    TPoint StartPixel(const TDrawLine& line) const;
    TPoint EndPixel(const TDrawLine& line) const;
    // The line under the point: the selected one first, then the first in
    // order; a line's body, else a start handle, else an end handle.
    TDrawLine* LineAt(int x, int y) const;

    virtual void ClipToAxes();
    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TDrawLineEdit"; }

private:
    friend class TDrawLines;
    enum THit {
        hitLine,
        hitStart,
        hitEnd
    };
    enum TDragMode {
        dragNone,
        dragStart,
        dragEnd,
        dragLine
    };
    TPoint unprojected(int x, int y) const;
    bool hits(const TDrawLine& line, THit kind, const TPoint& p) const;
    TDrawLine* lineAt(THit kind, const TPoint& p) const;
    void drawLine(const TPoint& s, const TPoint& e, TDrawLineStyle style);
    void paintLines();
    void paintRubberBand();
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp();

    TPlotMouseButton FButton = mbLeft;
    bool FEnableDraw = true;
    bool FEnableSelect = true;
    TDrawLines FLines;
    TDrawLine* FSelected = nullptr;
    bool FDrawing = false;
    TDragMode FDrag = dragNone;
    TPoint FFrom{0, 0}, FTo{0, 0};
    TPoint FLast{0, 0};
};

template <class T>
void TDrawLine::store(T& field, T v) {
    if (field == v) return;
    field = v;
    if (FOwner) FOwner->InvalidateChart();
}

}  // namespace cb::chart
