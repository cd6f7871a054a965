#pragma once
// Keyboard navigation and editing behaviour.
#include "grid/util/GridTypes.h"

namespace cb::grid {

enum TAdvanceDirection {
    adLeftRight,
    adTopBottom
};
enum TInsertPosition {
    pInsertBefore,
    pInsertAfter
};
enum THomeEndAction {
    heFirstLastColumn,
    heFirstLastRow
};

struct TNavigation {
    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
    bool CopyHTMLTagsToClipboard = true;
    bool AdvanceAuto = false;
    bool CursorWalkEditor = false;
    bool MoveRowOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false;
    bool AllowFmtClipboard = false;
    bool TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
};

}  // namespace cb::grid
