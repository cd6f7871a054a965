#include "chart/component/CustomChart.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/ColorPalettes.h"
#include "chart/core/PlotTexts.h"
#include "platform/gfx/Color.h"
#include "platform/rtl/Strings.h"

#include <algorithm>

namespace cb::chart {

namespace {
// Hears the chart's series events: new data ends a wheel scroll.
class TChartDataListener : public TPlotEventListener {
public:
    explicit TChartDataListener(std::function<void()> onNewData) : FOnNewData(std::move(onNewData)) {}
    void HandleEvent(TPlotEvent& event) override {
        if (auto* e = dynamic_cast<TPlotSeriesEvent*>(&event))
            if (e->Code == seAdd || e->Code == seRemove || e->Code == seDataChanged) FOnNewData();
    }

private:
    std::function<void()> FOnNewData;
};
}  // namespace

TCustomChart::TCustomChart(QWidget* parent) : TAxisPanel(parent) {
    SetAutoRepaint(false);
    FTitle = std::make_unique<TChartTitle>(this);
    FSettings.ScrollMouseButton = mbRight;
    FSubTitle = std::make_unique<TChartTitle>(this);
    FFoot = std::make_unique<TChartFootTitle>(this);
    FSubFoot = std::make_unique<TChartFootTitle>(this);
    FWalls = std::make_unique<TChartWalls>(this);
    FLegend = std::make_unique<TChartLegend>(this);
    FLegend->OnGetText = [this](TCustomChartLegend* legend, int index, std::string& text) {
        if (OnGetLegendText) OnGetLegendText(this, legend->EffectiveStyle(), index, text);
    };
    FLegend->OnGetRect = [this](TRect& r) {
        if (OnGetLegendRect) OnGetLegendRect(this, r);
    };
    FLegend->OnGetPos = [this](int index, int& x, int& y, int& xColor) {
        if (OnGetLegendPos) OnGetLegendPos(this, index, x, y, xColor);
    };
    FDataListener = std::make_unique<TChartDataListener>([this] { NewDataArrived(); });
    Listeners().Add(FDataListener.get());
    FScalesRestored = true;
    SetAutoRepaint(true);
}

TCustomChart::~TCustomChart() {
    Listeners().Remove(FDataListener.get());
    FSavedScales.clear();
    SetAutoRepaint(false);
    // Series go before the parts they may still ask for while leaving.
    FreeSeriesOfClass();
}

void TCustomChart::NewDataArrived() {
    // Scales a wheel turn fixed give way to automatic ranges for new data.
    if (!FWheelScrolled || FSavedScales.empty()) return;
    FWheelScrolled = false;
    RestoreAxisScales();
    FScalesRestored = true;
    SetZoomed(false);
}

// --- queries ---

std::string TCustomChart::AxisTitleOrName(TChartAxis* axis) {
    if (!axis) return {};
    if (!axis->Title().Caption().empty()) return axis->Title().Caption();
    if (axis == &DepthAxis()) return PlotText(TPlotText::txtDepthRightAxis);
    if (axis == &DepthTopAxis()) return PlotText(TPlotText::txtDepthTopAxis);
    if (axis->Horizontal()) return PlotText(axis->OtherSide() ? TPlotText::txtTopAxis : TPlotText::txtBottomAxis);
    return PlotText(axis->OtherSide() ? TPlotText::txtRightAxis : TPlotText::txtLeftAxis);
}

bool TCustomChart::UsesAxesArea() const {
    bool anyActive = false;
    for (TChartSeries* s : const_cast<TCustomChart*>(this)->SeriesList().Items()) {
        if (!s->Active()) continue;
        anyActive = true;
        if (s->UsesAxes()) return true;
    }
    return !anyActive;
}

TChartSeries* FirstActiveSeries(TCustomAxisPanel& panel) {
    for (TChartSeries* s : panel.SeriesList().Items())
        if (s->Active()) return s;
    return nullptr;
}

void TCustomChart::LegendItemText(TCustomChartLegend& legend, int index, std::string& text) {
    text = legend.ItemText(index);
}

TColor TCustomChart::PanelBackColor() const {
    const TChartBackWall& back = FWalls->Back();
    return back.Transparent() ? Color() : back.Color();
}

std::string TCustomChart::LegendTextOfPoint(TChartSeries* series, int index) {
    if (!series || index == -1) return {};
    std::string text = series->LegendItemText(index, FLegend->TextStyle());
    std::replace(text.begin(), text.end(), LineSeparator, ' ');
    return text;
}

bool TCustomChart::IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) {
    for (TChartSeries* s : SeriesList().Items())
        if (s != except && s->SeriesColor() == color) return false;
    return !checkBackgrounds || (color != Color() && color != FWalls->Back().Color());
}

// --- titles and legend ---

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries) {
    TCanvas3D* c = Canvas();
    if (!c) return;
    c->DisableRotation();
    TChartTitle* titles[4] = {FTitle.get(), FSubTitle.get(), FFoot.get(), FSubFoot.get()};
    auto paintTitles = [&](bool custom) {
        for (TChartTitle* t : titles)
            if (t->CustomPosition() == custom) t->PaintTitle();
    };
    const bool shown = FLegend->IsShown();
    if (beforeSeries) {
        if (FLegend->CustomPosition() || !shown) {
            paintTitles(false);
        } else if (FLegend->IsVertical()) {
            FLegend->Paint();
            paintTitles(false);
        } else {
            paintTitles(false);
            FLegend->Paint();
        }
    } else {
        if (FLegend->CustomPosition() && shown) FLegend->Paint();
        paintTitles(true);
    }
    c->EnableRotation();
    if (!beforeSeries) DrawFrontWalls();
}

// --- stored properties ---

bool TCustomChart::ReadLegacyProperty(const std::string& name, const std::string& value) {
    if (name == "BackColor") {
        FWalls->Back().SetColor(cb::gfx::StringToColor(value));
        if (parentWidget() && !Loading()) FWalls->Back().Brush().SetStyle(cb::gfx::bsSolid);
        return true;
    }
    if (name == "ColorPaletteIndex") {
        FSettings.ColorPaletteIndex = cb::rtl::StrToInt(value);
        if (FSettings.ColorPaletteIndex >= 1) ApplyColorPalette(*this, FSettings.ColorPaletteIndex);
        return true;
    }
    return TAxisPanel::ReadLegacyProperty(name, value);
}

std::string TCustomChart::ColorPaletteIndexText() const {
    return FSettings.ColorPaletteIndex > 0 ? std::to_string(FSettings.ColorPaletteIndex) : std::string();
}

void TCustomChart::Assign(const TCustomChart& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FFoot->Assign(*s.FFoot);
    FLegend->Assign(*s.FLegend);
    FSubFoot->Assign(*s.FSubFoot);
    FSubTitle->Assign(*s.FSubTitle);
    FTitle->Assign(*s.FTitle);
    FWalls->Assign(*s.FWalls);
    TAxisPanel::Assign(s);
}

}  // namespace cb::chart
