#include "grid/settings/Bands.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TBands::ActiveChanged() {
    if (FActive && OnChange) OnChange();
}

void TBands::SetActive(bool value) {
    SetProperty(FActive, value, OnChange);
}

void TBands::SetPrimaryColor(TColor value) {
    SetProperty(FPrimaryColor, value, [this] { ActiveChanged(); });
}

void TBands::SetSecondaryColor(TColor value) {
    SetProperty(FSecondaryColor, value, [this] { ActiveChanged(); });
}

void TBands::SetPrimaryLength(int value) {
    SetProperty(FPrimaryLength, value, [this] {
        FPeriod = FPrimaryLength + FSecondaryLength;
        ActiveChanged();
    });
}

void TBands::SetSecondaryLength(int value) {
    SetProperty(FSecondaryLength, value, [this] {
        FPeriod = FPrimaryLength + FSecondaryLength;
        ActiveChanged();
    });
}

}  // namespace cb::grid
