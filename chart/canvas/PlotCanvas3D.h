#pragma once
// The screen canvas: draws on a platform canvas, by default through an
// off-screen buffer copied to the window at the end of a paint, and projects
// the chart's 3D view (flat, orthogonal, rotated with perspective and tilt).
// The export canvases derive from it and override the device operations.
#include "chart/canvas/Canvas3D.h"

#include <memory>

namespace cb::gfx {
class TBitmap;
}

namespace cb::chart {

class TPlotCanvas3D : public TCanvas3D {
public:
    TPlotCanvas3D();
    ~TPlotCanvas3D() override;

    // --- projection ---
    void ProjectPoint(int& x, int& y, int z) const;
    void ProjectPointPair(TPoint& p, int z) const { ProjectPoint(p.X, p.Y, z); }
    TPoint ProjectCoords(int x, int y, int z) const;
    TPoint ProjectPoint3D(const TPoint3D& p) const { return ProjectCoords(p.X, p.Y, p.Z); }
    TPoint ProjectFloatPoint(double x, double y, int z) const;
    // Fills the rotation terms from the options' angles.
    void CalcRotation();
    // Fills the perspective flag and factor for the chart rectangle.
    void CalcPerspective(const TRect& chartRect);
    bool Is3D() const { return FIs3D; }
    double ZoomFactor() const { return FZoom; }
    bool HasPerspective() const { return FHasPerspective; }
    TPoint3D ProjectionCenter() const { return {FXCenter, FYCenter, FZCenter}; }
    TPoint ProjectionOffset() const { return {FXOffset, FYOffset}; }

    // --- buffer ---
    virtual void DrawStoredQuad();
    virtual void FreeBuffer();
    virtual void CopyBufferTo(int x, int y, cb::gfx::TCanvas* canvas);
    cb::gfx::TBitmap* Buffer() const { return FBuffer.get(); }
    bool IsDirty() const { return FDirty; }
    // Repaints the panel after a monochrome change.
    TChangeEvent OnRepaintRequest;

    // --- TPlotCanvas ---
    TColor GetBackgroundColor() override;
    int GetBackgroundMode() override;
    cb::gfx::TCanvas* GetDeviceContext() override;
    bool IsMonochrome() override { return FMonochrome; }
    TColor GetPixelColor(int x, int y) override;
    bool IsFull3D() override { return false; }
    unsigned GetTextAlignment() override;
    bool IsBuffered() override { return FBuffered; }
    void SetBackgroundColor(TColor c) override;
    void SetBackgroundMode(int mode) override;
    void SetMonochromeMode(bool on) override;
    void PutPixel(int x, int y, TColor c) override;
    void SetTextAlignment(unsigned flags) override;
    void SetBuffered(bool on) override;
    void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) override;
    void DrawGraphic(int x, int y, const cb::gfx::TGraphic* graphic) override;
    void DrawEllipse(int x1, int y1, int x2, int y2) override;
    void FillRectangle(const TRect& r) override;
    void LineToPoint(int x, int y) override;
    void MoveToPoint(int x, int y) override;
    void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawRect(int x0, int y0, int x1, int y1) override;
    void DrawRoundedRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void StretchGraphic(const TRect& r, const cb::gfx::TGraphic* graphic) override;
    void OutputText(int x, int y, const std::string& text) override;
    void ClipToRect(const TRect& r) override;
    void DrawHorizontalLine(int x0, int x1, int y) override;
    void DrawVerticalLine(int x, int y0, int y1) override;
    void FillBackground(const TRect& r) override;
    void FillGradient(const TRect& r, TColor start, TColor end, TGradientDirection direction, int balance) override;
    void MarkDirty() override { FDirty = true; }
    void DrawLine(int x0, int y0, int x1, int y1) override;
    void DrawPolyline(std::span<const TPoint> points) override;
    void DrawPolygon(std::span<const TPoint> points) override;
    void OutputRotatedText(int x, int y, const std::string& text, double angle) override;
    void RemoveClip() override;

