// TExtStringGrid: rows taken out of view (hidden rows with display and real
// numbering), tree nodes that fold their groups, the row filter, the footer
// row's calculations and the merging of equal runs in columns.
//
// A hidden row leaves the row storage for a record that keeps its cells
// (texts and property objects) and height until it comes back. Hiding and
// showing move many rows in one pass over the storage, so folding a node of
// 100,000 rows or filtering them costs a few passes, not one per row.
#include "grid/ExtStringGrid.h"

#include "grid/util/FilterMatch.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Numbering

std::vector<int> TExtStringGrid::SortedHiddenRows() const {
    std::vector<int> rows;
    rows.reserve(FHiddenRows.size());
    for (const TGridItem& item : FHiddenRows) rows.push_back(item.Idx);
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TExtStringGrid::DisplayToRealRow(int displayRow) const {
    if (FHiddenRows.empty()) return displayRow;
    int real = displayRow;
    for (int hidden : SortedHiddenRows()) {
        if (hidden > real) break;
        ++real;
    }
    return real;
}

int TExtStringGrid::RealToDisplayRow(int realRow) const {
    int below = 0;
    for (const TGridItem& item : FHiddenRows)
        if (item.Idx < realRow) ++below;
    return realRow - below;
}

bool TExtStringGrid::IsRowHidden(int realRow) const {
    return std::any_of(FHiddenRows.begin(), FHiddenRows.end(),
                       [realRow](const TGridItem& item) { return item.Idx == realRow; });
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
        FHiddenRows.push_back({realRows[i], std::move(rows[size_t(d)]), heights[size_t(d)]});
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
    std::vector<std::uint8_t> marks;
    for (int r = 0; r < int(FRowSelect.size()) && r < oldCount; ++r)
        if (!gone[size_t(r)]) marks.push_back(FRowSelect[size_t(r)]);
    FRowSelect = std::move(marks);
    RemapCellMarkRows(map);
    RowsRemoved(oldRow, oldTop);
    ResumeRepaint();
    const int first = displayRows.front();
    CellsChanged({0, first, ColCount() - 1, first + int(taken)});
    if (TopRow() >= RowCount() - 1) SetTopRow(RowCount() - 1);
}

void TExtStringGrid::RemapCellMarkRows(const std::vector<int>& map) {
    FCellSelect.Update([&](TGridCoord& c) {
        if (c.Y < 0 || c.Y >= int(map.size())) return true;
        if (map[size_t(c.Y)] < 0) return false;
        c.Y = map[size_t(c.Y)];
        return true;
    });
}

void TExtStringGrid::PutRowsBack(std::vector<TGridItem> back) {
    if (back.empty()) return;
    std::stable_sort(back.begin(), back.end(), [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; });
    // A row comes back at its real number less the rows still hidden above.
    const std::vector<int> still = SortedHiddenRows();
    auto& rows = RowStore();
    auto& heights = RowHeightStore();
    const int oldCount = RowCount();
    const int total = oldCount + int(back.size());
    std::vector<TRowCells> merged;
    std::vector<int> mergedHeights;
    merged.reserve(size_t(total));
    mergedHeights.reserve(size_t(total));
    std::vector<int> map(size_t(oldCount), -1);
    std::vector<std::uint8_t> marks;
    const bool haveMarks = !FRowSelect.empty();
    size_t next = 0;
    int shown = 0;
    auto takeShown = [&] {
        map[size_t(shown)] = int(merged.size());
        if (haveMarks) marks.push_back(shown < int(FRowSelect.size()) ? FRowSelect[size_t(shown)] : 0);
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
                TGridItem& item = back[next++];
                item.Items.resize(size_t(ColCount()));
                if (haveMarks) marks.push_back(0);
                merged.push_back(std::move(item.Items));
                mergedHeights.push_back(item.Height);
                continue;
            }
        }
        takeShown();
    }
    rows = std::move(merged);
    heights = std::move(mergedHeights);
    if (haveMarks) FRowSelect = std::move(marks);
    RemapCellMarkRows(map);
    StorageMoved();
    SetDisplayTextRowLimit(RowCount());
    UpdateScrollBars();
    InvalidateGrid();
}

