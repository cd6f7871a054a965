#include "grid/settings/BackGround.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TBackGround::SetTop(int v) {
    SetProperty(FTop, v, OnChange);
}

void TBackGround::SetLeft(int v) {
    SetProperty(FLeft, v, OnChange);
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
    SetProperty(FDisplay, v, OnChange);
}

void TBackGround::SetBitmap(const cb::gfx::TBitmap& b) {
    FBitmap.Assign(b);
    if (OnChange) OnChange();
}

void TBackGround::SetCells(TBackGroundCells v) {
    SetProperty(FCells, v, OnChange);
}

void TBackGround::Assign(const TBackGround& s) {
    FTop = s.FTop;
    FLeft = s.FLeft;
    FDisplay = s.FDisplay;
    FBitmap.Assign(s.FBitmap);
    FCells = s.FCells;
    if (OnChange) OnChange();
}

}  // namespace cb::grid
