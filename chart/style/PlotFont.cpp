#include "chart/style/PlotFont.h"
#include "platform/rtl/Property.h"

#include "chart/core/PlotTexts.h"

namespace cb::chart {

namespace {
struct DefaultFont {
    std::string name;
    int size = 0;
    bool set = false;
};
DefaultFont& Defaults() {
    static DefaultFont d;
    if (!d.set) {
        d.name = PlotText(TPlotText::txtDefaultFontName);
        d.size = std::atoi(PlotText(TPlotText::txtDefaultFontSize).c_str());
        d.set = true;
    }
    return d;
}
}  // namespace

const std::string& DefaultChartFontName() {
    return Defaults().name;
}
int DefaultChartFontSize() {
    return Defaults().size;
}

void SetDefaultChartFont(const std::string& name, int size) {
    DefaultFont& d = Defaults();
    d.name = name;
    d.size = size;
}

TPlotFont::TPlotFont(TChangeEvent onChange) {
    SetColor(clBlack);
    if (Charset() != 1) SetCharset(1);
    SetName(DefaultChartFontName());
    if (Size() != DefaultChartFontSize()) SetSize(DefaultChartFontSize());
    BindChangeEvent(*this, std::move(onChange));
}

TPlotFont::~TPlotFont() {
    if (FCanvas) FCanvas->ReleaseChartFont(this);
}

void TPlotFont::notify() {
    Changed();
}

void TPlotFont::SetInterCharSize(int v) {
    cb::rtl::SetProperty(FSettings.InterCharSize, v, [this] { Changed(); });
}

TChartHiddenPen& TPlotFont::OutLine() {
    if (!FOutLine) FOutLine = std::make_unique<TChartHiddenPen>([this] { notify(); });
    return *FOutLine;
}

TPlotShadow& TPlotFont::Shadow() {
    if (!FShadow) FShadow = std::make_unique<TPlotShadow>([this] { notify(); });
    return *FShadow;
}

TPlotFontGradient& TPlotFont::Gradient() {
    if (!FGradient) FGradient = std::make_unique<TPlotFontGradient>([this] { notify(); });
    return *FGradient;
}

void TPlotFont::SetOutLine(const TChartPen* pen) {
    if (!pen) {
        FOutLine.reset();
        return;
    }
    if (pen != FOutLine.get()) OutLine().Assign(*pen);
}

void TPlotFont::SetShadow(const TPlotShadow* shadow) {
    if (!shadow) {
        FShadow.reset();
        return;
    }
    if (shadow != FShadow.get()) {
        Shadow().Assign(*shadow);
        notify();
    }
}

void TPlotFont::SetGradient(const TCustomPlotGradient* gradient) {
    if (!gradient) {
        FGradient.reset();
        return;
    }
    if (gradient != FGradient.get()) {
        Gradient().Assign(*gradient);
        notify();
    }
}

bool TPlotFont::IsHeightStored() const {
    return Size() != DefaultChartFontSize();
}
bool TPlotFont::IsNameStored() const {
    return Name() != DefaultChartFontName();
}

void TPlotFont::Assign(const cb::gfx::TFont& source) {
    if (this == &source) return;
    BeginUpdate();
    if (auto* f = dynamic_cast<const TPlotFont*>(&source)) {
        SetGradient(f->FGradient.get());
        cb::rtl::SetProperty(FSettings, f->FSettings, [this] { Changed(); });
        SetOutLine(f->FOutLine.get());
        SetShadow(f->FShadow.get());
    }
    cb::gfx::TFont::Assign(source);
    EndUpdate();
}

}  // namespace cb::chart
