#pragma once
// The panel with zoom settings, panning permission and state, zoom and
// scroll events, and a background of colour, gradient and picture.
#include "chart/panel/BackImage.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chart/panel/PlotZoom.h"
#include "chart/style/PlotGradient.h"

#include <functional>
#include <memory>

namespace cb::chart {

class TCustomPlotPanelExtended : public TCustomPlotPanel {
public:
    explicit TCustomPlotPanelExtended(QWidget* parent = nullptr);
    ~TCustomPlotPanelExtended() override;

    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode m) { FAllowPanning = m; }
    TPlotZoom& Zoom() { return *FZoom; }
    const TPlotZoom& Zoom() const { return *FZoom; }
    // Zoom.Allow, without repaint.
    void SetAllowZoom(bool on) { FZoom->Allow = on; }
    // The axes show a zoomed range.
    bool Zoomed() const { return FZoomed; }
    void SetZoomed(bool on) { FZoomed = on; }
    // The drag that pans the axes.
    TZoomPanning& Panning() { return FPanning; }

    // Made on first use; nullptr frees.
    TPlotGradient& Gradient();
    const TPlotGradient* GradientIfAny() const { return FGradient.get(); }
    void SetGradient(const TCustomPlotGradient* g);
    TBackImage& BackImage();
    const TBackImage* BackImageIfAny() const { return FBackImage.get(); }
    void SetBackImage(const TBackImage* image);
    bool HasBackImage() const { return FBackImage && FBackImage->HasGraphic(); }
    bool BackImageInside() const { return HasBackImage() && FBackImage->Inside(); }
    void SetBackImageInside(bool on) { BackImage().SetInside(on); }
    TPlotBackImageMode BackImageMode() const { return FBackImage ? FBackImage->Mode() : pbmStretch; }
    void SetBackImageMode(TPlotBackImageMode m) { BackImage().SetMode(m); }
    bool BackImageTransp() const { return HasBackImage() && FBackImage->Graphic()->Transparent(); }
    void SetBackImageTransp(bool on);

    std::function<void(TCustomPlotPanelExtended*)> OnScroll, OnUndoZoom, OnZoom;

    // Shadow, fill, picture (unless inside) and frame of the panel.
    virtual void DrawPanelBackground(const TRect& bounds);
    virtual void FillPanelRect(const TRect& r);
    // The picture into r at depth z.
    void DrawBackImage(const TRect& r, int z);
    // Draws, or drawn again erases, the zoom rectangle.
    virtual void DrawZoomRectangle();
    // False while the screen paint fills the buffer: the rectangle is
    // drawn over the shown buffer instead.
    virtual bool ZoomActive() const { return FZoom->Active && !FPaintingBuffer; }
    virtual void UndoZoom();
    // True while the screen paint fills the kept picture.
    bool PaintingBuffer() const { return FPaintingBuffer; }
    // Draws what lies over the picture (tools' overlays); nothing here.
    virtual void DrawOverlays() {}
    // Shows the kept picture again with the overlays drawn anew; the
    // chart itself is not drawn again unless it changed.
    void RepaintOverlays() { update(); }

    // Stored properties of older files: "AllowZoom", "AnimatedZoom",
    // "AnimatedZoomSteps"; "PrintMargins" read (and written, see
    // PrintMarginsText).
    bool ReadLegacyProperty(const std::string& name, const std::string& value) override;
    // "15 29 15 29", empty when all four are 15.
    std::string PrintMarginsText() const;

    void Assign(const TCustomPlotPanelExtended& source);

protected:
    void leaveEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    TPanningMode FAllowPanning = pmBoth;
    std::unique_ptr<TPlotGradient> FGradient;
    std::unique_ptr<TPlotZoom> FZoom;
    bool FZoomed = false;
    std::unique_ptr<TBackImage> FBackImage;
    TZoomPanning FPanning;
    bool FPaintingBuffer = false;
};

}  // namespace cb::chart
