// The routing table: which keys leave each editor family. Tab, Enter and
// the arrow and page keys that leave commit the value first; Escape puts
// the old value back. A key that does not leave stays in the editor.
#include "grid/edit/KeyRouter.h"

namespace cb::grid {

namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsTab(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

// Whether key leaves an editor of the state's family.
bool Leaves(const TEditorKeyState& s, int key, Qt::KeyboardModifiers mods) {
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if (IsTab(key)) return true;
    if (key == Qt::Key_Escape) return !(s.Family == TEditorFamily::Link && s.WantEscape);
    switch (s.Family) {
    case TEditorFamily::Inplace:
        if (IsEnter(key)) return s.LineFeedOnEnter ? ctrl : !ctrl;
        if (ctrl || alt) return false;
        if (key == Qt::Key_Up) return s.CaretOnFirstLine;
        if (key == Qt::Key_Down) return s.CaretOnLastLine;
        if (key == Qt::Key_Left) return s.CursorWalkEditor && s.CaretAtStart && !s.HasSelection;
        if (key == Qt::Key_Right) return s.CursorWalkEditor && s.CaretAtEnd && !s.HasSelection;
        return false;
    case TEditorFamily::EditBtn:
        if (ctrl) return false;
        [[fallthrough]];
    case TEditorFamily::UnitEditBtn:
        return IsEnter(key) || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up ||
               key == Qt::Key_Down;
    case TEditorFamily::Spin:
        return IsEnter(key);
    case TEditorFamily::UniEdit:
        return IsEnter(key) || key == Qt::Key_Up || key == Qt::Key_Down;
    case TEditorFamily::Combo:
        if (alt && key == Qt::Key_Down) return false;
        if (s.ListStyle || s.DroppedDown) return IsEnter(key) || key == Qt::Key_Left || key == Qt::Key_Right;
        return IsEnter(key) || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End ||
               key == Qt::Key_Up || key == Qt::Key_Down;
    case TEditorFamily::DatePicker:
        if (s.DroppedDown) return false;
        return IsEnter(key) || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End;
    case TEditorFamily::CheckBox:
    case TEditorFamily::Button:
        return IsEnter(key) || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End ||
               key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    case TEditorFamily::Link:
        if (IsEnter(key)) return !s.WantReturn;
        if (key == Qt::Key_Up || key == Qt::Key_Down) return !s.WantUpDown;
        if (key == Qt::Key_Left || key == Qt::Key_Right) return !s.WantLeftRight;
        if (key == Qt::Key_End || key == Qt::Key_Home) return !s.WantHomeEnd;
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) return !s.WantPriorNext;
        return false;
    case TEditorFamily::RichEdit:
        if (IsEnter(key)) return ctrl;
        if (key == Qt::Key_Up || key == Qt::Key_Down) return !s.WordWrapOrMultiline && !ctrl;
        return false;
    }
    return false;
}

}  // namespace

TKeyRoute RouteEditorKey(const TEditorKeyState& s, int key, Qt::KeyboardModifiers mods) {
    TKeyRoute route;
    // Tab stays in the editor when the grid does not move on Tab.
    if (IsTab(key) && !s.GoTabs) return route;
    if (!Leaves(s, key, mods)) return route;
    if (key == Qt::Key_Escape) {
        route.Action = TKeyAction::Escape;
        return route;
    }
    route.Action = TKeyAction::Commit;
    if (IsTab(key)) {
        route.GridKey = key;
        route.MoveOnRefusal = s.Family == TEditorFamily::Inplace;
    } else if (IsEnter(key)) {
        route.Advance = true;
    } else if (s.Family == TEditorFamily::Inplace && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        route.Walk = true;
        route.WalkForward = key == Qt::Key_Right;
    } else {
        route.GridKey = key;
    }
    return route;
}

}  // namespace cb::grid
