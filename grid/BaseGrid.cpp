#include "grid/BaseGrid.h"

#include "grid/CellGraphic.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace cb::grid {

namespace {
const std::string kEmpty;

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
}  // namespace

TBaseGrid::TBaseGrid(QWidget* parent) : QWidget(parent) {
    FColWidths.assign(size_t(FColCount), FDefaultColWidth);
    FRowHeights.assign(size_t(FRowCount), FDefaultRowHeight);
    FRows.resize(size_t(FRowCount));
    for (auto& r : FRows) r.resize(size_t(FColCount));
    FOptions |= goDrawFocusSelected;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FHorzBar = new QScrollBar(Qt::Horizontal, this);
    FVertBar = new QScrollBar(Qt::Vertical, this);
    FHorzBar->hide();
    FVertBar->hide();
    FHorzBar->setFocusPolicy(Qt::NoFocus);
    FVertBar->setFocusPolicy(Qt::NoFocus);
    connect(FHorzBar, &QScrollBar::valueChanged, this, [this](int) { OnScrollBarMoved(); });
    connect(FVertBar, &QScrollBar::valueChanged, this, [this](int) { OnScrollBarMoved(); });
    FFont.OnChange = [this](cb::gfx::TGraphicsObject&) { InvalidateGrid(); };
}

TBaseGrid::~TBaseGrid() {
    FDestroying = true;
    FFont.OnChange = nullptr;
    FreeAllCellObjects();
}

// ---------------------------------------------------------------------------
// Prefix sums

void TBaseGrid::RebuildColPositions() const {
    FColPos.resize(size_t(FColCount) + 1);
    int x = 0;
    for (int i = 0; i < FColCount; ++i) {
        FColPos[size_t(i)] = x;
        x += FColWidths[size_t(i)];
    }
    FColPos[size_t(FColCount)] = x;
    FColPosValid = true;
}

void TBaseGrid::RebuildRowPositions() const {
    FRowPos.resize(size_t(FRowCount) + 1);
    int y = 0;
    for (int i = 0; i < FRowCount; ++i) {
        FRowPos[size_t(i)] = y;
        y += FRowHeights[size_t(i)];
    }
    FRowPos[size_t(FRowCount)] = y;
    FRowPosValid = true;
}

int TBaseGrid::ColPos(int col) const {
    if (!FColPosValid) RebuildColPositions();
    col = std::clamp(col, 0, FColCount);
    return FColPos[size_t(col)];
}

int TBaseGrid::RowPos(int row) const {
    if (!FRowPosValid) RebuildRowPositions();
    row = std::clamp(row, 0, FRowCount);
    return FRowPos[size_t(row)];
}

int TBaseGrid::FixedWidth() const {
    return ColPos(std::min(FixedCols(), FColCount));
}

int TBaseGrid::FixedHeight() const {
    return RowPos(std::min(FixedRows(), FRowCount));
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
    for (auto& r : FRows) r.resize(size_t(colCount));
    if (rowCount > int(FRows.size())) {
        size_t old = FRows.size();
        FRows.resize(size_t(rowCount));
        for (size_t i = old; i < FRows.size(); ++i) FRows[i].resize(size_t(colCount));
    }
    FColWidths.resize(size_t(colCount), FDefaultColWidth);
    FRowHeights.resize(size_t(rowCount), FDefaultRowHeight);
    FColCount = colCount;
    FRowCount = rowCount;
    FColPosValid = FRowPosValid = false;
}

void TBaseGrid::SetColCount(int count) {
    count = std::max(count, 1);
    if (count == FColCount) return;
    int oldCols = FColCount;
    ResizeStorage(count, FRowCount);
    if (FFixedCols >= count) FFixedCols = count - 1;
    SizeChanged(oldCols, FRowCount);
}

void TBaseGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    if (count == FRowCount) return;
    int oldRows = FRowCount;
    ResizeStorage(FColCount, count);
    if (FFixedRows >= count) FFixedRows = count - 1;
    SizeChanged(FColCount, oldRows);
}