    // --- TCanvas3D ---
    TColor GetPixelColorAtDepth(int x, int y, int z) override;
    bool DrawsTextAtDepth() override { return false; }
    void PutPixelAtDepth(int x, int y, int z, TColor c) override;
    void UnprojectPoint(int& x, int& y, int z) override;
    TPoint ProjectToPoint(int x, int y, int z) override { return ProjectCoords(x, y, z); }
    TRect BeginDraw(cb::gfx::TCanvas* canvas, TView3DOptions* options, TColor background, bool is3D,
                    const TRect& r) override;
    void SetProjectionCenter(int depth, const TRect& bounds, const TRect& chartRect) override;
    void EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) override;
    bool ShowBufferIfValid() override;
    void DrawArrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headLength, int z) override;
    void ClipToBox(const TRect& r, int z0, int z1) override;
    void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken,
                  int topPercent) override;
    void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool darkenSides) override;
    void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken) override;
    void Suspend3D() override;
    void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
    void Resume3D() override;
    void DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) override;
    void DrawVerticalLineAtDepth(int x, int y0, int y1, int z) override;
    void DrawDepthLine(int x, int y, int z0, int z1) override;
    void DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) override;
    void MoveToAtDepth(int x, int y, int z) override;
    void LineToAtDepth(int x, int y, int z) override;
    void DrawPieSlice3D(int xc, int yc, int rx, int ry, int z0, int z1, double a0, double a1, bool darken,
                        bool drawSides, int donutPercent, const TCustomPlotGradient* gradient) override;
    void DrawPlaneBetween(const TPoint& p1, const TPoint& p2, int z0, int z1) override;
    void DrawQuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int z) override;
    void DrawQuadWithDepths(const TPoint points[4], int z0, int z1) override;
    void DrawPolygonAtDepth(std::span<const TPoint> points, int z) override;
    void DrawPolylineAtDepth(std::span<const TPoint> points, int z) override;
    void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken) override;
    void DrawFrustum(const TRect& base, int z0, int z1, int topHalfWidth, int topHalfDepth) override;
    void DrawRectAtDepth(const TRect& r, int z) override;
    void DrawRectAtY(int x0, int y, int x1, int z0, int z1) override;
    void DrawRectAtX(int x, int y0, int y1, int z0, int z1) override;
    void OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) override;
    void DrawCircleAtDepth(int xc, int yc, int z, double radius) override;
    void ReservedOperation(int, int, int, int, int, int) override {}
    void OutputTextAtDepth(int x, int y, int z, const std::string& text) override;
    void DrawColoredTriangle(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c) override;
    void DrawTriangleAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) override;

protected:
    cb::gfx::TCanvas& C();
    // The four points DrawStoredQuad draws (scratch space of the solids).
    TPoint FStoredQuad[4];
    void StoreQuad(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c, const TPoint3D& d);
    // The fill of a solid: brush colour when solid, else background colour.
    TColor SolidFillColor();
    void DrawGradientPolygon(std::span<const TPoint> points, const TCustomPlotGradient& gradient);
    void TextWithEffects(int x, int y, const std::string& text);

private:
    void cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken, int percent);

    int FXCenter = 0, FYCenter = 0, FZCenter = 0;
    int FXOffset = 0, FYOffset = 0;
    double s1 = 0, s2 = 0, s3 = 0, c1 = 1, c2 = 1, c3 = 1;
    double c2s3 = 0, c2c3 = 1, xx = 1, yx = 0, xz = 0, yz = 0;
    bool FWas3D = false;
    std::unique_ptr<cb::gfx::TBitmap> FBuffer;
    bool FDirty = true;
    bool FMonochrome = false;
    bool FHasPerspective = false;
    bool FHasTilt = false;
    double FOrthoX = 1;
    double FOrthoY = 1;
    double FZoomPerspective = 0;
    double FZoom = 1;
    bool FZoomText = true;
    bool FBuffered = true;
    bool FIs3D = false;
};

}  // namespace cb::chart
