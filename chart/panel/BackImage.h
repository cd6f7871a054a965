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
        bool Inside = false;
        int Left = 0, Top = 0;
        TPlotBackImageMode Mode = pbmStretch;
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
    bool Inside() const { return FSettings.Inside; }
    void SetInside(bool on) { set(FSettings.Inside, on); }
    // Offsets of pbmCustom.
    int Left() const { return FSettings.Left; }
    void SetLeft(int v) { set(FSettings.Left, v); }
    int Top() const { return FSettings.Top; }
    void SetTop(int v) { set(FSettings.Top, v); }
    TPlotBackImageMode Mode() const { return FSettings.Mode; }
    void SetMode(TPlotBackImageMode m) { set(FSettings.Mode, m); }
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
