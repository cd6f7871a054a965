#pragma once
// Placing small windows relative to the window that opened them.
class QWidget;

namespace cb::app {

// Moves the window so that its centre is the owner's centre; without an
// owner, the centre of the screen's available area. Kept on that screen.
void CenterOnOwner(QWidget* window, const QWidget* owner);

}  // namespace cb::app
