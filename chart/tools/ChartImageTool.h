#pragma once
// The image tool: a picture stretched behind the series, over the range of
// its series (or of the axes without one).
#include "chart/tools/PlotCustomTool.h"
#include "platform/gfx/Bitmap.h"

#include <memory>

namespace cb::chart {

class TChartImageTool : public TPlotCustomToolSeries {
public:
    TChartImageTool();
    ~TChartImageTool() override;
    // Owned; assigning copies the picture and repaints.
    cb::gfx::TBitmap& Picture() { return *FPicture; }
    void SetPicture(const cb::gfx::TBitmap& picture);
    void SetSeries(TChartSeries* series) override;
    // The rectangle the picture fills.
    TRect PictureRect() const;
    void HandleChartStage(TChartStage code) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TChartImageToolEditor"; }

private:
    std::unique_ptr<cb::gfx::TBitmap> FPicture;
};

}  // namespace cb::chart
