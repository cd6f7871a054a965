// TBaseGrid: counts, sizes, scrolling, cell geometry and repaint requests.
// Columns and rows run through the same code, picked by TGridAxisKind.
#include "grid/BaseGrid.h"

#include "platform/rtl/Property.h"

#include "grid/paint/GridScrollBar.h"

#include <algorithm>
#include <optional>

namespace cb::grid {

using cb::rtl::SetProperty;

namespace {
QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
}  // namespace

// ---------------------------------------------------------------------------
// The two directions

TBaseGrid::TAxisRefs TBaseGrid::Refs(TGridAxisKind kind) {
    if (kind == TGridAxisKind::Cols) return {FColAxis, FFixedCols, FCol, FAnchor.X, FLeftCol, FDefaultColWidth};
    return {FRowAxis, FFixedRows, FRow, FAnchor.Y, FTopRow, FDefaultRowHeight};
}

int TBaseGrid::Fixed(TGridAxisKind kind) const {
    return kind == TGridAxisKind::Cols ? FixedCols() : FixedRows();
}

int TBaseGrid::Avail(TGridAxisKind kind) const {
    TRect area = CellArea();
    return kind == TGridAxisKind::Cols ? area.Width() - FixedWidth() : area.Height() - FixedHeight();
}

int TBaseGrid::FixedWidth() const {
    return FColAxis.Pos(std::min(FixedCols(), ColCount()));
}

int TBaseGrid::FixedHeight() const {
    return FRowAxis.Pos(std::min(FixedRows(), RowCount()));
}

TRect TBaseGrid::CellArea() const {
    int w = width();
    int h = height();
    if (FVertBar && FVertBar->isVisibleTo(const_cast<TBaseGrid*>(this))) w -= FVertBar->width();
    if (FHorzBar && FHorzBar->isVisibleTo(const_cast<TBaseGrid*>(this))) h -= FHorzBar->height();
    h -= FBottomReserve;
    return {0, 0, std::max(w, 0), std::max(h, 0)};
}

// ---------------------------------------------------------------------------
// Size and layout

void TBaseGrid::ResizeStorage(int colCount, int rowCount) {
    colCount = std::max(colCount, 0);
    rowCount = std::max(rowCount, 0);
    if (rowCount < int(FRows.size())) FRows.resize(size_t(rowCount));
    // Rows already there change only when the column count does: growing
    // by rows costs the new rows, not the whole grid.
    if (FColAxis.Sizes.size() != size_t(colCount))
        for (auto& r : FRows) r.resize(size_t(colCount));
    if (rowCount > int(FRows.size())) {
        size_t old = FRows.size();
        std::optional<TRowBulkScope> bulk;
        if (size_t(rowCount) - old >= size_t(BulkRowCount)) bulk.emplace();
        FRows.resize(size_t(rowCount));
        for (size_t i = old; i < FRows.size(); ++i) FRows[i].resize(size_t(colCount));
    }
    FColAxis.Sizes.resize(size_t(colCount), FDefaultColWidth);
    FRowAxis.Sizes.resize(size_t(rowCount), FDefaultRowHeight);
    FColAxis.Invalidate();
    FRowAxis.Invalidate();
}

void TBaseGrid::SetCount(TGridAxisKind kind, int count) {
    TAxisRefs a = Refs(kind);
    count = std::max(count, 1);
    if (count == a.Axis.Count()) return;
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    if (kind == TGridAxisKind::Cols)
        ResizeStorage(count, RowCount());
    else
        ResizeStorage(ColCount(), count);
    if (a.Fixed >= count) a.Fixed = count - 1;
    SizeChanged(oldCols, oldRows);
}

void TBaseGrid::SetColCount(int count) {
    SetCount(TGridAxisKind::Cols, count);
}

void TBaseGrid::SetRowCount(int count) {
    SetCount(TGridAxisKind::Rows, count);
}

void TBaseGrid::SizeChanged(int, int) {
    int firstCol = std::min(FFixedCols, ColCount() - 1);
    int firstRow = std::min(FFixedRows, RowCount() - 1);
    if (FCol >= ColCount() || FRow >= RowCount()) {
        FCol = std::clamp(FCol, firstCol, ColCount() - 1);
        FRow = std::clamp(FRow, firstRow, RowCount() - 1);
        FAnchor = {FCol, FRow};
        FSelection = {FCol, FRow, FCol, FRow};
    } else {
        FSelection.Right = std::min(FSelection.Right, ColCount() - 1);
        FSelection.Bottom = std::min(FSelection.Bottom, RowCount() - 1);
    }
    ClampTopLeft();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetFixed(TGridAxisKind kind, int count) {
    TAxisRefs a = Refs(kind);
    count = std::clamp(count, 0, a.Axis.Count() - 1);
    if (count == a.Fixed) return;
    a.Fixed = count;
    if (a.Current < count) a.Current = std::min(count, a.Axis.Count() - 1);
    if (a.Anchor < count) a.Anchor = a.Current;
    FSelection = {std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow), std::max(FAnchor.X, FCol),
                  std::max(FAnchor.Y, FRow)};
    ClampTopLeft();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetFixedCols(int count) {
    SetFixed(TGridAxisKind::Cols, count);
}

void TBaseGrid::SetFixedRows(int count) {
    SetFixed(TGridAxisKind::Rows, count);
}

void TBaseGrid::SizesChanged(TGridAxisKind kind) {
    Refs(kind).Axis.Invalidate();
    if (kind == TGridAxisKind::Cols)
        ColWidthsChanged();
    else
        RowHeightsChanged();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetDefaultSize(TGridAxisKind kind, int size) {
    TAxisRefs a = Refs(kind);
    size = std::max(size, 0);
    a.DefaultSize = size;
    std::fill(a.Axis.Sizes.begin(), a.Axis.Sizes.end(), size);
    SizesChanged(kind);
}

void TBaseGrid::SetDefaultColWidth(int width) {
    SetDefaultSize(TGridAxisKind::Cols, width);
}

void TBaseGrid::SetDefaultRowHeight(int height) {
    SetDefaultSize(TGridAxisKind::Rows, height);
}

void TBaseGrid::SetSize(TGridAxisKind kind, int index, int size) {
    TAxisRefs a = Refs(kind);
    if (index < 0 || index >= a.Axis.Count()) return;
    SetProperty(a.Axis.Sizes[size_t(index)], std::max(size, 0), [this, kind] { SizesChanged(kind); });
}

int TBaseGrid::ColWidths(int col) const {
    return col >= 0 && col < ColCount() ? FColAxis.Sizes[size_t(col)] : FDefaultColWidth;
}

void TBaseGrid::SetColWidths(int col, int width) {
    SetSize(TGridAxisKind::Cols, col, width);
}

int TBaseGrid::RowHeights(int row) const {
    return row >= 0 && row < RowCount() ? FRowAxis.Sizes[size_t(row)] : FDefaultRowHeight;
}

void TBaseGrid::SetRowHeights(int row, int height) {
    SetSize(TGridAxisKind::Rows, row, height);
}

void TBaseGrid::SetOptions(TGridOptions options) {
    SetProperty(FOptions, options | goDrawFocusSelected, [this] { InvalidateGrid(); });
}

void TBaseGrid::SetScrollBars(TScrollStyle style) {
    SetProperty(FScrollBars, style, [this] {
        UpdateScrollBars();
        InvalidateGrid();
    });
}

void TBaseGrid::SetColor(TColor color) {
    SetProperty(FColor, color, [this] { InvalidateGrid(); });
}

void TBaseGrid::SetFixedColor(TColor color) {
    SetProperty(FFixedColor, color, [this] { InvalidateGrid(); });
}

void TBaseGrid::SetGridLineWidth(int width) {
    SetProperty(FGridLineWidth, std::max(width, 0), [this] { InvalidateGrid(); });
}

void TBaseGrid::SetGridLineColor(TColor color) {
    SetProperty(FGridLineColor, color, [this] { InvalidateGrid(); });
}

void TBaseGrid::StorageMoved() {
    if (!FRows.empty()) FColAxis.Sizes.resize(FRows[0].size(), FDefaultColWidth);
    FRowAxis.Sizes.resize(FRows.size(), FDefaultRowHeight);
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (auto& p = FRows[size_t(r)][size_t(c)].Props) {
                p->OwnerCol = c;
                p->OwnerRow = r;
            }
    FColAxis.Invalidate();
    FRowAxis.Invalidate();
    FFixedCols = std::clamp(FFixedCols, 0, std::max(ColCount() - 1, 0));
    FFixedRows = std::clamp(FFixedRows, 0, std::max(RowCount() - 1, 0));
    ClampTopLeft();
}

// ---------------------------------------------------------------------------
// Position and scrolling

int TBaseGrid::VisibleCount(TGridAxisKind kind) const {
    const TGridAxis& axis = kind == TGridAxisKind::Cols ? FColAxis : FRowAxis;
    int first = std::max(kind == TGridAxisKind::Cols ? FLeftCol : FTopRow, Fixed(kind));
    if (first >= axis.Count()) return 0;
    return axis.VisibleCount(first, Avail(kind));
}

int TBaseGrid::VisibleColCount() const {
    return VisibleCount(TGridAxisKind::Cols);
}

int TBaseGrid::VisibleRowCount() const {
    return VisibleCount(TGridAxisKind::Rows);
}

int TBaseGrid::MaxFirst(TGridAxisKind kind) const {
    const TGridAxis& axis = kind == TGridAxisKind::Cols ? FColAxis : FRowAxis;
    int fixed = Fixed(kind);
    if (fixed >= axis.Count()) return fixed;
    return axis.MaxFirst(fixed, Avail(kind));
}

void TBaseGrid::ClampTopLeft() {
    FLeftCol = std::clamp(FLeftCol, std::min(FixedCols(), ColCount() - 1), std::max(MaxFirst(TGridAxisKind::Cols), 0));
    FTopRow = std::clamp(FTopRow, std::min(FixedRows(), RowCount() - 1), std::max(MaxFirst(TGridAxisKind::Rows), 0));
}

void TBaseGrid::SetTopLeft(int leftCol, int topRow) {
    int oldLeft = FLeftCol;
    int oldTop = FTopRow;
    FLeftCol = leftCol;
    FTopRow = topRow;
    ClampTopLeft();
    if (FLeftCol == oldLeft && FTopRow == oldTop) return;
    UpdateScrollBars();
    InvalidateGrid();
    TopLeftChanged();
}

void TBaseGrid::SetTopRow(int row) {
    SetTopLeft(FLeftCol, row);
}

void TBaseGrid::SetLeftCol(int col) {
    SetTopLeft(col, FTopRow);
}

void TBaseGrid::TopLeftChanged() {
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

int TBaseGrid::FirstShowing(TGridAxisKind kind, int index) const {
    const TGridAxis& axis = kind == TGridAxisKind::Cols ? FColAxis : FRowAxis;
    int first = kind == TGridAxisKind::Cols ? FLeftCol : FTopRow;
    if (index < Fixed(kind) || index >= axis.Count()) return first;
    return axis.FirstShowing(first, index, Avail(kind));
}

void TBaseGrid::ScrollIntoView(int col, int row) {
    SetTopLeft(FirstShowing(TGridAxisKind::Cols, col), FirstShowing(TGridAxisKind::Rows, row));
}

void TBaseGrid::UpdateScrollBars() {
    if (!FHorzBar || FSyncingScrollBars) return;
    FSyncingScrollBars = true;
    bool wantH = false;
    bool wantV = false;
    // Two rounds: one bar taking room may make the other necessary.
    for (int round = 0; round < 2; ++round) {
        int w = width() - (wantV ? FVertBar->sizeHint().width() : 0);
        int h = height() - FBottomReserve - (wantH ? FHorzBar->sizeHint().height() : 0);
        wantH = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && FColAxis.Pos(ColCount()) > w;
        wantV = (FScrollBars == ssVertical || FScrollBars == ssBoth) && FRowAxis.Pos(RowCount()) > h;
    }
    int vw = FVertBar->sizeHint().width();
    int hh = FHorzBar->sizeHint().height();
    FHorzBar->setVisible(wantH);
    FVertBar->setVisible(wantV);
    if (wantH) FHorzBar->setGeometry(0, height() - hh, width() - (wantV ? vw : 0), hh);
    if (wantV) FVertBar->setGeometry(width() - vw, 0, vw, height() - (wantH ? hh : 0));
    ClampTopLeft();
    FHorzBar->setRange(std::min(FixedCols(), ColCount() - 1), MaxFirst(TGridAxisKind::Cols));
    FHorzBar->setPageStep(std::max(VisibleColCount(), 1));
    FHorzBar->setValue(FLeftCol);
    FVertBar->setRange(std::min(FixedRows(), RowCount() - 1), MaxFirst(TGridAxisKind::Rows));
    FVertBar->setPageStep(std::max(VisibleRowCount(), 1));
    FVertBar->setValue(FTopRow);
    FSyncingScrollBars = false;
    ScrollBarsPlaced();
}

void TBaseGrid::SetBottomReserve(int pixels) {
    pixels = std::max(pixels, 0);
    SetProperty(FBottomReserve, pixels, [this] {
        UpdateScrollBars();
        InvalidateGrid();
    });
}

void TBaseGrid::OnScrollBarMoved() {
    if (FSyncingScrollBars) return;
    SetTopLeft(ScrollBarToFirst(TGridAxisKind::Cols, FHorzBar->value()),
               ScrollBarToFirst(TGridAxisKind::Rows, FVertBar->value()));
}

TRect TBaseGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
    TRect area = CellArea();
    if (col >= FixedCols() && col < FLeftCol) return {};
    if (row >= FixedRows() && row < FTopRow) return {};
    TRect r = GetPlainCellRect(col, row);
    if (r.Left >= area.Right || r.Top >= area.Bottom) return {};
    return r;
}

void TBaseGrid::MouseToCell(int x, int y, int& col, int& row) const {
    TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

int TBaseGrid::IndexAt(TGridAxisKind kind, int v) const {
    const TGridAxis& axis = kind == TGridAxisKind::Cols ? FColAxis : FRowAxis;
    const int fixedCount = std::min(Fixed(kind), axis.Count());
    const int fixedExtent = axis.Pos(fixedCount);
    const int first = kind == TGridAxisKind::Cols ? FLeftCol : FTopRow;
    if (v < fixedExtent) return axis.IndexAt(v, 0, fixedCount);
    return axis.IndexAt(v - fixedExtent + axis.Pos(first), first, axis.Count());
}

TGridCoord TBaseGrid::MouseCoord(int x, int y) const {
    TRect area = CellArea();
    if (x < 0 || y < 0 || x >= area.Right || y >= area.Bottom) return {-1, -1};
    int col = IndexAt(TGridAxisKind::Cols, x);
    int row = IndexAt(TGridAxisKind::Rows, y);
    if (col < 0 || row < 0) return {-1, -1};
    return {col, row};
}

void TBaseGrid::FocusCell(int col, int row, bool moveAnchor) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) throw EExtGridError("Grid index out of range");
    if (!SelectCell(col, row)) return;
    TGridRect old = FSelection;
    FCol = col;
    FRow = row;
    if (moveAnchor || !(FOptions & goRangeSelect)) FAnchor = {col, row};
    FSelection = {std::min(FAnchor.X, col), std::min(FAnchor.Y, row), std::max(FAnchor.X, col),
                  std::max(FAnchor.Y, row)};
    if (!(old == FSelection)) InvalidateGrid();
    ScrollIntoView(col, row);
}

void TBaseGrid::SetCol(int col) {
    if (col != FCol) FocusCell(col, FRow, true);
}

void TBaseGrid::SetRow(int row) {
    if (row != FRow) FocusCell(FCol, row, true);
}

void TBaseGrid::SetSelection(const TGridRect& rect) {
    FAnchor = {rect.Left, rect.Top};
    FCol = rect.Right;
    FRow = rect.Bottom;
    FSelection = rect;
    InvalidateGrid();
}

bool TBaseGrid::SelectCell(int col, int row) {
    InvalidateCellArea(FCol, FRow);
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, col, row, can);
    InvalidateCellArea(col, row);
    return can;
}

// ---------------------------------------------------------------------------
// Geometry

TRect TBaseGrid::GetPlainCellRect(int col, int row) const {
    int left = FColAxis.Pos(col);
    int top = FRowAxis.Pos(row);
    int w = ColWidths(col);
    int h = RowHeights(row);
    if (col >= FixedCols()) left = left - FColAxis.Pos(FLeftCol) + FixedWidth();
    if (row >= FixedRows()) top = top - FRowAxis.Pos(FTopRow) + FixedHeight();
    return {left, top, left + w, top + h};
}

TRect TBaseGrid::GetMergedCellRect(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    if (!p || (p->CellSpanX == -1 && p->CellSpanY == -1)) return GetPlainCellRect(col, row);
    TGridCoord b = FindBaseCell(col, row);
    TCellProperties* bp = CellProps(b.X, b.Y);
    TRect first = GetPlainCellRect(b.X, b.Y);
    if (!bp) return first;
    TRect last = GetPlainCellRect(b.X + std::max(bp->CellSpanX, 0), b.Y + std::max(bp->CellSpanY, 0));
    TRect r;
    UnionRect(r, first, last);
    return r;
}

cb::gfx::TSize TBaseGrid::GetMergedCellSize(int col, int row) const {
    TRect r = GetMergedCellRect(col, row);
    return {r.Width(), r.Height()};
}

// ---------------------------------------------------------------------------
// Repaint

void TBaseGrid::InvalidateGrid() {
    if (!RepaintAllowed() || !isVisible()) return;
    update();
}

void TBaseGrid::InvalidateCell(int col, int row) {
    if (!RepaintAllowed() || !isVisible()) return;
    TRect r = CellRect(col, row);
    if (!r.IsEmpty()) update(ToQRect(r));
}

void TBaseGrid::InvalidateRow(int row) {
    if (!RepaintAllowed() || !isVisible() || row < 0 || row >= RowCount()) return;
    TRect r = GetPlainCellRect(0, row);
    update(QRect(0, r.Top, width(), r.Height()));
}

void TBaseGrid::InvalidateCol(int col) {
    if (!RepaintAllowed() || !isVisible() || col < 0 || col >= ColCount()) return;
    TRect r = GetPlainCellRect(col, 0);
    update(QRect(r.Left, 0, r.Width(), height()));
}

void TBaseGrid::InvalidateCellArea(int col, int row) {
    if (!RepaintAllowed() || !isVisible()) return;
    TRect r = GetMergedCellRect(col, row);
    TRect area = CellArea();
    TRect vis;
    if (IntersectRect(vis, r, area)) update(ToQRect(vis));
}

}  // namespace cb::grid