void TExtStringGrid::HideRows(int firstReal, int lastReal) {
    int below = 0;
    for (const TGridItem& item : FHiddenRows) {
        if (item.Idx == firstReal) return;
        if (item.Idx < firstReal) ++below;
    }
    const int d = firstReal - below;
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
    std::vector<TGridItem> back;
    auto keep = std::stable_partition(FHiddenRows.begin(), FHiddenRows.end(), [&](const TGridItem& item) {
        return item.Idx < firstReal || item.Idx > lastReal;
    });
    back.assign(std::make_move_iterator(keep), std::make_move_iterator(FHiddenRows.end()));
    FHiddenRows.erase(keep, FHiddenRows.end());
    PutRowsBack(std::move(back));
}

void TExtStringGrid::UnhideAllRows() {
    std::vector<TGridItem> back = std::move(FHiddenRows);
    FHiddenRows.clear();
    PutRowsBack(std::move(back));
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
    if (!FPainting || FPaintHasNodesPass != PaintPass()) {
        FPaintHasNodesPass = PaintPass();
        FPaintHasNodes = false;
        for (int r = 0; r < RowCount() && !FPaintHasNodes; ++r) FPaintHasNodes = IsNodeRow(r);
    }
    return FPaintHasNodes;
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
    const int end = RowCount() - FFixedFooters;
    const int e = g->CellIndex > 0 ? std::min(b + g->CellIndex, end) : NextNodeRow(*this, b, end);
    if (e <= b + 1) return;
    HideRows(DisplayToRealRow(b) + 1, DisplayToRealRow(e) - 1);
}

int TExtStringGrid::NodeRowAbove(int row) {
    int from = FixedRows();
    int found = -1;
    // While painting, rows come one after the other: the walk upwards goes
    // on from the row asked before.
    if (FPainting && FNodeScanRow >= 0 && FNodeScanRow < row) {
        from = FNodeScanRow + 1;
        found = FNodeScanNode;
    }
    for (int r = row; r >= from; --r)
        if (IsNodeRow(r)) {
            found = r;
            break;
        }
    if (FPainting) {
        FNodeScanRow = row;
        FNodeScanNode = found;
    }
    return found;
}

int TExtStringGrid::GetTreeLinePosition(int row) {
    if (IsNodeRow(row)) return 0;
    if (row == RowCount() - FFixedFooters - 1) return 1;
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
    const int end = RowCount() - FFixedFooters;
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
    const std::vector<int> hidden = SortedHiddenRows();
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
    if (value == FFilterActive) return;
    FFilterActive = value;
    if (value) {
        FFilterFixedRows = FixedRows();
        SuspendRepaint();
        ApplyFilter();
        ResumeRepaint();
        if (RowCount() == FFixedFooters + FFilterFixedRows && !FixedRowAlways()) {
            // Every normal row went: an empty one keeps the fixed rows.
            SetRowCount(FFixedFooters + FFilterFixedRows + 1);
            SetFixedRows(FFilterFixedRows);
        } else {
            FFilterFixedRows = 0;
        }
    } else {
        if (RowCount() == FixedRows() + FFixedFooters + 1 && FFilterFixedRows > 0) {
            FFilterFixedRows = FixedRows();
            SetRowCount(RowCount() - 1);
        } else {
            FFilterFixedRows = FixedRows();
        }
        UnhideAllRows();
        SetFixedRows(FFilterFixedRows);
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
    const int last = RowCount() - FFixedFooters - 2;
    for (int r = 0; r <= last; ++r) {
        if (!IsInMergedRange(col, r)) continue;
        const TGridCoord b = FindBaseCell(col, r);
        const int span = GetMergedSpan(b.X, b.Y).Y;
        SplitMergedRange(col, r);
        r = b.Y + span;
    }
}

void TExtStringGrid::MergeEqualRuns(int col, bool first) {
    const int end = RowCount() - FFixedFooters;
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
