#include "chart/panel/PlotButtons.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gfx/Canvas.h"

#include <QColorDialog>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace cb::chart {

TPlotButton::TPlotButton(QWidget* parent) : QPushButton(parent) {
    resize(75, 25);
}

void TPlotButton::LinkProperty(void* instance, TPlotPropertyLink link) {
    FInstance = instance;
    if (!instance) return;
    FLink = std::move(link);
    update();
}

void TPlotButton::DrawSymbol(TPlotCanvas3D&) {}

void TPlotButton::paintEvent(QPaintEvent* e) {
    QPushButton::paintEvent(e);
    if (!FInstance) return;
    QPainter painter(this);
    cb::gfx::TCanvas canvas(&painter);
    TPlotCanvas3D chartCanvas;
    chartCanvas.SetBuffered(false);
    chartCanvas.AttachCanvas(&canvas);
    DrawSymbol(chartCanvas);
}

void TPlotButton::changeEvent(QEvent* e) {
    QPushButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) update();
}

TButtonColor::TButtonColor(QWidget* parent) : TPlotButton(parent) {}

TColor TButtonColor::GetColor() const {
    if (OnGetColor) return OnGetColor();
    if (Instance() && Link().Get) return ColorToRGB(Link().Get());
    return clNone;
}

void TButtonColor::DrawSymbol(TPlotCanvas3D& canvas) {
    const TColor c = GetColor();
    if (c == clNone) return;
    canvas.Brush().SetColor(c);
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    if (!isEnabled()) canvas.Pen().SetStyle(cb::gfx::psClear);
    const int W = width(), H = height();
    canvas.DrawRect(W - 19, H - (H / 4) * 3, W - 6, H - H / 4);
}

void TButtonColor::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && Instance() && Link().Set) {
        TColor c = GetColor();
        if (EditColorWithDialog(this, c)) {
            Link().Set(c);
            update();
        }
    }
    TPlotButton::mouseReleaseEvent(e);
}

TComboFlat::TComboFlat(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFrame(false);
    resize(width(), 21);
}

void TComboFlat::enterEvent(QEnterEvent* e) {
    FMouseInside = true;
    setFrame(true);
    QComboBox::enterEvent(e);
}

void TComboFlat::leaveEvent(QEvent* e) {
    FMouseInside = false;
    setFrame(hasFocus());
    QComboBox::leaveEvent(e);
}

void TComboFlat::focusInEvent(QFocusEvent* e) {
    FMouseInside = false;
    setFrame(true);
    QComboBox::focusInEvent(e);
}

void TComboFlat::focusOutEvent(QFocusEvent* e) {
    FMouseInside = false;
    setFrame(false);
    QComboBox::focusOutEvent(e);
}

TColor ShowColorDialog(QWidget* owner, TColor color) {
    // QColorDialog keeps its custom colours for the process.
    const QColor chosen = QColorDialog::getColor(cb::gfx::ToQColor(ColorToRGB(color)), owner);
    return chosen.isValid() ? cb::gfx::FromQColor(chosen) : color;
}

bool EditColorWithDialog(QWidget* owner, TColor& color) {
    const TColor c = ShowColorDialog(owner, color);
    if (c == color) return false;
    color = c;
    return true;
}

}  // namespace cb::chart
