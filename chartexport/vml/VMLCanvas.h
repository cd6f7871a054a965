#pragma once
// A chart canvas that writes VML elements, a line or a few each, into a
// list of lines: shapes, lines, text boxes and gradients. Pen, brush and
// font state live on a small scratch canvas of its own.
#include "chartexport/core/FlatPlotCanvas.h"
#include "platform/rtl/StringList.h"

#include <memory>
#include <string>

namespace cb::gfx {
class TBitmap;
}

namespace cb::chartexport {

class TVMLCanvas : public TFlatPlotCanvas {
public:
    // Writes into lines (not owned), starting with the two head lines.
    explicit TVMLCanvas(cb::rtl::TStringList& lines);
    ~TVMLCanvas() override;

    cb::gfx::TCanvas& StateCanvas();

    // The VML text of a colour: one of fifteen names, else "#RRGGBB".
    static std::string ColorText(TColor c);

    unsigned GetTextAlignment() override { return FTextAlign; }
    void SetTextAlignment(unsigned flags) override { FTextAlign = flags; }
    std::unique_ptr<cb::chart::TPlotBlend> BeginTransparency(const TRect& r, int percent) override;
    void EndTransparency(std::unique_ptr<cb::chart::TPlotBlend> blend) override;

    void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) override;
    void DrawGraphic(int, int, const cb::gfx::TGraphic*) override {}
    void FillRectangle(const TRect& r) override;
    void LineToPoint(int x, int y) override;
    void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawRect(int x0, int y0, int x1, int y1) override;
    void DrawRoundedRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void StretchGraphic(const TRect&, const cb::gfx::TGraphic*) override {}
    void ClipToRect(const TRect&) override {}
    void ClipToRoundRect(const TRect&, int) override {}
    void ClipToEllipse(const TRect&, bool) override {}
    void ClipToPolygon(std::span<const TPoint>) override {}
    void FillBackground(const TRect& r) override { FillRectangle(r); }
    void FillGradient(const TRect& r, TColor start, TColor end, cb::chart::TGradientDirection direction,
                      int balance) override;
    void DrawPolyline(std::span<const TPoint> points) override;
    void DrawPolygon(std::span<const TPoint> points) override;
    void OutputRotatedText(int x, int y, const std::string& text, double angle) override;
    void RemoveClip() override {}

    TRect BeginDraw(cb::gfx::TCanvas* canvas, cb::chart::TView3DOptions* options, TColor background, bool is3D,
                    const TRect& r) override;
    void EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) override;
    void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
    void OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) override;
    void OutputTextAtDepth(int x, int y, int z, const std::string& text) override;

private:
    void Add(const std::string& line) { FLines.Add(line); }
    std::string PenPart(const std::string& name, bool lineElement);
    std::string PenTail(const std::string& name);
    std::string ShapeOpening();
    std::string Opacity() const;
    void RectElement(const char* name, TRect r, bool withPen);
    void PathShape(std::span<const TPoint> points, bool closed);
    void TextElement(int x, int y, const std::string& text, TColor color);

    cb::rtl::TStringList& FLines;
    std::unique_ptr<cb::gfx::TBitmap> FState;
    unsigned FTextAlign = 0;
    int FTransparency = 0;
    TRect FBounds;
};

}  // namespace cb::chartexport
