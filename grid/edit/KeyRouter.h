#pragma once
// The key router of the grid's editors: for a key pressed in an editor it
// decides whether the editor keeps it, or whether the key ends the edit
// (committing the value through validation, or restoring it for Escape)
// and what the grid does next. Every editor kind leaves through it.
#include <Qt>

namespace cb::grid {

enum class TEditorFamily {
    Inplace,      // the default in-place edit (and the password edit)
    EditBtn,      // edit with button, numeric and float edit with button
    UnitEditBtn,  // unit edit with button
    Spin,         // spin editors of every type
    UniEdit,      // wide edit
    Combo,        // drop-down and list combos (both widths of text)
    DatePicker,   // date and time pickers
    CheckBox,
    Button,
    Link,     // a custom editor link
    RichEdit  // the rich-text editor
};

// What the router knows about the editor when the key arrives.
struct TEditorKeyState {
    TEditorFamily Family = TEditorFamily::Inplace;
    // Combos: list style, or the list is open.
    bool ListStyle = false;
    bool DroppedDown = false;
    // Text edits: caret lines and ends (multi-line texts keep Up and Down
    // inside), whether text is selected.
    bool CaretOnFirstLine = true;
    bool CaretOnLastLine = true;
    bool CaretAtStart = false;
    bool CaretAtEnd = false;
    bool HasSelection = false;
    // Grid settings that change the routing.
    bool GoTabs = false;
    bool LineFeedOnEnter = false;
    bool CursorWalkEditor = false;
    bool WordWrapOrMultiline = false;
    // A custom editor link keeps these keys.
    bool WantLeftRight = false, WantUpDown = false, WantHomeEnd = false, WantPriorNext = false;
    bool WantReturn = false, WantEscape = false;
};

enum class TKeyAction {
    Editor,  // the editor handles the key
    Commit,  // the value is validated; accepted: the edit ends, the grid moves
    Escape   // the value from before the edit is put back, the edit ends
};

struct TKeyRoute {
    TKeyAction Action = TKeyAction::Editor;
    // After the edit ended: the key the grid handles (moves on), 0 none.
    int GridKey = 0;
    // Enter: advance to the next cell (Shift: backwards).
    bool Advance = false;
    // Left or Right at the ends of the text walk to the neighbour cell.
    bool Walk = false;
    bool WalkForward = true;
    // A refused value keeps the edit open unless this is set (the in-place
    // edit's Tab moves on with the cell's text kept).
    bool MoveOnRefusal = false;
};

TKeyRoute RouteEditorKey(const TEditorKeyState& state, int key, Qt::KeyboardModifiers modifiers);

}  // namespace cb::grid
