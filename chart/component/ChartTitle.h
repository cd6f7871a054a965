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
    explicit TChartTitle(TCustomPlotPanel* panel);

    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool on) { Store(FAdjustFrame, on); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a) { Store(FAlignment, a); }
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& lines) { Store(FText, lines); }
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

    void Assign(const TChartTitle& source);

protected:
    void SetOnTop(bool on) { FOnTop = on; }

private:
    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    std::vector<std::string> FText;
    bool FOnTop = true;
};

// Red italic, at the bottom.
class TChartFootTitle : public TChartTitle {
public:
    explicit TChartFootTitle(TCustomPlotPanel* panel);
};

}  // namespace cb::chart
