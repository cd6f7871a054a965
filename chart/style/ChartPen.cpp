#include "chart/style/ChartPen.h"
#include "platform/rtl/Property.h"

namespace cb::chart {

void BindChangeEvent(cb::gfx::TGraphicsObject& object, TChangeEvent onChange) {
    if (onChange)
        object.OnChange = [f = std::move(onChange)](cb::gfx::TGraphicsObject&) { f(); };
    else
        object.OnChange = nullptr;
}

TChartPen::TChartPen(TChangeEvent onChange) {
    BindChangeEvent(*this, std::move(onChange));
}

void TChartPen::SetVisible(bool v) {
    cb::rtl::SetProperty(FSettings.Visible, v, [this] { Changed(); });
}

void TChartPen::SetSmallDots(bool v) {
    cb::rtl::SetProperty(FSettings.SmallDots, v, [this] { Changed(); });
}

void TChartPen::Assign(const cb::gfx::TPen& source) {
    if (this == &source) return;
    BeginUpdate();
    if (auto* p = dynamic_cast<const TChartPen*>(&source))
        cb::rtl::SetProperty(FSettings, p->FSettings, [this] { Changed(); });
    cb::gfx::TPen::Assign(source);
    EndUpdate();
}

TChartHiddenPen::TChartHiddenPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] {
        SetVisible(false);
        SetDefaultVisible(false);
    });
}

TDottedGrayPen::TDottedGrayPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] {
        SetColor(clGray);
        SetStyle(cb::gfx::psDot);
    });
}

TDarkGrayPen::TDarkGrayPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] { SetColor(clGray); });
}

TWhitePen::TWhitePen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] { SetColor(clWhite); });
}

}  // namespace cb::chart
