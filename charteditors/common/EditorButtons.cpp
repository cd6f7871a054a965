#include "charteditors/common/EditorButtons.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/style/ChartPen.h"
#include "charteditors/common/PenDialog.h"

#include <QMouseEvent>

namespace cb::charteditors {

using cb::gfx::TColor;

TColorButton::TColorButton(QWidget* parent) : TButtonColor(parent) {
    connect(this, &QPushButton::clicked, this, [this] { Edit(); });
}

void TColorButton::LinkColor(void* instance, std::function<TColor()> get, std::function<void(TColor)> set) {
    LinkProperty(instance, cb::chart::TPlotPropertyLink{std::move(get), std::move(set)});
    update();
}

void TColorButton::Unlink() {
    LinkProperty(nullptr, {});
    update();
}

void TColorButton::mouseReleaseEvent(QMouseEvent* e) {
    // The click signal does the editing, for the keyboard as for the mouse.
    QPushButton::mouseReleaseEvent(e);
}

void TColorButton::Edit() {
    if (!Instance() || !Link().Set) return;
    TColor c = GetColor();
    if (!cb::chart::EditColorWithDialog(this, c)) return;
    Link().Set(c);
    update();
    if (OnClick) OnClick();
}

TButtonPen::TButtonPen(QWidget* parent) : TPlotButton(parent) {
    connect(this, &QPushButton::clicked, this, [this] { Edit(); });
    FPen.OnGone = [this] {
        LinkProperty(nullptr, {});
        update();
    };
}

cb::gfx::TPen* PenOf(const TEditedObject& pen) {
    if (auto* p = pen.As<cb::chart::TChartPen>()) return p;
    return pen.As<cb::gfx::TPen>();
}

void TButtonPen::LinkPen(const TEditedObject& pen) {
    FPen.Set(pen);
    // The base paints only while it has an instance.
    LinkProperty(PenOf(pen), {});
    update();
}

cb::gfx::TPen* TButtonPen::Pen() const {
    return PenOf(FPen.Get());
}

void TButtonPen::Edit() {
    if (!Pen()) {
        if (OnClick) OnClick();
        return;
    }
    if (!EditChartPen(this, FPen.Get(), HideColor)) return;
    update();
    if (OnClick) OnClick();
}

void TButtonPen::DrawSymbol(cb::chart::TPlotCanvas3D& canvas) {
    cb::gfx::TPen* pen = Pen();
    if (!pen || !isEnabled()) return;
    const int keepWidth = pen->Width();
    // A wide pen is drawn 6 wide without telling its owner.
    cb::chart::WithoutChangeEvent(*pen, [&] {
        if (keepWidth > 6) pen->SetWidth(6);
        canvas.SelectPenWithColor(*pen, pen->Color());
        pen->SetWidth(keepWidth);
    });
    canvas.Brush().SetStyle(cb::gfx::bsClear);
    const int y = height() / 2;
    canvas.MoveToPoint(width() - 17, y);
    canvas.LineToPoint(width() - 6, y);
}

}  // namespace cb::charteditors
