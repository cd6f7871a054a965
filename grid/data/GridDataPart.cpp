// The grid's data part (sorting, clipboard, smart fill, CSV): none yet.
#include "grid/GridPart.h"

namespace cb::grid {

std::unique_ptr<TGridPart> MakeGridDataPart(TExtStringGrid&) {
    return nullptr;
}

}  // namespace cb::grid
