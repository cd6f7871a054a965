// TExtStringGrid: rows taken out of view (hidden rows with display and real
// numbering), tree nodes that fold their groups, the row filter, the footer
// row's calculations and the merging of equal runs in columns.
//
// A hidden row leaves the row storage for a record that keeps its cells
// (texts and property objects) and height until it comes back. Hiding and
// showing move many rows in one pass over the storage, so folding a node of
// 100,000 rows or filtering them costs a few passes, not one per row.
#include "grid/ExtStringGridPrivate.h"

#include "grid/util/FilterMatch.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Numbering

int TExtStringGrid::DisplayToRealRow(int displayRow) const {
    return FD->HiddenRows.DisplayToReal(displayRow);
}

int TExtStringGrid::RealToDisplayRow(int realRow) const {
    return FD->HiddenRows.RealToDisplay(realRow);
}

bool TExtStringGrid::IsRowHidden(int realRow) const {
    return FD->HiddenRows.IsHidden(realRow);
}

// ---------------------------------------------------------------------------
// Taking rows out and putting them back

void TExtStringGrid::TakeRowsOut(const std::vector<int>& displayRows, const std::vector<int>& realRows) {
    auto& rows = RowStore();
    auto& heights = RowHeightStore();
    const int oldCount = RowCount();
    // A grid keeps at least one row.
    size_t count = std::min(displayRows.size(), size_t(std::max(oldCount - 1, 0)));
    std::vector<std::uint8_t> gone(size_t(oldCount), 0);
    size_t taken = 0;
    for (size_t i = 0; i < count; ++i) {
        const int d = displayRows[i];
        if (d < 0 || d >= oldCount || gone[size_t(d)]) continue;
        gone[size_t(d)] = 1;
        FD->HiddenRows.Add({realRows[i], std::move(rows[size_t(d)]), heights[size_t(d)]});
        ++taken;
    }
    if (taken == 0) return;

    SuspendRepaint();
    const int oldTop = TopRow();
    const int oldRow = Row();
    // New index of each kept row, -1 for a row taken out.
    std::vector<int> map(size_t(oldCount), -1);
    int w = 0;
    for (int r = 0; r < oldCount; ++r) {
        if (gone[size_t(r)]) continue;
        map[size_t(r)] = w;
        if (w != r) {
            rows[size_t(w)] = std::move(rows[size_t(r)]);
            heights[size_t(w)] = heights[size_t(r)];
        }
        ++w;
    }
    rows.resize(size_t(w));
    heights.resize(size_t(w));
    // The marks follow their rows.
    FD->Selection.RemapRows(map, -1);
    RowsRemoved(oldRow, oldTop);
    ResumeRepaint();
    const int first = displayRows.front();
    CellsChanged({0, first, ColCount() - 1, first + int(taken)});
    if (TopRow() >= RowCount() - 1) SetTopRow(RowCount() - 1);
}

void TExtStringGrid::PutRowsBack(std::vector<THiddenRow> back) {
    if (back.empty()) return;
    std::stable_sort(back.begin(), back.end(), [](const THiddenRow& a, const THiddenRow& b) { return a.Idx < b.Idx; });
    // A row comes back at its real number less the rows still hidden above.
    const std::vector<int> still = FD->HiddenRows.Sorted();
    auto& rows = RowStore();
    auto& heights = RowHeightStore();
    const int oldCount = RowCount();
    const int total = oldCount + int(back.size());
    std::vector<TRowCells> merged;
    std::vector<int> mergedHeights;
    merged.reserve(size_t(total));
    mergedHeights.reserve(size_t(total));
    std::vector<int> map(size_t(oldCount), -1);
    size_t next = 0;
    int shown = 0;
    auto takeShown = [&] {
        map[size_t(shown)] = int(merged.size());
        merged.push_back(std::move(rows[size_t(shown)]));
        mergedHeights.push_back(heights[size_t(shown)]);
        ++shown;
    };
    while (next < back.size() || shown < oldCount) {
        if (next < back.size()) {
            const int idx = back[next].Idx;
            const int above = int(std::lower_bound(still.begin(), still.end(), idx) - still.begin());
            const int at = idx - above;
            if (shown >= oldCount || int(merged.size()) >= at) {
                THiddenRow& item = back[next++];
                item.Items.resize(size_t(ColCount()));
                merged.push_back(std::move(item.Items));
                mergedHeights.push_back(item.Height);
                continue;
            }
        }
        takeShown();
    }
    rows = std::move(merged);
    heights = std::move(mergedHeights);
    // The marks follow the rows that were shown; rows back are unmarked.
    FD->Selection.RemapRows(map, total);
    StorageMoved();
    SetDisplayTextRowLimit(RowCount());
    UpdateScrollBars();
    InvalidateGrid();
}

