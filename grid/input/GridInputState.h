#pragma once
// What the grid keeps between a press, the moves and the release, and the
// state of panning, timers, hints, the row lookup and drops.
#include "grid/util/GridTypes.h"

#include <QBasicTimer>
#include <QCursor>
#include <QPoint>
#include <QPointer>

#include <array>
#include <string>

class QComboBox;
class QLineEdit;

namespace cb::grid {

class TArrowWindow;
class TPopupButton;

enum TDropKind {
    dkNone,
    dkControl,  // a drag of the application's own controls
    dkOle       // text, rich text, files or a grid column
};

// Formats a drop offers, as the drop target saw them at entry.
enum TDropFlag : unsigned {
    dfText = 1,
    dfFiles = 2,
    dfColumn = 4,
    dfRTF = 8
};

struct TGridInputState {
    // Press, move and release.
    bool MouseDown = false;
    QPoint PressPoint;
    QPoint PressOffset;  // of the press inside the pressed cell
    TGridCoord PressCell{-1, -1};
    bool PendingSingle = false;
    bool UnmarkOnRelease = false;
    int HeaderAnchor = -1;
    int MouseZone = 0;
    bool SizedByDblClick = false;
    bool SizedByMouse = false;
    bool FirstColSizingZone = false;
    bool FirstColSizing = false;
    int FirstColSizingX = 0;
    TGridCoord PressedHTMLButton{-1, -1};
    // The anchor under the mouse.
    std::string HoverAnchor;
    TGridCoord HoverAnchorCell{-1, -1};
    // The cursor of the zone under the mouse (-1: none; a code of
    // GridCursor), the grid's own cursor shown (-1: the user's), and the
    // user's cursor while the grid shows one of its own.
    int ZoneCursor = -1;
    int ShownCursor = -1;
    bool GridCursorActive = false;
    bool UserCursorSet = false;
    QCursor UserCursor;

    // A pressed fixed cell drawn sunken (FixedAsButtons); empty when none.
    TRect PressedFixed{};
    // Enhanced moves: the last target, the caption window and the four
    // arrows (up, down, right, left), owned by the grid as Qt children.
    int EnhTarget = -1;
    QPointer<TPopupButton> MoveCaption;
    std::array<QPointer<TArrowWindow>, 4> Arrows;

    // In-cell controls being edited.
    TGridCoord InlineCell{-1, -1};
    std::string InlineID;
    std::string InlineType;
    QPointer<QLineEdit> InlineEdit;
    QPointer<QComboBox> InlineCombo;

    // Row lookup.
    std::string LookupText;

    // Wheel.
    int WheelRemainder = 0;

    // Panning with the middle button.
    bool Panning = false;
    QPoint PanAnchor;
    QBasicTimer PanTimer;

    // Hover and blink timer; the hint.
    QBasicTimer GridTimer;
    TGridCoord HintCell{-1, -1};
    bool SizeHintShown = false;

    // Drops.
    TDropKind DropKind = dkNone;
    unsigned DropFlags = 0;
    bool DropAllowed = false;
};

}  // namespace cb::grid
