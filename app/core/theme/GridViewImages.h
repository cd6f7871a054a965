#pragma once
// The grid view's image list (16 by 16): a plus box, a minus box, a grey
// downward arrow (the marker of dimension-name cells) and a curved arrow.
#include "grid/paint/GridImageList.h"

namespace cb::app {

inline constexpr int kHeaderMarkerImage = 2;

// Made once, shared by every grid of the program.
const cb::grid::TGridImageList& GridViewImages();

}  // namespace cb::app
