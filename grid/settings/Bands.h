#pragma once
#include "grid/util/GridTypes.h"

#include "platform/rtl/Property.h"

namespace cb::grid {

using cb::rtl::TChangeEvent;

// Banded row colours over the normal rows.
class TBands {
public:
    // Called when the bands' look changed (colours and lengths only while
    // active).
    TChangeEvent OnChange;
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int value);
    int Period() const { return FPeriod; }
    bool Print = false;

private:
    void ActiveChanged();
    bool FActive = false;
    TColor FPrimaryColor = cb::gfx::clInfoBk;
    TColor FSecondaryColor = cb::gfx::clWindow;
    int FPrimaryLength = 1;
    int FSecondaryLength = 1;
    int FPeriod = 2;
};

}  // namespace cb::grid
