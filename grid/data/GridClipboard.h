#pragma once
// Copy, cut and paste of a grid's cells through the system clipboard: plain
// text (TAB between cells, CR LF after rows), the rich text of one cell and
// the grid's own format (cell stream), and the smart fill that extends a
// pasted value or series over the selection. Pastes measure the text first
// and grow the grid once, before any cell is written.
#include "grid/util/GridTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QObject;

namespace cb::grid {

class TExtStringGrid;

// Pasted text beyond these is refused.
inline constexpr int MaxPasteRows = 1000000;
inline constexpr int MaxPasteCols = 10000;

struct TTabTextShape {
    int Cols = 1;
    int Rows = 1;
};

// Columns: the most TAB-separated fields of a line; rows: the lines (a last
// line without a break counts when it is not empty); at least 1 each.
TTabTextShape MeasureTabText(std::string_view text);

class TGridClipboard {
public:
    explicit TGridClipboard(TExtStringGrid& grid);

    // The top-left cell of the last block this grid copied ((-1, -1) before).
    TGridCoord ClipboardOrigin{-1, -1};
    // True after a copy, false after a cut.
    bool ClipboardFromCopy = false;
    // While the selection's resize handle fills: cells count as writable as
    // if editing were on.
    bool FillMode = false;

    // Asked for every cell a text paste would write (Allow arrives true).
    std::function<void(QObject*, int col, int row, std::string& value, bool& allow)> OnClipboardBeforePasteCell;
    // After a text or own-format paste: the copy's origin when it came from
    // this grid (else (-1, -1)), the pasted block and whether it was copied.
    std::function<void(QObject*, TGridCoord origin, const TGridRect& pasted, bool fromCopy)> OnPasteNotify;

    // The cells of rect as tab text (disjunct: only marked rows / columns).
    std::string RectAsTabText(const TGridRect& rect, bool disjunct) const;
    void CopyRectToClipboard(const TGridRect& rect, bool disjunct);
    void CopySelection();
    void CutSelection();
    // The best format on the clipboard at the cell; the number of cells.
    int PasteFromClipboardAt(int col, int row);
    // Pastes at the selection's top-left, then fills the selection
    // (AllowSmartClipboard).
    void PasteSelection();
    int PasteTabText(int col, int row, std::string_view text);
    // Extends the n cells pasted at the selection's top-left over it.
    void SmartFill(int pasted);

    // The writable-cell rule: a normal cell, editing on (or FillMode), the
    // cell not read-only and OnCanEditCell agreeing.
    bool CellWritable(int col, int row) const;
    // Identifies this grid in its own copies.
    std::uint64_t SourceId() const;

private:
    bool MayWrite(int col, int row) const;
    TExtStringGrid& FGrid;
};

}  // namespace cb::grid
