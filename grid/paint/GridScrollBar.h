#pragma once
// TGridScrollBar: the grid's scroll bar. Drawn by the style (normal), or
// flat: a plain groove in the bar colour, square arrow buttons and a flat
// thumb; the Encarta look lights the thumb and arrows under the mouse. The
// thumb and arrows stay where the style puts them, so pressing and dragging
// behave alike in every look.
#include "grid/util/GridTypes.h"

#include <QScrollBar>

namespace cb::grid {

enum TScrollBarLook {
    sblNormal,
    sblFlat,
    sblEncarta
};

class TGridScrollBar : public QScrollBar {
public:
    TGridScrollBar(Qt::Orientation orientation, QWidget* parent);

    TScrollBarLook Look() const { return FLook; }
    void SetLook(TScrollBarLook look);
    // The groove's colour in the flat looks; clNone: the button face.
    TColor BarColor() const { return FColor; }
    void SetBarColor(TColor color);
    // Width of a vertical bar (height of a horizontal one); 0: the style's.
    int Thickness() const { return FThickness; }
    void SetThickness(int pixels);
    // The thumb's rectangle in the bar's pixels.
    QRect ThumbRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TScrollBarLook FLook = sblNormal;
    TColor FColor = clNone;
    int FThickness = 0;
    QPoint FHover{-1, -1};
};

}  // namespace cb::grid
