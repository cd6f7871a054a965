#include "chart/style/ChartBrush.h"

#include "chart/style/ChartPen.h"
#include "platform/gfx/Bitmap.h"

namespace cb::chart {

TChartBrush::TChartBrush(TChangeEvent onChange) {
    SetColor(clDefault);
    BindChangeEvent(*this, std::move(onChange));
}

TChartBrush::~TChartBrush() = default;

cb::gfx::TBitmap& TChartBrush::Image() {
    if (!FImage) FImage = std::make_unique<cb::gfx::TBitmap>();
    return *FImage;
}

void TChartBrush::SetImage(const cb::gfx::TBitmap* image) {
    if (!image) {
        if (FImage) {
            FImage.reset();
            Changed();
        }
        return;
    }
    if (image == FImage.get()) return;
    Image().Assign(*image);
    Changed();
}

void TChartBrush::Assign(const cb::gfx::TBrush& source) {
    if (this == &source) return;
    BeginUpdate();
    if (auto* b = dynamic_cast<const TChartBrush*>(&source)) SetImage(b->FImage.get());
    cb::gfx::TBrush::Assign(source);
    EndUpdate();
}

}  // namespace cb::chart
