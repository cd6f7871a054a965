#pragma once
// The panel's background picture and how it is placed.
#include "chart/core/PlotTypes.h"
#include "platform/gfx/Bitmap.h"

#include <memory>

namespace cb::chart {

enum TPlotBackImageMode {
    pbmStretch,
    pbmTile,
    pbmCenter,
    pbmCustom
};

class TBackImage {
public:
    // Every setting Assign copies; the picture is copied beside.
    struct TSettings {
        bool FInside = false;
        int FLeft = 0, FTop = 0;
        TPlotBackImageMode FMode = pbmStretch;
        bool operator==(const TSettings&) const = default;
    };

    explicit TBackImage(TChangeEvent onChange = {}) : OnChange(std::move(onChange)) {}

    // The picture; none until one is set.
    cb::gfx::TBitmap* Graphic() const { return FGraphic.get(); }
    bool HasGraphic() const { return FGraphic && !FGraphic->Empty(); }
    // A copy of the picture; nullptr removes it.
    void SetGraphic(const cb::gfx::TBitmap* picture);
    // Reads a picture file; a failure leaves the old picture and throws.
    void LoadFromFile(const std::string& fileName);

    // False: the picture fills the panel background; True: the chart
    // rectangle only.
    bool Inside() const { return FSettings.FInside; }
    void SetInside(bool on) { set(FSettings.FInside, on); }
    // Offsets of pbmCustom.
    int Left() const { return FSettings.FLeft; }
    void SetLeft(int v) { set(FSettings.FLeft, v); }
    int Top() const { return FSettings.FTop; }
    void SetTop(int v) { set(FSettings.FTop, v); }
    TPlotBackImageMode Mode() const { return FSettings.FMode; }
    void SetMode(TPlotBackImageMode m) { set(FSettings.FMode, m); }
    const TSettings& Settings() const { return FSettings; }

    void Assign(const TBackImage& source);

    TChangeEvent OnChange;

private:
    template <class T>
    void set(T& field, T v) {
        if (field != v) {
            field = v;
            if (OnChange) OnChange();
        }
    }
    std::unique_ptr<cb::gfx::TBitmap> FGraphic;
    TSettings FSettings;
};

}  // namespace cb::chart
