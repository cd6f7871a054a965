#pragma once
// The 2D layer of the chart's one drawing interface. Every chart element
// draws through a TPlotCanvas; concrete canvases (the screen canvas, the
// export canvases) supply the abstract operations.
#include "chart/core/PlotTypes.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace cb::gfx {
class TCanvas;
class TGraphic;
}  // namespace cb::gfx

namespace cb::chart {

class TChartBrush;
class TPlotBlend;
class TPlotFont;

class TPlotCanvas : public TFontUser {
public:
    TPlotCanvas();
    TPlotCanvas(const TPlotCanvas&) = delete;
    TPlotCanvas& operator=(const TPlotCanvas&) = delete;
    virtual ~TPlotCanvas();

    // --- state ---
    // The platform canvas drawn on (not owned); its pen, brush and font are
    // the ones the primitives use.
    cb::gfx::TCanvas* ReferenceCanvas() const { return FCanvas; }
    void AttachCanvas(cb::gfx::TCanvas* canvas);
    cb::gfx::TPen& Pen();
    cb::gfx::TBrush& Brush();
    cb::gfx::TFont& Font();

    bool Metafiling() const { return FMetafiling; }
    void SetMetafiling(bool on) { FMetafiling = on; }
    // Percentage of the running transparency, 0 when none.
    int Transparency() const { return FTransparency; }
    // The rectangle of the current paint.
    const TRect& Bounds() const { return FBounds; }
    void SetBounds(const TRect& r) { FBounds = r; }
    // The font last selected with AssignFont (not owned).
    TPlotFont* ChartFont() const { return FChartFont; }
    // Called by a chart font that goes away while selected.
    void ReleaseChartFont(const TPlotFont* font) override;
    double FontZoom() const { return FFontZoom; }
    void SetFontZoom(double z) { FFontZoom = z; }

    // --- device state (abstract unless said) ---
    virtual TColor GetBackgroundColor() = 0;
    // 1 transparent, 2 opaque.
    virtual int GetBackgroundMode() = 0;
    virtual cb::gfx::TCanvas* GetDeviceContext() = 0;
    virtual bool IsMonochrome() = 0;
    virtual TColor GetPixelColor(int x, int y) = 0;
    // True: the canvas renders everything inside its own 3D scene.
    virtual bool IsFull3D() = 0;
    virtual unsigned GetTextAlignment() = 0;
    virtual bool IsBuffered() = 0;
    virtual void SetBackgroundColor(TColor c) = 0;
    virtual void SetBackgroundMode(int mode) = 0;
    virtual void SetMonochromeMode(bool on) = 0;
    virtual void PutPixel(int x, int y, TColor c) = 0;
    virtual void SetTextAlignment(unsigned flags) = 0;
    virtual void SetBuffered(bool on) = 0;

    // Makes the canvas pen a copy of pen in the given colour.
    virtual void SelectPenWithColor(const cb::gfx::TPen& pen, TColor color);
    // Remembers the background under r before a transparent drawing.
    virtual std::unique_ptr<TPlotBlend> BeginTransparency(const TRect& r, int percent);
    // Blends what was drawn since BeginTransparency with the background.
    virtual void EndTransparency(std::unique_ptr<TPlotBlend> blend);

    // --- 2D primitives ---
    // Elliptic arc in the box, counter-clockwise from the radial through
    // (x3, y3) to the radial through (x4, y4).
    virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // Flat slice of an elliptic ring; angles in radians, hole in percent.
    virtual void DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) = 0;
    virtual void DrawGraphic(int x, int y, const cb::gfx::TGraphic* graphic) = 0;
    virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
    virtual void FillRectangle(const TRect& r) = 0;
    // width one-pixel rings; r comes back shrunk by width on every side.
    virtual void DrawBevelFrame(TRect& r, TColor topLeft, TColor bottomRight, int width);
    virtual void LineToPoint(int x, int y) = 0;
    virtual void MoveToPoint(int x, int y) = 0;
    virtual void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // Right and bottom exclusive.
    virtual void DrawRect(int x0, int y0, int x1, int y1) = 0;
    virtual void DrawRoundedRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    virtual void StretchGraphic(const TRect& r, const cb::gfx::TGraphic* graphic) = 0;
    // Text under the current alignment with the chart font's effects.
    virtual void OutputText(int x, int y, const std::string& text) = 0;
    // Plus the chart font's shadow distance.
    virtual int TextWidth(const std::string& text);
    virtual int TextHeight(const std::string& text);

    // --- clipping: each ClipTo... pushes, RemoveClip pops (nesting per canvas) ---
    virtual void ClipToRect(const TRect& r) = 0;
    virtual void ClipToRoundRect(const TRect& r, int cornerSize);
    virtual void ClipToEllipse(const TRect& r, bool inverted = false);
    virtual void ClipToPolygon(std::span<const TPoint> points);

    virtual void DrawHorizontalLine(int x0, int x1, int y) = 0;
    virtual void DrawVerticalLine(int x, int y0, int y1) = 0;
    virtual void FillBackground(const TRect& r) = 0;
    virtual void FillGradient(const TRect& r, TColor start, TColor end, TGradientDirection direction, int balance) = 0;
    // The buffer no longer shows the chart.
    virtual void MarkDirty() = 0;
    virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;
    virtual void DrawPolyline(std::span<const TPoint> points) = 0;
    virtual void DrawPolygon(std::span<const TPoint> points) = 0;
    // Counter-clockwise by angle degrees about (x, y).
    virtual void OutputRotatedText(int x, int y, const std::string& text, double angle) = 0;
    virtual void RemoveClip() = 0;

    // --- helpers built on the operations above ---
    // Pen black width 1 solid, brush white solid, the default chart font,
    // no transparency, background white and transparent, alignment 0.
    void RestoreDefaults();
    void SelectPen(const cb::gfx::TPen& pen);
    void AssignBrush(const TChartBrush& brush, TColor color);
    void AssignBrushColor(const TChartBrush& brush, TColor color, TColor backgroundColor);
    // Lowers each channel by amount: the brush colour for solid brushes,
    // else the background colour.
    void SetDarkerFill(TColor color, int amount);
    void AssignFont(TPlotFont& font);
    // Height of "W".
    int FontHeight();
    void DrawRectangle(const TRect& r) { DrawRect(r.Left, r.Top, r.Right, r.Bottom); }
    void DrawEllipseRect(const TRect& r) { DrawEllipse(r.Left, r.Top, r.Right, r.Bottom); }
    void DrawRoundedRectangle(const TRect& r, int cw, int ch) {
        DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, cw, ch);
    }
    void DrawLineBetween(const TPoint& a, const TPoint& b) { DrawLine(a.X, a.Y, b.X, b.Y); }
    static bool ConvexHull(std::vector<TPoint>& points);

    // Number of clippings in force made through this canvas.
    int ClipDepth() const { return FClipCount; }

protected:
    // For ClipTo... of derived canvases: one more (or fewer) clipping.
    void NoteClipPushed() { ++FClipCount; }
    bool NoteClipPopped();
    void SetTransparencyValue(int t) { FTransparency = t; }
    void ForgetChartFont() { FChartFont = nullptr; }

private:
    cb::gfx::TCanvas* FCanvas = nullptr;
    bool FMetafiling = false;
    int FTransparency = 0;
    TRect FBounds;
    TPlotFont* FChartFont = nullptr;
    double FFontZoom = 100;
    int FClipCount = 0;
};

}  // namespace cb::chart
