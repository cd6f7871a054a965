#pragma once
// Chart font: the platform font with character spacing, outline pen, shadow
// and gradient.
#include "chart/style/ChartPen.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"

#include <memory>
#include <string>

namespace cb::chart {

class TPlotFont;

// A canvas that selected a chart font, told when the font goes away.
class TFontUser {
public:
    virtual void ReleaseChartFont(const TPlotFont* font) = 0;

protected:
    ~TFontUser() = default;
};

class TPlotFont : public cb::gfx::TFont {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        int InterCharSize = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TPlotFont(TChangeEvent onChange = {});
    ~TPlotFont() override;

    int InterCharSize() const { return FSettings.InterCharSize; }
    void SetInterCharSize(int v);

    // Made on first read; Set... with nullptr frees, else copies in.
    TChartHiddenPen& OutLine();
    TPlotShadow& Shadow();
    TPlotFontGradient& Gradient();
    void SetOutLine(const TChartPen* pen);
    void SetShadow(const TPlotShadow* shadow);
    void SetGradient(const TCustomPlotGradient* gradient);
    // Without making them.
    const TChartHiddenPen* OutLineIfAny() const { return FOutLine.get(); }
    const TPlotShadow* ShadowIfAny() const { return FShadow.get(); }
    const TPlotFontGradient* GradientIfAny() const { return FGradient.get(); }

    TColor DefaultColor() const { return FDefaultColor; }
    TFontStyles DefaultStyle() const { return FDefaultStyle; }
    bool IsColorStored() const { return Color() != FDefaultColor; }
    bool IsHeightStored() const;
    bool IsNameStored() const;
    bool IsStyleStored() const { return Style() != FDefaultStyle; }

    const TSettings& Settings() const { return FSettings; }

    // From another chart font: gradient, its settings, outline and shadow,
    // then the plain font settings.
    void Assign(const cb::gfx::TFont& source) override;

    // The canvas this font was last selected on (not owned).
    TFontUser* Canvas() const { return FCanvas; }
    void SetCanvas(TFontUser* c) { FCanvas = c; }

private:
    void notify();
    TSettings FSettings;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TPlotShadow> FShadow;
    std::unique_ptr<TPlotFontGradient> FGradient;
    TFontUser* FCanvas = nullptr;
    TColor FDefaultColor = clBlack;
    TFontStyles FDefaultStyle = 0;
};

// The engine's default chart font (name and size in points).
const std::string& DefaultChartFontName();
int DefaultChartFontSize();
void SetDefaultChartFont(const std::string& name, int size);

}  // namespace cb::chart
