#pragma once
// The marks tip tool: shows the mark text of the point under the mouse as
// the chart's hint.
#include "chart/series/SeriesMarks.h"
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <string>

namespace cb::chart {

enum TMarkToolMouseAction {
    mtmMove,
    mtmClick
};

class TMarksTipTool;
using TMarksTipGetText = std::function<void(TMarksTipTool* sender, std::string& text)>;

class TMarksTipTool : public TPlotCustomToolSeries {
public:
    TMarkToolMouseAction MouseAction() const { return FMouseAction; }
    // Clears the chart's hint.
    void SetMouseAction(TMarkToolMouseAction a);
    // The hint pause of the program, in milliseconds (process-wide).
    static int MouseDelay();
    static void SetMouseDelay(int ms);
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle s) { FStyle = s; }
    TMarksTipGetText OnGetText;
    // Switching the tool off clears the chart's hint.
    void SetActive(bool on) override;

    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TMarksTipToolEdit"; }

private:
    void clearHint();
    void showTip(int x, int y);
    TMarkToolMouseAction FMouseAction = mtmMove;
    TSeriesMarksStyle FStyle = smsLabel;
};

}  // namespace cb::chart