void TExtStringGrid::HideRows(int firstReal, int lastReal) {
    if (FD->HiddenRows.IsHidden(firstReal)) return;
    const int d = FD->HiddenRows.RealToDisplay(firstReal);
    std::vector<int> display;
    std::vector<int> real;
    for (int k = firstReal; k <= lastReal && d + (k - firstReal) < RowCount(); ++k) {
        display.push_back(d + (k - firstReal));
        real.push_back(k);
    }
    if (display.empty()) {
        CellsChanged({0, d, ColCount() - 1, d});
        return;
    }
    TakeRowsOut(display, real);
}

void TExtStringGrid::UnhideRows(int firstReal, int lastReal) {
    if (!IsRowHidden(firstReal)) return;
    PutRowsBack(FD->HiddenRows.Take(firstReal, lastReal));
}

void TExtStringGrid::UnhideAllRows() {
    PutRowsBack(FD->HiddenRows.TakeAll());
}

// ---------------------------------------------------------------------------
// Tree nodes

bool TExtStringGrid::IsNodeRow(int row) const {
    return GetCellGraphicType(0, row) == ctNode;
}

bool TExtStringGrid::IsNodeContracted(int row) const {
    const TCellGraphic* g = GetCellGraphic(0, row);
    return g && g->CellType == ctNode && g->CellBoolean;
}

int TExtStringGrid::GetNodeSpan(int row) const {
    const TCellGraphic* g = GetCellGraphic(0, row);
    return g && g->CellType == ctNode ? g->CellIndex : -1;
}

int TExtStringGrid::NodeCount() const {
    int n = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (IsNodeRow(r)) ++n;
    return n;
}

bool TExtStringGrid::PaintHasNodes() {
    // Counted once per paint pass; afresh outside painting.
    if (!FD->FPainting || FD->FPaintHasNodesPass != PaintPass()) {
        FD->FPaintHasNodesPass = PaintPass();
        FD->FPaintHasNodes = false;
        for (int r = 0; r < RowCount() && !FD->FPaintHasNodes; ++r) FD->FPaintHasNodes = IsNodeRow(r);
    }
    return FD->FPaintHasNodes;
}

int TExtStringGrid::GetRowIndent(int row) {
    const TCellProperties* p = CellProps(0, row);
    return p && PaintHasNodes() ? p->NodeLevel * 16 : 0;
}

bool TExtStringGrid::SkipFirstColumnLine() {
    return PaintHasNodes();
}

namespace {
// The first node row after row, or the end.
int NextNodeRow(const TExtStringGrid& grid, int row, int end) {
    for (int r = row + 1; r < end; ++r)
        if (grid.IsNodeRow(r)) return r;
    return end;
}
}  // namespace

void TExtStringGrid::ExpandNode(int realRow) {
    const int b = RealToDisplayRow(realRow);
    TCellGraphic* g = GetCellGraphic(0, b);
    if (!g || g->CellType != ctNode || !g->CellBoolean) return;
    g->CellBoolean = false;
    InvalidateCellArea(0, b);
    const int e = g->CellIndex != 0 ? b + 1 : NextNodeRow(*this, b, RowCount());
    UnhideRows(DisplayToRealRow(b) + 1, DisplayToRealRow(e) - 1);
}

