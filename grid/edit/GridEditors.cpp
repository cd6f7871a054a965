// The editor controls of the grid's control kinds: each wraps a control of
// grid/controls (or of the toolkit) and tells the edit part how to fill it,
// read it back and route its keys.
#include "grid/edit/GridEditPart.h"

namespace cb::grid {

std::unique_ptr<TCellEditor> MakeControlEditor(TGridEditPart&, TEditorType) {
    return nullptr;
}

}  // namespace cb::grid
