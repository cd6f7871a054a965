#pragma once
// TGridSizing: the state behind the grid's sizing: automatic column widths,
// whole-row heights, the stretch column's guard, the client width the
// columns follow, and the size a column or row had when the mouse began to
// size it (sizing one may scale the others by the same factor).
#include "grid/util/GridTypes.h"

namespace cb::grid {

class TGridSizing {
public:
    // A size within its limits (unchanged when min equals max; 0: no limit).
    static int ApplyLimits(int value, int minValue, int maxValue);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value) { FAutoSize = value; }
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value) { FIntegralHeight = value; }
    bool WidthsLoaded() const { return FWidthsLoaded; }
    void SetWidthsLoaded(bool value) { FWidthsLoaded = value; }
    // True while the stretch column is being sized (its own change of
    // widths does not stretch again).
    bool Stretching() const { return FStretching; }
    void SetStretching(bool value) { FStretching = value; }

    // The factor the columns scale by when the client width became client
    // (0: none, the first width or no change); client is remembered.
    double FollowClientWidth(int client, bool scale);

    // A press began sizing a column (row) that had size.
    void NoteColStart(int col, int width) {
        FCol = col;
        FColWidth = width;
    }
    void NoteRowStart(int row, int height) {
        FRow = row;
        FRowHeight = height;
    }
    // The factor the others scale by now that col (row) has the size (0:
    // none), and the sizing ends.
    double EndCol(int col, int width);
    double EndRow(int row, int height);

private:
    static double Factor(int& index, int& start, int at, int size);

    bool FAutoSize = false;
    bool FWidthsLoaded = false;
    bool FIntegralHeight = false;
    bool FStretching = false;
    int FClientWidth = -1;
    int FCol = -1;
    int FColWidth = 0;
    int FRow = -1;
    int FRowHeight = 0;
};

}  // namespace cb::grid