void TBaseGrid::SizeChanged(int, int) {
    int firstCol = std::min(FFixedCols, FColCount - 1);
    int firstRow = std::min(FFixedRows, FRowCount - 1);
    if (FCol >= FColCount || FRow >= FRowCount) {
        FCol = std::clamp(FCol, firstCol, FColCount - 1);
        FRow = std::clamp(FRow, firstRow, FRowCount - 1);
        FAnchor = {FCol, FRow};
        FSelection = {FCol, FRow, FCol, FRow};
    } else {
        FSelection.Right = std::min(FSelection.Right, FColCount - 1);
        FSelection.Bottom = std::min(FSelection.Bottom, FRowCount - 1);
    }
    ClampTopLeft();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetFixedCols(int count) {
    count = std::clamp(count, 0, FColCount - 1);
    if (count == FFixedCols) return;
    FFixedCols = count;
    if (FCol < count) FCol = std::min(count, FColCount - 1);
    if (FAnchor.X < count) FAnchor.X = FCol;
    FSelection = {std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow), std::max(FAnchor.X, FCol),
                  std::max(FAnchor.Y, FRow)};
    ClampTopLeft();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetFixedRows(int count) {
    count = std::clamp(count, 0, FRowCount - 1);
    if (count == FFixedRows) return;
    FFixedRows = count;
    if (FRow < count) FRow = std::min(count, FRowCount - 1);
    if (FAnchor.Y < count) FAnchor.Y = FRow;
    FSelection = {std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow), std::max(FAnchor.X, FCol),
                  std::max(FAnchor.Y, FRow)};
    ClampTopLeft();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetDefaultColWidth(int width) {
    width = std::max(width, 0);
    FDefaultColWidth = width;
    std::fill(FColWidths.begin(), FColWidths.end(), width);
    FColPosValid = false;
    ColWidthsChanged();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetDefaultRowHeight(int height) {
    height = std::max(height, 0);
    FDefaultRowHeight = height;
    std::fill(FRowHeights.begin(), FRowHeights.end(), height);
    FRowPosValid = false;
    RowHeightsChanged();
    UpdateScrollBars();
    InvalidateGrid();
}

int TBaseGrid::ColWidths(int col) const {
    return col >= 0 && col < FColCount ? FColWidths[size_t(col)] : FDefaultColWidth;
}

void TBaseGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= FColCount) return;
    width = std::max(width, 0);
    if (FColWidths[size_t(col)] == width) return;
    FColWidths[size_t(col)] = width;
    FColPosValid = false;
    ColWidthsChanged();
    UpdateScrollBars();
    InvalidateGrid();
}

int TBaseGrid::RowHeights(int row) const {
    return row >= 0 && row < FRowCount ? FRowHeights[size_t(row)] : FDefaultRowHeight;
}

void TBaseGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= FRowCount) return;
    height = std::max(height, 0);
    if (FRowHeights[size_t(row)] == height) return;
    FRowHeights[size_t(row)] = height;
    FRowPosValid = false;
    RowHeightsChanged();
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetOptions(TGridOptions options) {
    options |= goDrawFocusSelected;
    if (options == FOptions) return;
    FOptions = options;
    InvalidateGrid();
}

void TBaseGrid::SetScrollBars(TScrollStyle style) {
    if (style == FScrollBars) return;
    FScrollBars = style;
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    InvalidateGrid();
}

void TBaseGrid::SetFixedColor(TColor color) {
    if (color == FFixedColor) return;
    FFixedColor = color;
    InvalidateGrid();
}

void TBaseGrid::SetGridLineWidth(int width) {
    FGridLineWidth = std::max(width, 0);
    InvalidateGrid();
}

void TBaseGrid::SetGridLineColor(TColor color) {
    FGridLineColor = color;
    InvalidateGrid();
}

// ---------------------------------------------------------------------------
// Position and scrolling

int TBaseGrid::VisibleColCount() const {
    int first = std::max(FLeftCol, FixedCols());
    if (first >= FColCount) return 0;
    int avail = CellArea().Width() - FixedWidth();
    int limit = ColPos(first) + avail;
    if (!FColPosValid) RebuildColPositions();
    auto it = std::upper_bound(FColPos.begin() + first, FColPos.end(), limit);
    int lastEdge = int(it - FColPos.begin()) - 1;  // FColPos[lastEdge] <= limit
    int count = lastEdge - first;
    return std::clamp(count, 1, FColCount - first);
}

int TBaseGrid::VisibleRowCount() const {
    int first = std::max(FTopRow, FixedRows());
    if (first >= FRowCount) return 0;
    int avail = CellArea().Height() - FixedHeight();
    int limit = RowPos(first) + avail;
    if (!FRowPosValid) RebuildRowPositions();
    auto it = std::upper_bound(FRowPos.begin() + first, FRowPos.end(), limit);
    int lastEdge = int(it - FRowPos.begin()) - 1;
    int count = lastEdge - first;
    return std::clamp(count, 1, FRowCount - first);
}

int TBaseGrid::MaxTopRow() const {
    int fixed = FixedRows();
    if (fixed >= FRowCount) return fixed;
    int avail = CellArea().Height() - FixedHeight();
    int need = RowPos(FRowCount) - avail;
    auto it = std::lower_bound(FRowPos.begin() + fixed, FRowPos.end(), need);
    int t = int(it - FRowPos.begin());
    return std::clamp(t, fixed, FRowCount - 1);
}

