#pragma once
// The 3D layer of the drawing interface: every primitive again at a depth,
// projection and its inverse, solids, and the begin and end of a paint.
#include "chart/canvas/PlotCanvas.h"

namespace cb::chart {

class TView3DOptions;

class TCanvas3D : public TPlotCanvas {
public:
    // The panel's 3D settings handed to BeginDraw (not owned).
    TView3DOptions* View3DOptions() const { return FView3DOptions; }
    void SetView3DOptions(TView3DOptions* o) { FView3DOptions = o; }
    int RotationLockCount() const { return FRotationLock; }
    bool IsOrthogonal() const { return FOrthogonal; }
    // Depth at which a full-3D canvas places the next gradient fill.
    unsigned GradientDepth() const { return FGradientDepth; }
    // Side facets of cylinders and cones.
    int FacetCount() const { return FFacetCount; }
    void SetFacetCount(int n) { FFacetCount = n; }
    void SetGradientDepth(unsigned z) { FGradientDepth = z; }

    virtual TColor GetPixelColorAtDepth(int x, int y, int z) = 0;
    // True: marks write their text with the ...AtDepth text operations.
    virtual bool DrawsTextAtDepth() = 0;
    virtual void PutPixelAtDepth(int x, int y, int z, TColor c) = 0;
    // A screen point back into chart coordinates on the plane of depth z.
    virtual void UnprojectPoint(int& x, int& y, int z) = 0;
    virtual TPoint ProjectToPoint(int x, int y, int z) = 0;
    // Starts a paint; answers the rectangle to draw in.
    virtual TRect BeginDraw(cb::gfx::TCanvas* canvas, TView3DOptions* options, TColor background, bool is3D,
                            const TRect& r) = 0;
    // Takes over the other canvas's monochrome mode.
    virtual void AssignSettings(TCanvas3D& other);
    virtual void SetProjectionCenter(int depth, const TRect& bounds, const TRect& chartRect) = 0;
    // Shows what was drawn on target at r's top-left corner; re-attaches.
    virtual void EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) = 0;
    // True when a still-valid buffer was shown again instead of a repaint.
    virtual bool ShowBufferIfValid() = 0;

    virtual void DrawArrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headLength, int z) = 0;
    virtual void ClipToBox(const TRect& r, int z0, int z1) = 0;
    virtual void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken,
                          int topPercent) = 0;
    virtual void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool darkenSides) = 0;
    virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken) = 0;
    // Remembers whether the paint is 3D and switches projection off.
    virtual void Suspend3D() {}
    virtual void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void Resume3D() {}
    virtual void DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) = 0;
    virtual void DrawVerticalLineAtDepth(int x, int y0, int y1, int z) = 0;
    virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
    // Nested switch-off of the projection for overlays.
    virtual void DisableRotation();
    virtual void EnableRotation();
    virtual void DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void MoveToAtDepth(int x, int y, int z) = 0;
    virtual void LineToAtDepth(int x, int y, int z) = 0;
    virtual void DrawPieSlice3D(int xc, int yc, int rx, int ry, int z0, int z1, double a0, double a1, bool darken,
                                bool drawSides, int donutPercent, const TCustomPlotGradient* gradient) = 0;
    virtual void DrawPlaneBetween(const TPoint& p1, const TPoint& p2, int z0, int z1) = 0;
    virtual void DrawQuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int z) = 0;
    // Points 1 and 2 at z0, 3 and 4 at z1.
    virtual void DrawQuadWithDepths(const TPoint points[4], int z0, int z1) = 0;
    virtual void DrawPolygonAtDepth(std::span<const TPoint> points, int z) = 0;
    virtual void DrawPolylineAtDepth(std::span<const TPoint> points, int z) = 0;
    virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken) = 0;
    virtual void DrawFrustum(const TRect& base, int z0, int z1, int topHalfWidth, int topHalfDepth) = 0;
    virtual void DrawRectAtDepth(const TRect& r, int z) = 0;
    virtual void DrawRectAtY(int x0, int y, int x1, int z0, int z1) = 0;
    virtual void DrawRectAtX(int x, int y0, int y1, int z0, int z1) = 0;
    virtual void OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) = 0;
    virtual void DrawCircleAtDepth(int xc, int yc, int z, double radius) = 0;
    // Unused by the engine; a canvas may leave it empty.
    virtual void ReservedOperation(int a, int b, int c, int d, int e, int f) = 0;
    virtual void OutputTextAtDepth(int x, int y, int z, const std::string& text) = 0;
    // Filled with the colour unless the brush is clear.
    virtual void DrawColoredTriangle(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c) = 0;
    virtual void DrawTriangleAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) = 0;

    // --- helpers built on the operations above ---
    TPoint ProjectTPoint(const TPoint& p, int z) { return ProjectToPoint(p.X, p.Y, z); }
    // Top-left and bottom-right projected (not normalised).
    TRect ProjectRect(const TRect& r, int z);
    // Top-left, top-right, bottom-right, bottom-left.
    void ProjectRectCorners(const TRect& r, int z, TPoint out[4]);
    // Bounds of the projected corners, right and bottom one past.
    TRect ProjectedBounds(const TRect& r, int z);
    void DrawBoxRect(const TRect& r, int z0, int z1, bool darkenSides) {
        DrawBox(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkenSides);
    }
    void DrawLineBetweenAtDepth(const TPoint& a, const TPoint& b, int z) { DrawLineAtDepth(a.X, a.Y, b.X, b.Y, z); }
    void DrawQuadPointsAtDepth(const TPoint p[4], int z) { DrawQuadAtDepth(p[0], p[1], p[2], p[3], z); }
    void DrawRectCoordsAtDepth(int left, int top, int right, int bottom, int z) {
        DrawRectAtDepth({left, top, right, bottom}, z);
    }
    // Each pixel of the picture as a projected quadrilateral.
    void DrawPictureAtDepth(const TRect& r, const cb::gfx::TGraphic* picture, int z);

protected:
    void SetOrthogonalFlag(bool on) { FOrthogonal = on; }

private:
    TView3DOptions* FView3DOptions = nullptr;
    int FRotationLock = 0;
    bool FOrthogonal = false;
    unsigned FGradientDepth = 0;
    int FFacetCount = 16;
};

}  // namespace cb::chart
