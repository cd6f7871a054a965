#pragma once
// TExtStringGridPrivate: the private part of TExtStringGrid (its d-pointer),
// for the grid's own sources only. The state of the grid's looks, painting,
// scroll bars and hints lives here; the disjunct selections, the hidden rows
// and the sizing state are objects of their own, and so are the parts the
// grid offers its input events to (GridPart.h).
#include "grid/ExtStringGrid.h"
#include "grid/GridPart.h"
#include "grid/GridSelection.h"
#include "grid/GridSizing.h"
#include "grid/HiddenRows.h"
#include "grid/input/GridInputState.h"
#include "grid/markup/HTMLHintWindow.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cb::grid {

class THTMLHintWindow;

class TExtStringGridPrivate {
public:
    TGridSelection Selection;
    THiddenRows HiddenRows;
    TGridSizing Sizing;
    // Indexed by TGridPartKind; offered input in that order.
    std::array<std::unique_ptr<TGridPart>, 2> Parts;

    TGridInputState Input;

    int FFixedRowHeight = 21;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;

    // Colours of the last cell whose appearance was looked up for painting,
    // before selection colours: its content is drawn from them without a
    // second lookup (see DrawCellContent).
    struct TPaintLook {
        bool Valid = false;
        int Col = 0, Row = 0;
        TColor Brush = 0, FontColor = 0;
    };
    TPaintLook FPaintLook;

    std::vector<std::string> FColumnHeaders;
    std::vector<std::string> FRowHeaders;

    int FRepaintSuspendCount = 0;

    TFont FFixedFont;
    TFont FActiveCellFont;
    bool FActiveCellShow = false;
    TColor FActiveCellColor = cb::gfx::clGray;
    TColor FSelectionColor = cb::gfx::clHighlight;
    TColor FSelectionTextColor = cb::gfx::clHighlightText;
    bool FShowSelection = true;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    TGridLook FLook = glSoft;
    bool FFlat = false;
    TColor FURLColor = cb::gfx::clBlue;
    bool FURLShow = false;
    bool FURLFull = false;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = false;
    bool FMultilinecells = false;
    cb::gfx::TBitmap FRowIndicator;
    THTMLPictureCache FPictureCache;
    THTMLMeasureCache FHTMLMeasure;
    std::unique_ptr<THTMLHintWindow> FHintWindow;

    QPointer<QWidget> FForm;
    int FFormWidth = 0;
    int FFormHeight = 0;

    TFooterPanel* FFooterPanel = nullptr;  // owned as a child widget

    bool FFilterActive = false;
    int FFilterFixedRows = 0;
    bool FPainting = false;
    int FNodeScanRow = -1;
    int FNodeScanNode = -1;
    bool FPaintHasNodes = false;
    std::uint32_t FPaintHasNodesPass = ~0u;
    TGridCoord FPressedButton{-1, -1};
    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 16;
    bool FScrollProportional = false;
    bool FFlatScrollActive = false;
    bool FScrollHintShown = false;
    std::unique_ptr<THTMLHintWindow> FScrollHintWindow;
    TBorderStyle FBorderStyle = bsSingle;
};

// The grid's edit part as the grid sees it (nullptr when another part was
// put in place).
inline TGridEditing* EditingOf(const TExtStringGrid& grid) {
    return dynamic_cast<TGridEditing*>(grid.Part(TGridPartKind::Edit));
}

}  // namespace cb::grid
