// TBaseGrid: construction, the cell store (text, property objects and
// graphics) and merged ranges.
#include "grid/BaseGrid.h"

#include "grid/paint/GridScrollBar.h"
#include <QPixmap>

#include <algorithm>

namespace cb::grid {

namespace {
const std::string kEmpty;
}  // namespace

TBaseGrid::TBaseGrid(QWidget* parent) : QWidget(parent) {
    ResizeStorage(5, 5);
    FOptions |= goDrawFocusSelected;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FHorzBar = new TGridScrollBar(Qt::Horizontal, this);
    FVertBar = new TGridScrollBar(Qt::Vertical, this);
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
    const TGridCoord b = FindBaseCell(col, row);
    std::string text = GetRawCellText(b.X, b.Y);
    if (b.Y < FDisplayTextRowLimit) GetDisplayText(b.X, b.Y, text);
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
    if (FFooterRowFixed && row == RowCount() - 1) LastRowChanged();
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
    return p ? p->Graphic.get() : nullptr;
}

void TBaseGrid::SetCellGraphicObject(int col, int row, std::unique_ptr<TCellGraphic> graphic) {
    SetCellGraphicObject(col, row, graphic.release());
}

void TBaseGrid::SetCellGraphicObject(int col, int row, TCellGraphic* graphic) {
    TCellGraphicPtr held(graphic);
    TCellProperties* p = CellProps(col, row);
    if (p && p->Graphic.get() == graphic) {
        (void)held.release();  // already held by the cell
        return;
    }
    p = EnsureCellProperties(col, row);
    if (!p) return;
    p->Graphic = std::move(held);
    InvalidateCellArea(col, row);
}

void TBaseGrid::ClearCell(int col, int row) {
    SetCellText(col, row, std::string());
    ReplaceCellObject(col, row, nullptr);
}

void TBaseGrid::ClearColumnCells(int col) {
    for (int r = 0; r < RowCount(); ++r) {
        ReplaceCellObject(col, r, nullptr);
        SetCellText(col, r, std::string());
    }
}

void TBaseGrid::ClearRowCells(int row) {
    for (int c = 0; c < ColCount(); ++c) {
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
    FreeCellObjects(0, 0, ColCount() - 1, RowCount() - 1);
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
    for (int c = 0; c < ColCount(); ++c) {
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
    if (b.X >= 0 && b.Y >= 0 && b.X < ColCount() && b.Y < RowCount()) FocusCell(b.X, b.Y, true);
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

}  // namespace cb::grid
