// TExtStringGrid: what the mouse shows while it moves rows and columns or
// drags something over the grid: the moving caption window, the arrow marks,
// the pressed look of fixed cells, the first column's sizing line and the
// origin of panning.
#include "grid/ExtStringGridPrivate.h"
#include "grid/input/GridInputState.h"
#include "grid/paint/ArrowWindow.h"
#include "grid/paint/PopupButton.h"

#include <QPainter>

#include <algorithm>

namespace cb::grid {

TArrowWindow& TExtStringGrid::Arrow(int direction) {
    QPointer<TArrowWindow>& a = FD->Input.Arrows[size_t(direction)];
    if (!a) a = new TArrowWindow(this, TArrowDirection(direction));
    return *a;
}

TPopupButton& TExtStringGrid::MoveCaption() {
    QPointer<TPopupButton>& b = FD->Input.MoveCaption;
    if (!b) b = new TPopupButton(this);
    return *b;
}

void TExtStringGrid::HideArrows() {
    for (auto& a : FD->Input.Arrows)
        if (a) a->hide();
}

void TExtStringGrid::ShowArrowAt(int direction, int x, int y) {
    TArrowWindow& a = Arrow(direction);
    a.move(mapToGlobal(QPoint(x, y)));
    a.show();
}

// Step of an enhanced row or column move: the caption window follows the
// mouse, arrows mark where the row or column would land, and the grid
// scrolls when the mouse leaves the scrolled area.
void TExtStringGrid::TrackEnhancedMove(int x, int y) {
    TGridInputState& in = FD->Input;
    const bool cols = GridState() == gsColMoving;
    const int source = MoveIndex();
    TPopupButton& caption = MoveCaption();
    if (cols && source >= FixedCols()) {
        caption.Caption = Cells(source, 0);
        caption.resize(ColWidths(source), RowHeights(0));
    } else if (!cols && source >= FixedRows()) {
        caption.Caption = Cells(0, source);
        caption.resize(std::max(ColWidths(0), 8), RowHeights(source));
    }
    caption.move(mapToGlobal(QPoint(x, y) - in.PressOffset));

    const int target = in.EnhTarget;
    HideArrows();
    if (cols && target >= FixedCols() && target >= LeftCol() && target <= LeftCol() + VisibleColCount()) {
        const TRect r = GetPlainCellRect(target, 0);
        const int left = (target < source ? r.Left : r.Right) - 5;
        ShowArrowAt(int(TArrowDirection::Up), left, r.Bottom);
        ShowArrowAt(int(TArrowDirection::Down), left, r.Top - 8);
    } else if (!cols && target >= FixedRows() && target >= TopRow() && target <= TopRow() + VisibleRowCount()) {
        const TRect r = GetPlainCellRect(0, target);
        const int top = (target < source ? r.Top : r.Bottom) - 5;
        ShowArrowAt(int(TArrowDirection::Right), r.Left - 10, top);
        ShowArrowAt(int(TArrowDirection::Left), r.Right, top);
    }
    const TGridCoord c = MouseCoord(x, y);
    in.EnhTarget = cols ? c.X : c.Y;

    if (cols) {
        if (x < FixedWidth() && LeftCol() > FixedCols())
            SetLeftCol(LeftCol() - 1);
        else if (x > width() && LeftCol() + VisibleColCount() < ColCount())
            SetLeftCol(LeftCol() + 1);
    } else {
        if (y < FixedHeight() && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
        else if (y > height() && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
    }
    if (caption.isHidden()) caption.show();
    ApplyGridCursor(Qt::DragMoveCursor);
}

void TExtStringGrid::EndEnhancedMove() {
    TGridInputState& in = FD->Input;
    if (in.MoveCaption) in.MoveCaption->hide();
    HideArrows();
    in.EnhTarget = -1;
    ApplyGridCursor(-1);
}

// Marks of a drop over the grid: two arrows around the target header of a
// column drag, one arrow left of the target cell for other drags.
void TExtStringGrid::ShowDropMarks(int x, int y, bool allow, bool column) {
    HideArrows();
    if (!allow) return;
    TGridCoord c = MouseCoord(x, y);
    if (c.X < 0 || c.Y < 0) return;
    if (column) {
        const TRect r = GetPlainCellRect(c.X, c.Y);
        ShowArrowAt(int(TArrowDirection::Down), r.Left, r.Top - 8);
        ShowArrowAt(int(TArrowDirection::Up), r.Left, r.Bottom);
        return;
    }
    if (c.Y == 0 && FixedRowAlways()) c.Y = 1;
    if (DragDropSettings.OleEntireRows) c.X = FixedCols();
    if (c.X >= ColCount() || c.Y >= RowCount()) return;
    const TRect r = GetPlainCellRect(c.X, c.Y);
    ShowArrowAt(int(TArrowDirection::Right), r.Left - 10, r.Top);
}

// Drawn over the cells: the pressed fixed cell, the target of a plain
// column or row move, and the origin of panning.
void TExtStringGrid::PaintInputMarks(TCanvas& canvas) {
    const TGridInputState& in = FD->Input;
    if (in.PressedFixed.Right > in.PressedFixed.Left) {
        TRect r = in.PressedFixed;
        canvas.DrawEdge(r, cb::gfx::BDR_SUNKENINNER, cb::gfx::BF_RECT);
    }
    if (!EnhRowColMove && (GridState() == gsColMoving || GridState() == gsRowMoving) && MoveTarget() >= 0 &&
        MoveTarget() != MoveIndex()) {
        const bool cols = GridState() == gsColMoving;
        const TRect r = cols ? GetPlainCellRect(MoveTarget(), 0) : GetPlainCellRect(0, MoveTarget());
        canvas.Pen().SetColor(cb::gfx::clBlack);
        canvas.Pen().SetWidth(3);
        if (cols) {
            const int x = MoveTarget() < MoveIndex() ? r.Left : r.Right - 1;
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, CellArea().Bottom);
        } else {
            const int y = MoveTarget() < MoveIndex() ? r.Top : r.Bottom - 1;
            canvas.MoveTo(0, y);
            canvas.LineTo(CellArea().Right, y);
        }
        canvas.Pen().SetWidth(1);
    }
    if (in.FirstColSizing) {
        canvas.Pen().SetColor(cb::gfx::clBlack);
        canvas.Pen().SetStyle(cb::gfx::psDot);
        canvas.MoveTo(in.FirstColSizingX, 0);
        canvas.LineTo(in.FirstColSizingX, std::max(height(), GetPlainCellRect(0, RowCount() - 1).Bottom));
        canvas.Pen().SetStyle(cb::gfx::psSolid);
    }
    if (in.Panning && IntelliPan != ipNone) {
        // A round mark with arrows for the directions the grid pans in.
        const int x = in.PanAnchor.x();
        const int y = in.PanAnchor.y();
        canvas.Pen().SetColor(cb::gfx::clGray);
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetColor(cb::gfx::clWhite);
        canvas.Ellipse(x, y, x + 32, y + 32);
        canvas.Brush().SetColor(cb::gfx::clBlack);
        const int cx = x + 16;
        const int cy = y + 16;
        canvas.Ellipse(cx - 2, cy - 2, cx + 3, cy + 3);
        std::vector<TPoint> up{{cx, y + 4}, {cx - 4, y + 9}, {cx + 4, y + 9}};
        std::vector<TPoint> down{{cx, y + 28}, {cx - 4, y + 23}, {cx + 4, y + 23}};
        std::vector<TPoint> left{{x + 4, cy}, {x + 9, cy - 4}, {x + 9, cy + 4}};
        std::vector<TPoint> right{{x + 28, cy}, {x + 23, cy - 4}, {x + 23, cy + 4}};
        if (IntelliPan != ipHorizontal) {
            canvas.Polygon(up);
            canvas.Polygon(down);
        }
        if (IntelliPan != ipVertical) {
            canvas.Polygon(left);
            canvas.Polygon(right);
        }
    }
}

}  // namespace cb::grid
