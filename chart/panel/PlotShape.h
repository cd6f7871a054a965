#pragma once
// Framed boxes of a chart (titles, legend, walls, marks' frames): brush,
// pen, bevel, colour, font, gradient, shadow, corner style and
// transparency, drawn into a rectangle, optionally turned or at a depth.
// The owner lays out the box and writes its text.
#include "chart/core/PlotTypes.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"
#include "platform/rtl/Property.h"

#include <array>
#include <memory>
#include <utility>

namespace cb::chart {

class TCustomPlotPanel;
class TCanvas3D;

enum TBevelCut {
    bcNone,
    bcLowered,
    bcRaised,
    bcSpace
};
enum TChartObjectShapeStyle {
    fosRectangle,
    fosRoundRectangle
};

class TPlotCustomShapeBrushPen {
public:
    explicit TPlotCustomShapeBrushPen(TCustomPlotPanel* panel = nullptr);
    TPlotCustomShapeBrushPen(const TPlotCustomShapeBrushPen&) = delete;
    TPlotCustomShapeBrushPen& operator=(const TPlotCustomShapeBrushPen&) = delete;
    virtual ~TPlotCustomShapeBrushPen();

    TChartBrush& Brush() { return *FBrush; }
    const TChartBrush& Brush() const { return *FBrush; }
    void SetBrush(const TChartBrush& b) { FBrush->Assign(b); }
    TChartPen& Pen() { return *FPen; }
    const TChartPen& Pen() const { return *FPen; }
    void SetPen(const TChartPen& p) { FPen->Assign(p); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Not owned; may be none.
    TCustomPlotPanel* ParentPanel() const { return FParent; }
    virtual void SetParentPanel(TCustomPlotPanel* panel) { FParent = panel; }
    // Invalidates the parent panel, when there is one.
    void RepaintParent();

    void Assign(const TPlotCustomShapeBrushPen& source);

protected:
    // Stores and, when it changed, repaints the parent.
    template <class T>
    void Store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { RepaintParent(); });
    }

private:
    TCustomPlotPanel* FParent = nullptr;
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
    bool FVisible = true;
};

class TPlotCustomShape : public TPlotCustomShapeBrushPen {
public:
    // Every setting of its own Assign copies; font, gradient and shadow are
    // copied beside.
    struct TSettings {
        TBevelCut Bevel = bcNone;
        int BevelWidth = 2;
        TColor Color = clWhite;
        TChartObjectShapeStyle ShapeStyle = fosRectangle;
        bool Transparent = false;
        int Transparency = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TPlotCustomShape(TCustomPlotPanel* panel = nullptr);
    ~TPlotCustomShape() override;

    TBevelCut Bevel() const { return FSettings.Bevel; }
    void SetBevel(TBevelCut b) { Store(FSettings.Bevel, b); }
    int BevelWidth() const { return FSettings.BevelWidth; }
    void SetBevelWidth(int w) { Store(FSettings.BevelWidth, w); }
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c) { Store(FSettings.Color, c); }
    TPlotFont& Font() { return *FFont; }
    const TPlotFont& Font() const { return *FFont; }
    void SetFont(const TPlotFont& f) { FFont->Assign(f); }
    // Made on first read with the shadow defaults.
    TPlotShadow& Shadow();
    const TPlotShadow* ShadowIfAny() const { return FShadow.get(); }
    // nullptr frees the shadow; anything else is copied in.
    void SetShadow(const TPlotShadow* s);
    TChartObjectShapeStyle ShapeStyle() const { return FSettings.ShapeStyle; }
    void SetShapeStyle(TChartObjectShapeStyle s) { Store(FSettings.ShapeStyle, s); }
    bool Transparent() const { return FSettings.Transparent; }
    void SetTransparent(bool on) { Store(FSettings.Transparent, on); }
    // The value of Transparent that is not stored.
    bool DefaultTransparent() const { return FDefaultTransparent; }
    void SetDefaultTransparent(bool on) { FDefaultTransparent = on; }
    bool IsTransparentStored() const { return FSettings.Transparent != FDefaultTransparent; }
    // Made on first read.
    TPlotGradient& Gradient();
    const TPlotGradient* GradientIfAny() const { return FGradient.get(); }
    void SetGradient(const TCustomPlotGradient* g);
    // Percentage 0..100.
    int Transparency() const { return FSettings.Transparency; }
    void SetTransparency(int v);

    TRect& Bounds() { return FBounds; }
    const TRect& Bounds() const { return FBounds; }
    int BoxWidth() const { return FBounds.Width(); }
    int BoxHeight() const { return FBounds.Height(); }
    void SetBoxWidth(int w) { FBounds.Right = FBounds.Left + w; }
    void SetBoxHeight(int h) { FBounds.Bottom = FBounds.Top + h; }

    // Draws the box on the parent panel's canvas (nothing without one).
    void DrawBox(const TRect& r, double angle = 0, int z = 0);
    void DrawBoxOn(TCanvas3D& canvas, const TRect& r, double angle = 0, int z = 0);
    void DrawInBounds() { DrawBox(FBounds, 0, 0); }
    // Corners top-left, top-right, bottom-right, bottom-left turned by
    // angle degrees (counter-clockwise on the screen) about the centre.
    static std::array<TPoint, 4> RotatedCorners(const TRect& r, double angle);

    // Reads a stored property of older files ("ShadowColor", "ShadowSize");
    // True when the name was one of them.
    bool ReadLegacyProperty(const std::string& name, const std::string& value);
    const TSettings& Settings() const { return FSettings; }

    void Assign(const TPlotCustomShape& source);

protected:
    virtual std::unique_ptr<TPlotGradient> CreateGradient() const;
    virtual void ApplyShadowDefaults(TPlotShadow& s);

private:
    void DrawOutline(TCanvas3D& c, const TRect& r, double angle, int z);
    void DrawShadow(TCanvas3D& c, const TRect& r, double angle, int z);

    TSettings FSettings;
    std::unique_ptr<TPlotFont> FFont;
    std::unique_ptr<TPlotShadow> FShadow;
    std::unique_ptr<TPlotGradient> FGradient;
    bool FDefaultTransparent = false;
    TRect FBounds;
};

// The published shape (axis label frames and the like).
class TPlotShape : public TPlotCustomShape {
public:
    using TPlotCustomShape::TPlotCustomShape;
};

// A box with an optional position of its own: titles, legend, annotations.
class TPlotCustomShapePosition : public TPlotCustomShape {
public:
    using TPlotCustomShape::TPlotCustomShape;
    bool CustomPosition() const { return FCustomPosition; }
    void SetCustomPosition(bool on) { Store(FCustomPosition, on); }
    int Left() const { return Bounds().Left; }
    int Top() const { return Bounds().Top; }
    // Both switch CustomPosition on first.
    void SetLeft(int v);
    void SetTop(int v);
    void Assign(const TPlotCustomShapePosition& source);

private:
    bool FCustomPosition = false;
};

}  // namespace cb::chart
