#pragma once
// Chart brush: the platform brush with the automatic colour as default and
// an optional picture that fills instead of the colour.
#include "chart/core/PlotTypes.h"

#include <memory>

namespace cb::gfx {
class TBitmap;
}

namespace cb::chart {

class TChartBrush : public cb::gfx::TBrush {
public:
    explicit TChartBrush(TChangeEvent onChange = {});
    ~TChartBrush() override;

    // The picture, made on first read.
    cb::gfx::TBitmap& Image();
    bool HasImage() const { return FImage != nullptr; }
    // nullptr frees the picture; otherwise the picture is copied in.
    void SetImage(const cb::gfx::TBitmap* image);

    // From another chart brush: its picture, then the brush settings.
    void Assign(const cb::gfx::TBrush& source) override;

private:
    std::unique_ptr<cb::gfx::TBitmap> FImage;
};

}  // namespace cb::chart
