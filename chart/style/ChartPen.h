#pragma once
// Chart pens: the platform pen with visibility and small dots, and the
// fixed-colour variants chart elements start with.
#include "chart/core/PlotTypes.h"

#include <utility>

namespace cb::chart {

class TChartPen : public cb::gfx::TPen {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        bool SmallDots = false;
        bool Visible = true;
        bool operator==(const TSettings&) const = default;
    };

    explicit TChartPen(TChangeEvent onChange = {});

    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool v);
    bool SmallDots() const { return FSettings.SmallDots; }
    void SetSmallDots(bool v);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    TPenEndStyle DefaultEndStyle() const { return FDefaultEndStyle; }
    bool DefaultVisible() const { return FDefaultVisible; }
    // Stored only when different from the class's defaults.
    bool IsEndStyleStored() const { return EndStyle() != FDefaultEndStyle; }
    bool IsVisibleStored() const { return FSettings.Visible != FDefaultVisible; }

    const TSettings& Settings() const { return FSettings; }

    // From another chart pen: its settings, then the plain pen settings
    // (one notification).
    void Assign(const cb::gfx::TPen& source) override;

protected:
    void SetDefaultVisible(bool v) { FDefaultVisible = v; }
    void SetDefaultEndStyle(TPenEndStyle e) { FDefaultEndStyle = e; }

private:
    TSettings FSettings;
    TPenEndStyle FDefaultEndStyle = cb::gfx::esRound;
    bool FDefaultVisible = true;
};

// Invisible until shown.
class TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(TChangeEvent onChange = {});
};

class TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(TChangeEvent onChange = {});
};

class TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(TChangeEvent onChange = {});
};

class TWhitePen : public TChartPen {
public:
    explicit TWhitePen(TChangeEvent onChange = {});
};

// Binds a change event to a platform graphics object.
void BindChangeEvent(cb::gfx::TGraphicsObject& object, TChangeEvent onChange);

// Runs change with the object's change event held back.
template <class F>
void WithoutChangeEvent(cb::gfx::TGraphicsObject& object, F&& change) {
    auto keep = std::move(object.OnChange);
    object.OnChange = nullptr;
    change();
    object.OnChange = std::move(keep);
}

}  // namespace cb::chart
