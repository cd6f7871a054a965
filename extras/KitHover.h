#pragma once
// Helpers the page control and the tree view share: the application's hint
// colour taken over while the mouse is over a control, and noticing a change
// of the parent's colour.
#include "platform/gfx/Color.h"

#include <QPalette>

#include <optional>

class QWidget;

namespace cb::extras {

// The application's hint colour (the tool tip background).
cb::gfx::TColor ApplicationHintColor();

class TKitHintSwap {
public:
    // Saves the application's hint colour and puts `hint` in its place.
    void Enter(cb::gfx::TColor hint);
    // Puts the saved colour back (nothing when none is saved).
    void Leave();
    bool Inside() const { return FSaved.has_value(); }

private:
    std::optional<QPalette> FSaved;
};

// True once each time the parent's background colour differs from the one
// seen before (call from the control's palette and parent change events).
class TKitParentColorWatch {
public:
    bool Changed(const QWidget* control);

private:
    std::optional<cb::gfx::TColor> FSeen;
};

}  // namespace cb::extras
