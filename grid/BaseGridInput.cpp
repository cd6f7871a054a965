// TBaseGrid: mouse, keyboard and wheel input.
#include "grid/BaseGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace cb::grid {

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
    if (ColCount() <= FixedCols() || RowCount() <= FixedRows()) return;
    TCellProperties* p = CellProps(FCol, FRow);
    TGridCoord base = FindBaseCell(FCol, FRow);
    TCellProperties* bp = p ? CellProps(base.X, base.Y) : nullptr;
    if (bp) {
        if (key == Qt::Key_Right) {
            int last = base.X + std::max(bp->CellSpanX, 0);
            if (last >= FCol && FCol < ColCount() - 1 && base.X < ColCount() - 1 && last < ColCount()) FCol = last;
        } else if (key == Qt::Key_Down) {
            int last = base.Y + std::max(bp->CellSpanY, 0);
            if (last >= FRow && FRow < RowCount() - 1 && base.Y < RowCount() - 1 && last < RowCount()) FRow = last;
        } else if (key == Qt::Key_Left) {
            if (base.X < FCol) FCol = base.X;
        } else if (key == Qt::Key_Up) {
            if (base.Y < FRow) FRow = base.Y;
        }
    }
    if (key == Qt::Key_PageDown && FFooterRowFixed && RowCount() > 1 &&
        VisibleRowCount() + FTopRow - FixedRows() == RowCount() - 1)
        FRow = RowCount() - 2;

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
        row = std::min(row + 1, RowCount() - 1);
        break;
    case Qt::Key_Left:
        col = std::max(col - 1, minCol);
        break;
    case Qt::Key_Right:
        col = std::min(col + 1, ColCount() - 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(row - VisibleRowCount(), minRow);
        break;
    case Qt::Key_PageDown:
        row = std::min(row + VisibleRowCount(), RowCount() - 1);
        break;
    case Qt::Key_Home:
        col = minCol;
        if (ctrl) row = minRow;
        break;
    case Qt::Key_End:
        col = ColCount() - 1;
        if (ctrl) row = RowCount() - 1;
        break;
    case Qt::Key_Tab:
        if (FOptions & goTabs) col = std::min(col + 1, ColCount() - 1);
        break;
    default:
        return;
    }
    if (col != FCol || row != FRow || extend)
        FocusCell(std::clamp(col, 0, ColCount() - 1), std::clamp(row, 0, RowCount() - 1), !extend);
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
    if (FRow < RowCount() - 1) FocusCell(FCol, FRow + 1, true);
    if (FFooterRowFixed && FRow < RowCount() - 1 && FRow - FTopRow >= VisibleRowCount() - FixedRows())
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
