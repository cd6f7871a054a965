#pragma once
// Chart titles: lines of text in a framed box above (Title, SubTitle) or
// below (Foot, SubFoot) the plotting area, taking their height from the
// chart rectangle unless placed at a custom position.
#include "chart/panel/PlotShape.h"

#include <string>
#include <vector>

namespace cb::chart {

class TChartTitle : public TPlotCustomShapePosition {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        bool AdjustFrame = true;
        TAlignment Alignment = taCenter;
        std::vector<std::string> Text;
        bool operator==(const TSettings&) const = default;
    };

    explicit TChartTitle(TCustomPlotPanel* panel);

    bool AdjustFrame() const { return FSettings.AdjustFrame; }
    void SetAdjustFrame(bool on) { Store(FSettings.AdjustFrame, on); }
    TAlignment Alignment() const { return FSettings.Alignment; }
    void SetAlignment(TAlignment a) { Store(FSettings.Alignment, a); }
    const std::vector<std::string>& Text() const { return FSettings.Text; }
    void SetText(const std::vector<std::string>& lines) { Store(FSettings.Text, lines); }
    // One line, or none for an empty text.
    void SetCaption(const std::string& line) { SetText(line.empty() ? std::vector<std::string>{} : std::vector{line}); }
    // The frame pen.
    TChartPen& Frame() { return Pen(); }
    // False for foot titles.
    bool OnTop() const { return FOnTop; }

    // Lays out and draws the title; without a custom position it takes its
    // room from the chart rectangle.
    void PaintTitle();
    // Visible and the point inside the box, edges included.
    bool ContainsPoint(int x, int y) const;

    const TSettings& Settings() const { return FSettings; }
    void Assign(const TChartTitle& source);

protected:
    void SetOnTop(bool on) { FOnTop = on; }

private:
    TSettings FSettings;
    bool FOnTop = true;
};

// Red italic, at the bottom.
class TChartFootTitle : public TChartTitle {
public:
    explicit TChartFootTitle(TCustomPlotPanel* panel);
};

}  // namespace cb::chart
