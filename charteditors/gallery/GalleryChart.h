#pragma once
// One cell of the series gallery: a small live chart holding sample series
// of one type, drawn in a reduced style, with a focus look, a hover frame
// and (when focused) the arrow that opens the sub-style pop-up.
#include "chart/component/CustomChart.h"

#include <functional>

namespace cb::charteditors {

class TChartGalleryPanel;

class TGalleryChart : public cb::chart::TCustomChart {
public:
    explicit TGalleryChart(TChartGalleryPanel* panel);

    TChartGalleryPanel* Panel() const { return FPanel; }
    // The sub-style index chosen for this chart (0: normal).
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    // Disabled charts take no clicks and are skipped by the keyboard.
    bool GalleryEnabled() const { return FEnabled; }
    void SetGalleryEnabled(bool on);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool on);
    bool CreatingBitmap() const { return FCreatingBitmap; }
    bool HasFocusLook() const { return GradientIfAny() && GradientIfAny()->Visible(); }
    void ApplyFocusLook(bool view3D);
    void ApplyNormalLook(bool view3D);
    // Margins of the gallery: 4 in 3D, 5 in 2D.
    void ResetMargins();
    // Top-left corner of the sub-gallery arrow's box, bottom edge y.
    cb::chart::TPoint ArrowOrigin() const;

    std::function<void(TGalleryChart*)> OnSelect;
    std::function<void(TGalleryChart*)> OnChoose;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void PaintSmooth();
    void PaintArrow();
    void PaintHoverFrame(bool on);

    TChartGalleryPanel* FPanel;
    int FTag = 0;
    bool FEnabled = true;
    bool FSmooth = false;
    bool FCreatingBitmap = false;
    bool FHover = false;
};

}  // namespace cb::charteditors
