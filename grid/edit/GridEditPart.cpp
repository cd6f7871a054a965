// The grid's in-place editing part: none yet.
#include "grid/GridPart.h"

namespace cb::grid {

std::unique_ptr<TGridPart> MakeGridEditPart(TExtStringGrid&) {
    return nullptr;
}

}  // namespace cb::grid