void TExtStringGrid::ContractNode(int realRow) {
    const int b = RealToDisplayRow(realRow);
    TCellGraphic* g = GetCellGraphic(0, b);
    if (!g || g->CellType != ctNode || g->CellBoolean) return;
    g->CellBoolean = true;
    InvalidateCellArea(0, b);
    // The footer row stays in view.
    const int end = RowCount() - FD->FFixedFooters;
    const int e = g->CellIndex > 0 ? std::min(b + g->CellIndex, end) : NextNodeRow(*this, b, end);
    if (e <= b + 1) return;
    HideRows(DisplayToRealRow(b) + 1, DisplayToRealRow(e) - 1);
}

int TExtStringGrid::NodeRowAbove(int row) {
    int from = FixedRows();
    int found = -1;
    // While painting, rows come one after the other: the walk upwards goes
    // on from the row asked before.
    if (FD->FPainting && FD->FNodeScanRow >= 0 && FD->FNodeScanRow < row) {
        from = FD->FNodeScanRow + 1;
        found = FD->FNodeScanNode;
    }
    for (int r = row; r >= from; --r)
        if (IsNodeRow(r)) {
            found = r;
            break;
        }
    if (FD->FPainting) {
        FD->FNodeScanRow = row;
        FD->FNodeScanNode = found;
    }
    return found;
}

int TExtStringGrid::GetTreeLinePosition(int row) {
    if (IsNodeRow(row)) return 0;
    if (row == RowCount() - FD->FFixedFooters - 1) return 1;
    const int n = NodeRowAbove(row);
    if (n < 0) return 0;
    return GetNodeSpan(n) == row - n + 1 && !IsNodeContracted(n) ? 1 : 2;
}

// ---------------------------------------------------------------------------
// Row filter

bool TExtStringGrid::RowPassesFilter(int row) {
    for (int i = 0; i < Filter.Count(); ++i) {
        const TFilterData& f = Filter.Item(i);
        if (!MatchFilterCondition(f.Condition, GetCellText(f.Column, row), f.CaseSensitive)) return false;
    }
    return true;
}

void TExtStringGrid::ApplyFilter() {
    const int first = FixedRows();
    const int end = RowCount() - FD->FFixedFooters;
    const int total = end - first;
    int lastReport = -1;
    auto report = [&](int examined) {
        if (!OnFilterProgress) return;
        // No normal rows: done at once.
        const int percent = total > 0 ? int(std::lround(double(examined) / total * 100)) : 100;
        if (percent == lastReport) return;
        lastReport = percent;
        OnFilterProgress(this, percent);
    };
    // Every row is tested where it stands; the failing ones leave together,
    // each with its own real number.
    const std::vector<int> hidden = FD->HiddenRows.Sorted();
    size_t h = 0;
    int real = 0;
    int display = 0;
    auto realOf = [&](int d) {
        // Real numbers grow with display rows: walk on from the last one.
        real += d - display;
        display = d;
        while (h < hidden.size() && hidden[h] <= real) {
            ++real;
            ++h;
        }
        return real;
    };
    std::vector<int> failDisplay;
    std::vector<int> failReal;
    for (int r = first; r < end; ++r) {
        if (!RowPassesFilter(r)) {
            failDisplay.push_back(r);
            failReal.push_back(realOf(r));
        }
        report(r - first + 1);
    }
    if (!failDisplay.empty()) TakeRowsOut(failDisplay, failReal);
    // The last report is 100.
    report(total);
}

