#pragma once
// The small figure drawn at a point of line and point series: flat in 2D,
// a solid or a figure on the series' front plane in 3D; and the callout,
// a pointer with an arrow that joins a mark or an annotation to its point.
#include "chart/core/PlotTypes.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotGradient.h"
#include "platform/rtl/Property.h"

#include <memory>
#include <utility>

namespace cb::chart {

class TCanvas3D;
class TChartSeries;
class TCustomAxisPanel;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
    psNothing,
    psLeftTriangle,
    psRightTriangle
};

class TSeriesPointer {
public:
    // Every setting Assign copies; brush, pen and gradient are copied beside.
    struct TSettings {
        bool Visible = true;
        bool Dark3D = true;
        bool Draw3D = true;
        int HorizSize = 4;
        bool InflateMargins = true;
        TSeriesPointerStyle Style = psRectangle;
        int Transparency = 0;
        int VertSize = 4;
        bool operator==(const TSettings&) const = default;
    };

    // The series may be none (previews); its chart becomes the panel.
    explicit TSeriesPointer(TChartSeries* series);
    virtual ~TSeriesPointer();
    TSeriesPointer(const TSeriesPointer&) = delete;
    TSeriesPointer& operator=(const TSeriesPointer&) = delete;

    TChartSeries* Series() const { return FSeries; }
    // The series' chart, else the panel given (previews).
    TCustomAxisPanel* ParentPanel() const;
    void SetParentPanel(TCustomAxisPanel* panel) { FPanel = panel; }

    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool on) { store(FSettings.Visible, on); }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Without repaint, for a drawing pass.
    void PutVisible(bool on) { FSettings.Visible = on; }
    // Colour 0x20000000 of either means the point colour.
    TChartBrush& Brush() { return FBrush; }
    TChartPen& Pen() { return FPen; }
    bool Dark3D() const { return FSettings.Dark3D; }
    void SetDark3D(bool on) { store(FSettings.Dark3D, on); }
    bool Draw3D() const { return FSettings.Draw3D; }
    void SetDraw3D(bool on) { store(FSettings.Draw3D, on); }
    TPlotGradient& Gradient() { return *FGradient; }
    // Half sizes in pixels; must be above 0.
    int HorizSize() const { return FSettings.HorizSize; }
    void SetHorizSize(int v);
    int VertSize() const { return FSettings.VertSize; }
    void SetVertSize(int v);
    // Store without check or repaint (per-point sizes of bubbles).
    void PutHorizSize(int v) { FSettings.HorizSize = v; }
    void PutVertSize(int v) { FSettings.VertSize = v; }
    bool InflateMargins() const { return FSettings.InflateMargins; }
    void SetInflateMargins(bool on) { store(FSettings.InflateMargins, on); }
    TSeriesPointerStyle Style() const { return FSettings.Style; }
    void SetStyle(TSeriesPointerStyle s) { store(FSettings.Style, s); }
    int Transparency() const { return FSettings.Transparency; }
    void SetTransparency(int percent) { store(FSettings.Transparency, percent); }
    bool SizeEditable() const { return FSizeEditable; }
    void SetSizeEditable(bool on) { FSizeEditable = on; }
    TColor GetBrushColor() const { return FBrush.Color(); }
    void SetBrushColor(TColor c) { FBrush.SetColor(c); }

    // Room beside the axis ends: at least size + 1 when visible and inflating.
    void HorizMargins(int& left, int& right) const;
    void VertMargins(int& top, int& bottom) const;
    int StartDepth() const;
    int MiddleDepth() const;
    int EndDepth() const;

    // Pen and brush of the pointer with k as the point colour.
    void ApplyPenAndBrush(TCanvas3D& canvas, TColor k);
    // The same with the pointer's own brush colour on the panel's canvas.
    void PrepareCanvas();
    // The figure at (x, y) with half sizes h and v; pen and brush selected.
    void DrawShape(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TColor k, TSeriesPointerStyle style);
    // DrawShape on the panel's canvas with the pointer's own sizes.
    void DrawPointer(int x, int y, TColor k, TSeriesPointerStyle style);

    const TSettings& Settings() const { return FSettings; }
    virtual void Assign(const TSeriesPointer& source);

protected:
    void Changed();
    void SetOwnGradientColors(bool on) { FOwnGradientColors = on; }
    // Stores a new value and repaints.
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { Changed(); });
    }

private:
    void fillGradient(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TColor k, TSeriesPointerStyle style);

    TChartSeries* FSeries;
    TCustomAxisPanel* FPanel = nullptr;
    TSettings FSettings;
    TChartBrush FBrush;
    TChartPen FPen;
    std::unique_ptr<TPlotGradient> FGradient;
    bool FSizeEditable = true;
    bool FOwnGradientColors = false;
};

enum TArrowHeadStyle {
    ahNone,
    ahLine,
    ahSolid
};

// A pointer at the point end of an arrow.
class TCallout : public TSeriesPointer {
public:
    // Every setting Assign copies; the arrow pen is copied beside.
    struct TSettings {
        TArrowHeadStyle ArrowHead = ahNone;
        int ArrowHeadSize = 8;
        int Distance = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCallout(TChartSeries* series);
    TChartPen& Arrow() { return FArrow; }
    TArrowHeadStyle ArrowHead() const { return FSettings.ArrowHead; }
    void SetArrowHead(TArrowHeadStyle s) { store(FSettings.ArrowHead, s); }
    int ArrowHeadSize() const { return FSettings.ArrowHeadSize; }
    void SetArrowHeadSize(int v) { store(FSettings.ArrowHeadSize, v); }
    int Distance() const { return FSettings.Distance; }
    void SetDistance(int v) { store(FSettings.Distance, v); }
    // The arrow from the mark end m to the point end a at depth z, then the
    // pointer figure at a when there is no arrow head.
    void DrawCallout(const TPoint& a, const TPoint& m, int z);
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TSeriesPointer& source) override;

private:
    TWhitePen FArrow;
    TSettings FSettings;
};

}  // namespace cb::chart
