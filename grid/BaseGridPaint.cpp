// TBaseGrid: painting of the visible cells, merged ranges and grid lines.
#include "grid/BaseGrid.h"

#include <QPainter>

#include <algorithm>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Painting

void TBaseGrid::paintEvent(QPaintEvent*) {
    if (!RepaintAllowed()) return;
    QPainter painter(this);
    {
        TCanvas canvas(&painter);
        Paint(canvas);
    }
    PaintSizingLine(painter);
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
    const std::vector<int>& colPos = FColAxis.Positions();
    const std::vector<int>& rowPos = FRowAxis.Positions();
    const std::vector<int>& colWidths = FColAxis.Sizes;
    const std::vector<int>& rowHeights = FRowAxis.Sizes;

    const int fc = std::min(FixedCols(), ColCount());
    const int fr = std::min(FixedRows(), RowCount());
    const int fw = FixedWidth();
    const int fh = FixedHeight();
    const int left0 = FColAxis.Pos(FLeftCol);
    const int top0 = FRowAxis.Pos(FTopRow);
    const bool focused = hasFocus();

    // Visible column and row runs: fixed ones, then the scrolled ones that
    // reach into the area.
    int colEnd = FColAxis.EndBefore(FLeftCol, left0, todo.Right - fw);
    int rowEnd = FRowAxis.EndBefore(FTopRow, top0, todo.Bottom - fh);

    std::vector<int> cols;
    cols.reserve(size_t(fc + std::max(colEnd - FLeftCol, 0)));
    for (int c = 0; c < fc; ++c) cols.push_back(c);
    for (int c = std::max(FLeftCol, fc); c < colEnd; ++c) cols.push_back(c);

    auto drawRow = [&](int r) {
        int top = r < fr ? rowPos[size_t(r)] : rowPos[size_t(r)] - top0 + fh;
        int bottom = top + rowHeights[size_t(r)];
        if (bottom <= todo.Top || top >= todo.Bottom) return;
        for (int c : cols) {
            int left = c < fc ? colPos[size_t(c)] : colPos[size_t(c)] - left0 + fw;
            int right = left + colWidths[size_t(c)];
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
    int cellsRight = colEnd > FLeftCol ? colPos[size_t(colEnd)] - left0 + fw : fw;
    int cellsBottom = rowEnd > FTopRow ? rowPos[size_t(rowEnd)] - top0 + fh : fh;
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
    if (FFooterRowFixed && row == RowCount() - 1) {
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

}  // namespace cb::grid
