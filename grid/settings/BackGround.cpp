#include "grid/settings/BackGround.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TBackGround::SetTop(int v) {
    SetProperty(FSettings.Top, v, OnChange);
}

void TBackGround::SetLeft(int v) {
    SetProperty(FSettings.Left, v, OnChange);
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
    SetProperty(FSettings.Display, v, OnChange);
}

void TBackGround::SetBitmap(const cb::gfx::TBitmap& b) {
    FBitmap.Assign(b);
    if (OnChange) OnChange();
}

void TBackGround::SetCells(TBackGroundCells v) {
    SetProperty(FSettings.Cells, v, OnChange);
}

void TBackGround::Assign(const TBackGround& s) {
    FSettings = s.FSettings;
    FBitmap.Assign(s.FBitmap);
    if (OnChange) OnChange();
}

}  // namespace cb::grid
