#pragma once
// Chart pens: the platform pen with visibility and small dots, and the
// fixed-colour variants chart elements start with.
#include "chart/core/PlotTypes.h"

#include <utility>

namespace cb::chart {

class TChartPen : public cb::gfx::TPen {
public:
    explicit TChartPen(TChangeEvent onChange = {});

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool v);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    TPenEndStyle DefaultEndStyle() const { return FDefaultEndStyle; }
    bool DefaultVisible() const { return FDefaultVisible; }
    // Stored only when different from the class's defaults.
    bool IsEndStyleStored() const { return EndStyle() != FDefaultEndStyle; }
    bool IsVisibleStored() const { return FVisible != FDefaultVisible; }

    // From another chart pen: Visible, SmallDots and EndStyle, then the
    // plain pen settings.
    void Assign(const cb::gfx::TPen& source) override;

protected:
    void SetDefaultVisible(bool v) { FDefaultVisible = v; }
    void SetDefaultEndStyle(TPenEndStyle e) { FDefaultEndStyle = e; }

private:
    bool FSmallDots = false;
    bool FVisible = true;
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