void TExtStringGrid::SetFilterActive(bool value) {
    if (value == FD->FFilterActive) return;
    FD->FFilterActive = value;
    if (value) {
        FD->FFilterFixedRows = FixedRows();
        SuspendRepaint();
        ApplyFilter();
        ResumeRepaint();
        if (RowCount() == FD->FFixedFooters + FD->FFilterFixedRows && !FixedRowAlways()) {
            // Every normal row went: an empty one keeps the fixed rows.
            SetRowCount(FD->FFixedFooters + FD->FFilterFixedRows + 1);
            SetFixedRows(FD->FFilterFixedRows);
        } else {
            FD->FFilterFixedRows = 0;
        }
    } else {
        if (RowCount() == FixedRows() + FD->FFixedFooters + 1 && FD->FFilterFixedRows > 0) {
            FD->FFilterFixedRows = FixedRows();
            SetRowCount(RowCount() - 1);
        } else {
            FD->FFilterFixedRows = FixedRows();
        }
        UnhideAllRows();
        SetFixedRows(FD->FFilterFixedRows);
    }
}

// ---------------------------------------------------------------------------
// Footer row

void TExtStringGrid::UpdateFooter(int col) {
    if (!FloatingFooter.Visible() || FloatingFooter.FooterStyle() != fsFixedLastRow) return;
    const int footer = RowCount() - 1;
    const int first = FixedRows();
    const int last = RowCount() - 2;
    const int from = col < 0 ? 0 : col;
    const int to = col < 0 ? ColCount() - 1 : col;
    for (int c = from; c <= to; ++c) {
        const TCellProperties* p = CellProps(c, footer);
        if (!p) continue;
        const int kind = p->FooterCalcKind & 0x7F;
        // Average, minimum and maximum of no rows are no value.
        if (last < first && (kind == 2 || kind == 4 || kind == 5)) {
            SetCellText(c, footer, std::string());
            continue;
        }
        switch (kind) {
        case 0:
            SetCellText(c, footer, std::string());
            break;
        case 1:
            SetCellFloat(c, footer, SumColumnRange(c, first, last));
            break;
        case 2:
            SetCellFloat(c, footer, AverageColumnRange(c, first, last));
            break;
        case 3:
            SetCellFloat(c, footer, double(RowCount() - first - 1));
            break;
        case 4:
            SetCellFloat(c, footer, MinColumnRange(c, first, last));
            break;
        case 5:
            SetCellFloat(c, footer, MaxColumnRange(c, first, last));
            break;
        default:
            break;
        }
    }
}

void TExtStringGrid::RecalcFooter() {
    if (!FloatingFooter.Visible() || FloatingFooter.FooterStyle() != fsFixedLastRow) return;
    try {
        UpdateFooter(-1);
    } catch (const EExtGridError&) {
        // A change of cells is never refused for the footer's sake.
    }
}

// ---------------------------------------------------------------------------
// Merged columns

void TExtStringGrid::SplitColumnMerges(int col) {
    const int last = RowCount() - FD->FFixedFooters - 2;
    for (int r = 0; r <= last; ++r) {
        if (!IsInMergedRange(col, r)) continue;
        const TGridCoord b = FindBaseCell(col, r);
        const int span = GetMergedSpan(b.X, b.Y).Y;
        SplitMergedRange(col, r);
        r = b.Y + span;
    }
}

void TExtStringGrid::MergeEqualRuns(int col, bool first) {
    const int end = RowCount() - FD->FFixedFooters;
    int start = FixedRows();
    if (start >= end) return;
    for (int a = FixedRows() + 1; a < end; ++a) {
        if (GetCellText(col, a) != GetCellText(col, a - 1) || (!first && !RowsShareMergedRange(a, a - 1))) {
            MergeCellRange(col, start, 1, a - start);
            start = a;
        }
    }
    if (end - start > 1) MergeCellRange(col, start, 1, end - start);
}

void TExtStringGrid::SplitAllColumnMerges() {
    for (int c = 0; c < ColCount(); ++c) SplitColumnMerges(c);
}

void TExtStringGrid::MergeListedColumns() {
    for (int i = 0; i < MergeColumnList.Count(); ++i) MergeEqualRuns(MergeColumnList.Item(i), i == 0);
}

}  // namespace cb::grid