int TBaseGrid::MaxLeftCol() const {
    int fixed = FixedCols();
    if (fixed >= FColCount) return fixed;
    int avail = CellArea().Width() - FixedWidth();
    int need = ColPos(FColCount) - avail;
    auto it = std::lower_bound(FColPos.begin() + fixed, FColPos.end(), need);
    int l = int(it - FColPos.begin());
    return std::clamp(l, fixed, FColCount - 1);
}

void TBaseGrid::ClampTopLeft() {
    FLeftCol = std::clamp(FLeftCol, std::min(FixedCols(), FColCount - 1), std::max(MaxLeftCol(), 0));
    FTopRow = std::clamp(FTopRow, std::min(FixedRows(), FRowCount - 1), std::max(MaxTopRow(), 0));
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

void TBaseGrid::ScrollIntoView(int col, int row) {
    int left = FLeftCol;
    int top = FTopRow;
    if (col >= FixedCols() && col < FColCount) {
        if (col < left)
            left = col;
        else {
            int avail = CellArea().Width() - FixedWidth();
            while (left < col && ColPos(col + 1) - ColPos(left) > avail) ++left;
        }
    }
    if (row >= FixedRows() && row < FRowCount) {
        if (row < top)
            top = row;
        else {
            int avail = CellArea().Height() - FixedHeight();
            if (RowPos(row + 1) - RowPos(top) > avail) {
                // first top row that shows the whole row
                if (!FRowPosValid) RebuildRowPositions();
                int need = RowPos(row + 1) - avail;
                auto it = std::lower_bound(FRowPos.begin() + top, FRowPos.begin() + row + 1, need);
                top = int(it - FRowPos.begin());
            }
        }
    }
    SetTopLeft(left, top);
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
        wantH = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && ColPos(FColCount) > w;
        wantV = (FScrollBars == ssVertical || FScrollBars == ssBoth) && RowPos(FRowCount) > h;
    }
    int vw = FVertBar->sizeHint().width();
    int hh = FHorzBar->sizeHint().height();
    FHorzBar->setVisible(wantH);
    FVertBar->setVisible(wantV);
    if (wantH) FHorzBar->setGeometry(0, height() - hh, width() - (wantV ? vw : 0), hh);
    if (wantV) FVertBar->setGeometry(width() - vw, 0, vw, height() - (wantH ? hh : 0));
    ClampTopLeft();
    FHorzBar->setRange(std::min(FixedCols(), FColCount - 1), MaxLeftCol());
    FHorzBar->setPageStep(std::max(VisibleColCount(), 1));
    FHorzBar->setValue(FLeftCol);
    FVertBar->setRange(std::min(FixedRows(), FRowCount - 1), MaxTopRow());
    FVertBar->setPageStep(std::max(VisibleRowCount(), 1));
    FVertBar->setValue(FTopRow);
    FSyncingScrollBars = false;
    ScrollBarsPlaced();
}

void TBaseGrid::SetBottomReserve(int pixels) {
    pixels = std::max(pixels, 0);
    if (pixels == FBottomReserve) return;
    FBottomReserve = pixels;
    UpdateScrollBars();
    InvalidateGrid();
}

void TBaseGrid::OnScrollBarMoved() {
    if (FSyncingScrollBars) return;
    SetTopLeft(FHorzBar->value(), FVertBar->value());
}

TRect TBaseGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) return {};
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

TGridCoord TBaseGrid::MouseCoord(int x, int y) const {
    TRect area = CellArea();
    if (x < 0 || y < 0 || x >= area.Right || y >= area.Bottom) return {-1, -1};
    if (!FColPosValid) RebuildColPositions();
    if (!FRowPosValid) RebuildRowPositions();
    auto find = [](const std::vector<int>& pos, int v, int from, int to) {
        // the index i in [from, to) with pos[i] <= v < pos[i+1], or -1
        if (from >= to || v < pos[size_t(from)] || v >= pos[size_t(to)]) return -1;
        auto it = std::upper_bound(pos.begin() + from, pos.begin() + to + 1, v);
        return int(it - pos.begin()) - 1;
    };
    int fw = FixedWidth();
    int fh = FixedHeight();
    int fc = std::min(FixedCols(), FColCount);
    int fr = std::min(FixedRows(), FRowCount);
    int col = x < fw ? find(FColPos, x, 0, fc) : find(FColPos, x - fw + ColPos(FLeftCol), FLeftCol, FColCount);
    int row = y < fh ? find(FRowPos, y, 0, fr) : find(FRowPos, y - fh + RowPos(FTopRow), FTopRow, FRowCount);
    if (col < 0 || row < 0) return {-1, -1};
    return {col, row};
}

