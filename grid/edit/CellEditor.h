#pragma once
// TCellEditor: one editor control as the edit part drives it. The part
// fills it from the cell's edit text, places and shows it, routes its keys
// (KeyRouter.h) and reads its value back. Each editor kind has one; the
// controls live as long as the part and are hidden between edits.
#include "grid/util/GridTypes.h"
#include "grid/edit/KeyRouter.h"

#include <QRect>

#include <optional>
#include <string>

class QWidget;

namespace cb::grid {

class TGridEditPart;

class TCellEditor {
public:
    virtual ~TCellEditor() = default;
    // The control shown over the cell.
    virtual QWidget* Widget() = 0;
    // The widget that takes typed characters and the focus (a combo's line
    // edit, a spin's edit); the control itself by default.
    virtual QWidget* FocusWidget() { return Widget(); }
    virtual TEditorFamily Family() const = 0;
    // Fills the control for kind from the cell's edit text.
    virtual void Fill(TEditorType kind, const std::string& editText) = 0;
    // The text to write back into the cell; nothing: the kind writes none.
    virtual std::optional<std::string> Value() = 0;
    // The control takes a cell text (a refused value, Escape).
    virtual void Reset(const std::string& cellText) = 0;
    // Places the control over the cell's rectangle (client pixels).
    virtual void Place(const QRect& cell);
    // The router's view of the control at a key (caret, list state).
    virtual void DescribeKeyState(TEditorKeyState&) {}
    // Called after the control is shown and focused.
    virtual void Shown() {}
    // The edit is over: the control is hidden (a popup is closed).
    virtual void Hidden() {}
};

}  // namespace cb::grid
