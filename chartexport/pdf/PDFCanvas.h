#pragma once
// A chart canvas that turns every drawing operation into PDF page
// operators appended to a chart object's content stream. One pixel is one
// PDF unit; page y grows upwards. Pen, brush and font state live on a small
// scratch canvas of its own, so nothing reaches a device.
#include "chart/canvas/PlotBlend.h"
#include "chartexport/core/FlatPlotCanvas.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::gfx {
class TBitmap;
}

namespace cb::chartexport {

struct TPDFChartObject;

class TPDFCanvas : public TFlatPlotCanvas {
public:
    // Writes for chartObject (not owned).
    explicit TPDFCanvas(TPDFChartObject& chartObject);
    ~TPDFCanvas() override;

    // The canvas holding pen, brush and font; DrawOnCanvas is given it.
    cb::gfx::TCanvas& StateCanvas();
    int PageWidth() const { return FPageWidth; }
    int PageHeight() const { return FPageHeight; }

    std::unique_ptr<cb::chart::TPlotBlend> BeginTransparency(const TRect& r, int percent) override;
    void EndTransparency(std::unique_ptr<cb::chart::TPlotBlend> blend) override;

    void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) override;
    void DrawGraphic(int x, int y, const cb::gfx::TGraphic* graphic) override;
    void FillRectangle(const TRect& r) override;
    void LineToPoint(int x, int y) override;
    void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawRect(int x0, int y0, int x1, int y1) override;
    void DrawRoundedRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void StretchGraphic(const TRect& r, const cb::gfx::TGraphic* graphic) override;
    void ClipToRect(const TRect& r) override;
    void ClipToRoundRect(const TRect& r, int cornerSize) override;
    void ClipToEllipse(const TRect& r, bool inverted = false) override;
    void ClipToPolygon(std::span<const TPoint> points) override;
    void FillBackground(const TRect& r) override;
    void FillGradient(const TRect& r, TColor start, TColor end, cb::chart::TGradientDirection direction,
                      int balance) override;
    void DrawPolyline(std::span<const TPoint> points) override;
    void DrawPolygon(std::span<const TPoint> points) override;
    void OutputRotatedText(int x, int y, const std::string& text, double angle) override;
    void RemoveClip() override;

    TRect BeginDraw(cb::gfx::TCanvas* canvas, cb::chart::TView3DOptions* options, TColor background, bool is3D,
                    const TRect& r) override;
    void EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) override;
    void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
    void OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) override;
    void OutputTextAtDepth(int x, int y, int z, const std::string& text) override;

private:
    void Out(const std::string& s);
    std::string ColorText(TColor c) const;
    std::string PenText();
    std::string BrushText();
    std::string Pt(double x, double y) const;
    std::string PaintOp();
    void RectOps(double left, double top, double right, double bottom, bool fillOnly);
    void ArcOps(bool pie, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void EllipsePath(double cx, double cy, double rx, double ry);
    void TextOps(double x, double y, const std::string& text, double angle);
    void PushClip(const std::string& path);
    void InlineImage(const TRect& r, const cb::gfx::TGraphic* graphic);

    TPDFChartObject& FObject;
    std::unique_ptr<cb::gfx::TBitmap> FState;
    int FPageWidth = 0;
    int FPageHeight = 0;
    // One entry per clipping in force: true when it wrote a "q".
    std::vector<bool> FClips;
};

}  // namespace cb::chartexport