void TBaseGrid::FocusCell(int col, int row, bool moveAnchor) {
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) throw EExtGridError("Grid index out of range");
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
    if (!RepaintAllowed() || !isVisible() || row < 0 || row >= FRowCount) return;
    TRect r = GetPlainCellRect(0, row);
    update(QRect(0, r.Top, width(), r.Height()));
}

void TBaseGrid::InvalidateCol(int col) {
    if (!RepaintAllowed() || !isVisible() || col < 0 || col >= FColCount) return;
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

// ---------------------------------------------------------------------------
// Cells

const std::string& TBaseGrid::GetRawCellText(int col, int row) const {
    if (row < 0 || col < 0 || row >= int(FRows.size()) || col >= int(FRows[size_t(row)].size())) return kEmpty;
    return FRows[size_t(row)][size_t(col)].Text;
}

void TBaseGrid::SetRawCellText(int col, int row, const std::string& text) {
    if (TCell* c = CellAt(col, row)) c->Text = text;
}

void TBaseGrid::SetCells(int col, int row, const std::string& text) {
    if (TCell* c = CellAt(col, row)) {
        c->Text = text;
        InvalidateCell(col, row);
    }
}

std::string TBaseGrid::GetCellText(int col, int row) const {
    int bc = col;
    int br = row;
    if (CellProps(col, row)) ResolveBaseCell(col, row, bc, br);
    std::string text = GetRawCellText(bc, br);
    if (br < FDisplayTextRowLimit) GetDisplayText(bc, br, text);
    return text;
}

void TBaseGrid::SetCellText(int col, int row, const std::string& text) {
    if (CellProps(col, row)) {
        int bc = col;
        int br = row;
        ResolveBaseCell(col, row, bc, br);
        SetRawCellText(bc, br, text);
        if (parentWidget()) InvalidateCellArea(col, row);
    } else {
        SetCells(col, row, text);
    }
    if (FFooterRowFixed && row == FRowCount - 1) LastRowChanged();
}

TCellProperties* TBaseGrid::EnsureCellProperties(int col, int row) {
    TCell* c = CellAt(col, row);
    if (!c) return nullptr;
    if (!c->Props) c->Props = std::make_unique<TCellProperties>(this, col, row);
    return c->Props.get();
}

void TBaseGrid::SetCellObject(int col, int row, std::unique_ptr<TCellProperties> object) {
    ReplaceCellObject(col, row, std::move(object));
}

void TBaseGrid::ReplaceCellObject(int col, int row, std::unique_ptr<TCellProperties> object) {
    TCell* c = CellAt(col, row);
    if (!c) return;
    if (c->Props && c->Props->Graphic) delete c->Props->Graphic;
    c->Props = std::move(object);
    if (c->Props) {
        c->Props->OwnerGrid = this;
        c->Props->OwnerCol = col;
        c->Props->OwnerRow = row;
    }
}

std::unique_ptr<TCellProperties> TBaseGrid::TakeCellObject(int col, int row) {
    TCell* c = CellAt(col, row);
    return c ? std::move(c->Props) : nullptr;
}

TCellGraphic* TBaseGrid::GetCellGraphicObject(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->Graphic : nullptr;
}

void TBaseGrid::SetCellGraphicObject(int col, int row, TCellGraphic* graphic) {
    TCellProperties* p = EnsureCellProperties(col, row);
    if (!p) return;
    if (p->Graphic && p->Graphic != graphic) delete p->Graphic;
    p->Graphic = graphic;
    InvalidateCellArea(col, row);
}

void TBaseGrid::ClearCell(int col, int row) {
    SetCellText(col, row, std::string());
    ReplaceCellObject(col, row, nullptr);
}

void TBaseGrid::ClearColumnCells(int col) {
    for (int r = 0; r < FRowCount; ++r) {
        ReplaceCellObject(col, r, nullptr);
        SetCellText(col, r, std::string());
    }
}

void TBaseGrid::ClearRowCells(int row) {
    for (int c = 0; c < FColCount; ++c) {
        ReplaceCellObject(c, row, nullptr);
        SetCellText(c, row, std::string());
    }
}

void TBaseGrid::FreeCellObjects(int col1, int row1, int col2, int row2) {
    for (int r = std::max(row1, 0); r <= row2 && r < int(FRows.size()); ++r)
        for (int c = std::max(col1, 0); c <= col2 && c < int(FRows[size_t(r)].size()); ++c)
            ReplaceCellObject(c, r, nullptr);
}

void TBaseGrid::FreeAllCellObjects() {
    FreeCellObjects(0, 0, FColCount - 1, FRowCount - 1);
}

void TBaseGrid::StorageMoved() {
    FRowCount = int(FRows.size());
    FColCount = FRows.empty() ? FColCount : int(FRows[0].size());
    FColWidths.resize(size_t(FColCount), FDefaultColWidth);
    FRowHeights.resize(size_t(FRowCount), FDefaultRowHeight);
    for (int r = 0; r < FRowCount; ++r)
        for (int c = 0; c < FColCount; ++c)
            if (auto& p = FRows[size_t(r)][size_t(c)].Props) {
                p->OwnerCol = c;
                p->OwnerRow = r;
            }
    FColPosValid = FRowPosValid = false;
    FFixedCols = std::clamp(FFixedCols, 0, std::max(FColCount - 1, 0));
    FFixedRows = std::clamp(FFixedRows, 0, std::max(FRowCount - 1, 0));
    ClampTopLeft();
}

// ---------------------------------------------------------------------------
// Merged ranges

void TBaseGrid::MergeCellRange(int col, int row, int colCount, int rowCount) {
    if (colCount < 1 || rowCount < 1) return;
    for (int x = col; x < col + colCount; ++x)
        for (int y = row; y < row + rowCount; ++y) {
            TCellProperties* p = EnsureCellProperties(x, y);
            if (!p) continue;
            p->IsBaseCell = x == col && y == row;
            if (p->IsBaseCell) {
                p->CellSpanX = colCount - 1;
                p->CellSpanY = rowCount - 1;
            } else {
                p->CellSpanX = x - col;
                p->CellSpanY = y - row;
            }
        }
    for (int x = col; x < col + colCount; ++x)
        for (int y = row; y < row + rowCount; ++y) InvalidateCellArea(x, y);
}

void TBaseGrid::SplitMergedRange(int col, int row) {
    TCellProperties* p = EnsureCellProperties(col, row);
    if (!p) return;
    TGridCoord base = FindBaseCell(col, row);
    TCellProperties* bp = EnsureCellProperties(base.X, base.Y);
    if (!bp) return;
    int sx = std::max(bp->CellSpanX, 0);
    int sy = std::max(bp->CellSpanY, 0);
    for (int x = base.X; x <= base.X + sx; ++x)
        for (int y = base.Y; y <= base.Y + sy; ++y)
            if (TCellProperties* q = EnsureCellProperties(x, y)) {
                q->IsBaseCell = true;
                q->CellSpanX = -1;
                q->CellSpanY = -1;
            }
    for (int x = base.X; x <= base.X + sx; ++x)
        for (int y = base.Y; y <= base.Y + sy; ++y) InvalidateCellArea(x, y);
}

TGridCoord TBaseGrid::FindBaseCell(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    if (!p || p->IsBaseCell || p->CellSpanX == -1 || p->CellSpanY == -1) return {col, row};
    return {col - p->CellSpanX, row - p->CellSpanY};
}

bool TBaseGrid::ResolveBaseCell(int col, int row, int& baseCol, int& baseRow) const {
    TGridCoord b = FindBaseCell(col, row);
    baseCol = b.X;
    baseRow = b.Y;
    return b.X == col && b.Y == row;
}

bool TBaseGrid::IsBaseCellAt(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return !p || p->IsBaseCell;
}

bool TBaseGrid::IsInMergedRange(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p && (p->CellSpanX >= 1 || p->CellSpanY >= 1);
}

bool TBaseGrid::IsMergedAcross(int col, int row) const {
    TGridCoord b = FindBaseCell(col, row);
    TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanX > 0;
}

bool TBaseGrid::IsMergedDown(int col, int row) const {
    TGridCoord b = FindBaseCell(col, row);
    TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanY > 0;
}

TGridCoord TBaseGrid::GetMergedSpan(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    TGridCoord b = FindBaseCell(col, row);
    TCellProperties* bp = CellProps(b.X, b.Y);
    if (!bp) return {0, 0};
    return {bp->CellSpanX, bp->CellSpanY};
}

bool TBaseGrid::RowsShareMergedRange(int rowA, int rowB) const {
    bool any = false;
    for (int c = 0; c < FColCount; ++c) {
        if (GetMergedSpan(c, rowA).Y > 0 && GetMergedSpan(c, rowB).Y > 0) {
            if (FindBaseCell(c, rowA).Y != FindBaseCell(c, rowB).Y) return false;
            any = true;
        }
    }
    return any;
}

void TBaseGrid::SnapToBaseCell() {
    if (!CellProps(FCol, FRow)) return;
    TGridCoord b = FindBaseCell(FCol, FRow);
    if (b.X == FCol && b.Y == FRow) return;
    if (b.X >= 0 && b.Y >= 0 && b.X < FColCount && b.Y < FRowCount) FocusCell(b.X, b.Y, true);
}

// ---------------------------------------------------------------------------
// Geometry

TRect TBaseGrid::GetPlainCellRect(int col, int row) const {
    int left = ColPos(col);
    int top = RowPos(row);
    int w = ColWidths(col);
    int h = RowHeights(row);
    if (col >= FixedCols()) left = left - ColPos(FLeftCol) + FixedWidth();
    if (row >= FixedRows()) top = top - RowPos(FTopRow) + FixedHeight();
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
// Hooks

bool TBaseGrid::DrawAsFixed(int, int) {
    return false;
}

int TBaseGrid::GetRowIndent(int) {
    return 0;
}

bool TBaseGrid::SkipFirstColumnLine() {
    return false;
}

void TBaseGrid::DrawCellContent(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState) {
    std::string text = GetCellText(col, row);
    canvas.SetBkMode(cb::gfx::TRANSPARENT);
    canvas.DrawText(text, rect, cb::gfx::DT_SINGLELINE | cb::gfx::DT_VCENTER | cb::gfx::DT_CENTER);
}

void TBaseGrid::LastRowChanged() {}

void TBaseGrid::GetCellAppearance(int, int, TGridDrawState&, bool, bool, bool, TBrush&, TFont&, TAlignment&,
                                  TVAlignment&) {}

void TBaseGrid::GetDisplayText(int col, int row, std::string& text) const {
    if (OnGetDisplText) OnGetDisplText(const_cast<TBaseGrid*>(this), col, row, text);
}

// ---------------------------------------------------------------------------
// Painting

void TBaseGrid::paintEvent(QPaintEvent*) {
    if (!RepaintAllowed()) return;
    QPainter painter(this);
    TCanvas canvas(&painter);
    Paint(canvas);
}

void TBaseGrid::Paint(TCanvas& canvas) {
    PaintCells(canvas);
}

void TBaseGrid::PaintCells(TCanvas& canvas) {
    // Stamps of merged ranges compare against the pass being drawn.
    ++FPaintPass;
    TRect area = CellArea();
    TRect clip = canvas.ClipRect();
    TRect todo;
    if (!IntersectRect(todo, area, clip)) return;
    if (!FColPosValid) RebuildColPositions();
    if (!FRowPosValid) RebuildRowPositions();

    const int fc = std::min(FixedCols(), FColCount);
    const int fr = std::min(FixedRows(), FRowCount);
    const int fw = FixedWidth();
    const int fh = FixedHeight();
    const int left0 = ColPos(FLeftCol);
    const int top0 = RowPos(FTopRow);
    const bool focused = hasFocus();

    // Visible column and row runs: fixed ones, then the scrolled ones that
    // reach into the area.
    auto lastVisible = [](const std::vector<int>& pos, int from, int count, int origin, int offset, int limit) {
        int i = from;
        // first index whose left edge is at or beyond the limit
        auto it = std::lower_bound(pos.begin() + from, pos.begin() + count, limit - offset + origin);
        i = int(it - pos.begin());
        return i;  // exclusive
    };
    int colEnd = lastVisible(FColPos, FLeftCol, FColCount, left0, fw, todo.Right);
    int rowEnd = lastVisible(FRowPos, FTopRow, FRowCount, top0, fh, todo.Bottom);

    std::vector<int> cols;
    cols.reserve(size_t(fc + std::max(colEnd - FLeftCol, 0)));
    for (int c = 0; c < fc; ++c) cols.push_back(c);
    for (int c = std::max(FLeftCol, fc); c < colEnd; ++c) cols.push_back(c);

    auto drawRow = [&](int r) {
        int top = r < fr ? FRowPos[size_t(r)] : FRowPos[size_t(r)] - top0 + fh;
        int bottom = top + FRowHeights[size_t(r)];
        if (bottom <= todo.Top || top >= todo.Bottom) return;
        for (int c : cols) {
            int left = c < fc ? FColPos[size_t(c)] : FColPos[size_t(c)] - left0 + fw;
            int right = left + FColWidths[size_t(c)];
            if (right <= todo.Left || left >= todo.Right) continue;
            TGridDrawState state = 0;
            if (c < fc || r < fr) {
                state = gdFixed;
            } else {
                if (focused && c == FCol && r == FRow) state |= gdFocused;
                if (c >= FSelection.Left && c <= FSelection.Right && r >= FSelection.Top && r <= FSelection.Bottom)
                    state |= gdSelected;
                if ((state & gdFocused) && !(FOptions & goDrawFocusSelected)) state &= ~unsigned(gdSelected);
            }
            DrawCell(canvas, c, r, {left, top, right, bottom}, state);
        }
    };
    for (int r = 0; r < fr; ++r) drawRow(r);
    for (int r = std::max(FTopRow, fr); r < rowEnd; ++r) drawRow(r);

    // The area right of and below the cells.
    int cellsRight = colEnd > FLeftCol ? FColPos[size_t(colEnd)] - left0 + fw : fw;
    int cellsBottom = rowEnd > FTopRow ? FRowPos[size_t(rowEnd)] - top0 + fh : fh;
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Brush().SetColor(FColor);
    if (cellsRight < area.Right) canvas.FillRect({cellsRight, area.Top, area.Right, area.Bottom});
    if (cellsBottom < area.Bottom)
        canvas.FillRect({area.Left, cellsBottom, std::min(cellsRight, area.Right), area.Bottom});
    if (area.Right < width() && area.Bottom < height()) {
        canvas.Brush().SetColor(cb::gfx::clBtnFace);
        canvas.FillRect({area.Right, area.Bottom, width(), height()});
    }
}

void TBaseGrid::DrawCell(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state) {
    using namespace cb::gfx;
    if (FFooterRowFixed && row == FRowCount - 1) {
        canvas.Pen().SetColor(FColor);
        canvas.Brush().SetColor(FColor);
        canvas.FillRect(rect);
        return;
    }
    if (TCellProperties* p = CellProps(col, row)) {
        if (!p->IsBaseCell && p->CellSpanX != -1 && p->CellSpanY != -1) {
            // A covered cell: the first one of a pass draws the whole range.
            TGridCoord b = FindBaseCell(col, row);
            TCellProperties* bp = CellProps(b.X, b.Y);
            if (bp && bp->PaintStamp != FPaintPass) {
                bp->PaintStamp = FPaintPass;
                DrawCellBody(canvas, b.X, b.Y, state);
            }
            return;
        }
        if (p->CellSpanX > 0 || p->CellSpanY > 0) {
            if (p->PaintStamp == FPaintPass) return;
            p->PaintStamp = FPaintPass;
        }
    }
    DrawCellBody(canvas, col, row, state);
}

void TBaseGrid::DrawCellBody(TCanvas& canvas, int col, int row, TGridDrawState state) {
    using namespace cb::gfx;
    if (DrawAsFixed(col, row)) {
        state |= gdFixed;
        state &= ~unsigned(gdSelected);
    }
    TRect rect = GetMergedCellRect(col, row);

    int fixedW = col >= FixedCols() ? FixedWidth() : 0;
    int fixedH = row >= FixedRows() ? FixedHeight() : 0;
    bool clipped = false;
    if ((col >= FixedCols() && FixedCols() > 0 && rect.Left < fixedW) ||
        (row >= FixedRows() && FixedRows() > 0 && rect.Top < fixedH)) {
        TRect area = CellArea();
        canvas.PushClipRect({fixedW, fixedH, area.Right, area.Bottom});
        clipped = true;
    }

    canvas.Pen().SetWidth(1);
    canvas.Font().Assign(FFont);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor((state & gdFixed) || col < FixedCols() || row < FixedRows() ? FFixedColor : FColor);
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    GetCellAppearance(col, row, state, false, true, true, canvas.Brush(), canvas.Font(), ha, va);

    canvas.Pen().SetColor(canvas.Brush().Color());
    canvas.FillRect(rect);

    bool fixed = state & gdFixed;
    int b;
    if (fixed) {
        canvas.Pen().SetColor(clGray);
        canvas.Pen().SetWidth(1);
        b = 1;
    } else {
        canvas.Pen().SetWidth(std::max(FGridLineWidth, 1));
        b = (FGridLineWidth + 1) / 2;
        if (FGridLineWidth > 0) canvas.Pen().SetColor(FGridLineColor);
    }
    if (col == 0 && row >= FixedRows()) rect.Left += GetRowIndent(row);
    if (!(col == 0 && SkipFirstColumnLine())) {
        if (((FOptions & goHorzLine) && !fixed) || ((FOptions & goFixedHorzLine) && fixed)) {
            canvas.MoveTo(rect.Left - b + 1, rect.Bottom - b);
            canvas.LineTo(rect.Right - b + 1, rect.Bottom - b);
        }
    }
    if (((FOptions & goVertLine) && !fixed) || ((FOptions & goFixedVertLine) && fixed)) {
        canvas.MoveTo(rect.Right - b, rect.Bottom - b);
        canvas.LineTo(rect.Right - b, rect.Top - b);
    }
    int shrink = fixed ? 1 : FGridLineWidth;
    TRect inner{rect.Left, rect.Top, rect.Right - shrink, rect.Bottom - shrink};
    DrawCellContent(canvas, col, row, inner, state);
    if (clipped) canvas.PopClip();
}

// ---------------------------------------------------------------------------
// Input

void TBaseGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollBars();
}

void TBaseGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    TGridCoord c = MouseCoord(int(event->position().x()), int(event->position().y()));
    if (c.X < FixedCols() || c.Y < FixedRows()) return;
    bool extend = (event->modifiers() & Qt::ShiftModifier) && (FOptions & goRangeSelect);
    FocusCell(c.X, c.Y, !extend);
    FMouseSelecting = true;
}

void TBaseGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!FMouseSelecting || !(event->buttons() & Qt::LeftButton)) return;
    TGridCoord c = MouseCoord(int(event->position().x()), int(event->position().y()));
    if (c.X < FixedCols() || c.Y < FixedRows()) return;
    if (c.X != FCol || c.Y != FRow) FocusCell(c.X, c.Y, false);
}

void TBaseGrid::mouseReleaseEvent(QMouseEvent*) {
    FMouseSelecting = false;
}

void TBaseGrid::keyPressEvent(QKeyEvent* event) {
    KeyDown(event->key(), event->modifiers());
}

void TBaseGrid::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (FColCount <= FixedCols() || FRowCount <= FixedRows()) return;
    TCellProperties* p = CellProps(FCol, FRow);
    TGridCoord base = FindBaseCell(FCol, FRow);
    TCellProperties* bp = p ? CellProps(base.X, base.Y) : nullptr;
    if (bp) {
        if (key == Qt::Key_Right) {
            int last = base.X + std::max(bp->CellSpanX, 0);
            if (last >= FCol && FCol < FColCount - 1 && base.X < FColCount - 1 && last < FColCount) FCol = last;
        } else if (key == Qt::Key_Down) {
            int last = base.Y + std::max(bp->CellSpanY, 0);
            if (last >= FRow && FRow < FRowCount - 1 && base.Y < FRowCount - 1 && last < FRowCount) FRow = last;
        } else if (key == Qt::Key_Left) {
            if (base.X < FCol) FCol = base.X;
        } else if (key == Qt::Key_Up) {
            if (base.Y < FRow) FRow = base.Y;
        }
    }
    if (key == Qt::Key_PageDown && FFooterRowFixed && FRowCount > 1 &&
        VisibleRowCount() + FTopRow - FixedRows() == FRowCount - 1)
        FRow = FRowCount - 2;

    bool extend = (modifiers & Qt::ShiftModifier) && (FOptions & goRangeSelect);
    bool ctrl = modifiers & Qt::ControlModifier;
    int col = FCol;
    int row = FRow;
    int minCol = FixedCols();
    int minRow = FixedRows();
    switch (key) {
    case Qt::Key_Up:
        row = std::max(row - 1, minRow);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, FRowCount - 1);
        break;
    case Qt::Key_Left:
        col = std::max(col - 1, minCol);
        break;
    case Qt::Key_Right:
        col = std::min(col + 1, FColCount - 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(row - VisibleRowCount(), minRow);
        break;
    case Qt::Key_PageDown:
        row = std::min(row + VisibleRowCount(), FRowCount - 1);
        break;
    case Qt::Key_Home:
        col = minCol;
        if (ctrl) row = minRow;
        break;
    case Qt::Key_End:
        col = FColCount - 1;
        if (ctrl) row = FRowCount - 1;
        break;
    case Qt::Key_Tab:
        if (FOptions & goTabs) col = std::min(col + 1, FColCount - 1);
        break;
    default:
        return;
    }
    if (col != FCol || row != FRow || extend)
        FocusCell(std::clamp(col, 0, FColCount - 1), std::clamp(row, 0, FRowCount - 1), !extend);
    SnapToBaseCell();
}

void TBaseGrid::wheelEvent(QWheelEvent* event) {
    int dy = event->angleDelta().y();
    if (dy < 0)
        DoMouseWheelDown();
    else if (dy > 0)
        DoMouseWheelUp();
    event->accept();
}

void TBaseGrid::DoMouseWheelDown() {
    if (FRow < FRowCount - 1) FocusCell(FCol, FRow + 1, true);
    if (FFooterRowFixed && FRow < FRowCount - 1 && FRow - FTopRow >= VisibleRowCount() - FixedRows())
        SetTopRow(FTopRow + 1);
    SnapToBaseCell();
}

void TBaseGrid::DoMouseWheelUp() {
    if (FRow > FixedRows()) FocusCell(FCol, FRow - 1, true);
    SnapToBaseCell();
}

void TBaseGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    InvalidateCellArea(FCol, FRow);
}

void TBaseGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    InvalidateCellArea(FCol, FRow);
}

}  // namespace cb::grid
