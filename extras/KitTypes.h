#pragma once
// Small types shared by the controls.

namespace cb::extras {

// dmAutomatic: a press followed by a move starts a drag by itself.
enum TDragMode {
    dmManual,
    dmAutomatic
};

}  // namespace cb::extras
