#pragma once
// Chart font: the platform font with character spacing, outline pen, shadow
// and gradient.
#include "chart/ChartPen.h"
#include "chart/PlotGradient.h"
#include "chart/PlotShadow.h"

#include <memory>
#include <string>

namespace cb::chart {

class TPlotCanvas;

class TPlotFont : public cb::gfx::TFont {
public:
    explicit TPlotFont(TChangeEvent onChange = {});
    ~TPlotFont() override;

    int InterCharSize() const { return fInterCharSize; }
    void SetInterCharSize(int v);

    // Made on first read; Set... with nullptr frees, else copies in.
    TChartHiddenPen& OutLine();
    TPlotShadow& Shadow();
    TPlotFontGradient& Gradient();
    void SetOutLine(const TChartPen* pen);
    void SetShadow(const TPlotShadow* shadow);
    void SetGradient(const TCustomPlotGradient* gradient);
    // Without making them.
    const TChartHiddenPen* OutLineIfAny() const { return fOutLine.get(); }
    const TPlotShadow* ShadowIfAny() const { return fShadow.get(); }
    const TPlotFontGradient* GradientIfAny() const { return fGradient.get(); }

    TColor DefaultColor() const { return fDefaultColor; }
    TFontStyles DefaultStyle() const { return fDefaultStyle; }
    bool IsColorStored() const { return Color() != fDefaultColor; }
    bool IsHeightStored() const;
    bool IsNameStored() const;
    bool IsStyleStored() const { return Style() != fDefaultStyle; }

    // From another chart font: gradient, spacing, outline and shadow, then
    // the plain font settings.
    void Assign(const cb::gfx::TFont& source) override;

    // The canvas this font was last selected on (not owned).
    TPlotCanvas* Canvas() const { return fCanvas; }
    void SetCanvas(TPlotCanvas* c) { fCanvas = c; }

private:
    void notify();
    int fInterCharSize = 0;
    std::unique_ptr<TChartHiddenPen> fOutLine;
    std::unique_ptr<TPlotShadow> fShadow;
    std::unique_ptr<TPlotFontGradient> fGradient;
    TPlotCanvas* fCanvas = nullptr;
    TColor fDefaultColor = clBlack;
    TFontStyles fDefaultStyle = 0;
};

// The engine's default chart font (name and size in points).
const std::string& DefaultChartFontName();
int DefaultChartFontSize();
void SetDefaultChartFont(const std::string& name, int size);

} // namespace cb::chart
