// TBaseGrid: the toolkit's mouse, keyboard, wheel and focus handling: range
// selection, sizing and moving by mouse, the control drag, key movement.
#include "grid/BaseGrid.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace cb::grid {

namespace {
// Distance from a column (row) edge within which a press sizes it.
constexpr int SizingZone = 3;

// The item at from goes to to; the ones between shift by one towards from.
template <class T, class A>
void MoveItem(std::vector<T, A>& items, int from, int to) {
    if (from < to)
        std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else
        std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
}
}  // namespace

// ---------------------------------------------------------------------------
// Qt's events

void TBaseGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollBars();
}

void TBaseGrid::mousePressEvent(QMouseEvent* event) {
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    FClicked = event->button() == Qt::LeftButton;
    FLastPress = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), int(event->position().x()), int(event->position().y()));
}

void TBaseGrid::mouseMoveEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    if (FDragPending) {
        if (!(event->buttons() & Qt::LeftButton)) {
            FDragPending = false;
        } else {
            if (std::abs(x - FDragStart.x()) > FDragThreshold || std::abs(y - FDragStart.y()) > FDragThreshold)
                StartControlDrag();
            return;
        }
    }
    MouseMove(event->modifiers(), x, y);
}

void TBaseGrid::mouseReleaseEvent(QMouseEvent* event) {
    FDragPending = false;
    if (event->button() == Qt::LeftButton && FClicked) Click();
    FClicked = false;
    MouseUp(event->button(), event->modifiers(), int(event->position().x()), int(event->position().y()));
}

void TBaseGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    FClicked = false;
    if (event->button() == Qt::LeftButton) DblClick();
    MouseDown(event->button(), event->modifiers(), int(event->position().x()), int(event->position().y()));
}

void TBaseGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyDown) OnKeyDown(this, key, event->modifiers());
    if (key) KeyDown(key, event->modifiers());
}

void TBaseGrid::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyUp) OnKeyUp(this, key, event->modifiers());
}

void TBaseGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    InvalidateCellArea(FCol, FRow);
    if (OnEnter) OnEnter(this);
}

void TBaseGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    InvalidateCellArea(FCol, FRow);
    if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------------------
// Mouse

void TBaseGrid::SetGridState(TGridState state) {
    if (FGridState == state) return;
    const bool repaintLine = FGridState == gsColSizing || FGridState == gsRowSizing;
    FGridState = state;
    if (repaintLine) update();
}

void TBaseGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs) {
    state = gsNormal;
    index = -1;
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0) return;
    // Column edges are taken in the fixed rows, row edges in the fixed columns.
    if ((FOptions & goColSizing) && c.Y < FixedRows()) {
        for (int col : {c.X, c.X - 1}) {
            if (col < 0) continue;
            const TRect r = GetPlainCellRect(col, c.Y);
            if (r.Right <= r.Left && col != c.X) continue;
            if (std::abs(x - r.Right) <= SizingZone) {
                state = gsColSizing;
                index = col;
                sizingPos = x;
                sizingOfs = x - r.Right;
                return;
            }
        }
    }
    if ((FOptions & goRowSizing) && c.X < FixedCols()) {
        for (int row : {c.Y, c.Y - 1}) {
            if (row < 0) continue;
            const TRect r = GetPlainCellRect(c.X, row);
            if (std::abs(y - r.Bottom) <= SizingZone) {
                state = gsRowSizing;
                index = row;
                sizingPos = y;
                sizingOfs = y - r.Bottom;
                return;
            }
        }
    }
}

void TBaseGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    if (button == Qt::LeftButton) {
        TGridState state = gsNormal;
        int index = -1;
        int pos = 0;
        int ofs = 0;
        CalcSizingState(x, y, state, index, pos, ofs);
        if (state != gsNormal) {
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
            SetGridState(state);
            update();
        } else {
            const TGridCoord c = MouseCoord(x, y);
            if (c.X >= 0) {
                if ((FOptions & goColMoving) && c.Y < FixedRows() && c.X >= FixedCols()) {
                    FMoveIndex = c.X;
                    FMoveTarget = c.X;
                    SetGridState(gsColMoving);
                } else if ((FOptions & goRowMoving) && c.X < FixedCols() && c.Y >= FixedRows()) {
                    FMoveIndex = c.Y;
                    FMoveTarget = c.Y;
                    SetGridState(gsRowMoving);
                } else if (c.X >= FixedCols() && c.Y >= FixedRows()) {
                    const bool extend = (shift & Qt::ShiftModifier) && (FOptions & goRangeSelect);
                    FocusCell(c.X, c.Y, !extend);
                    SetGridState(gsSelecting);
                }
            }
        }
    }
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TBaseGrid::MouseMove(Qt::KeyboardModifiers shift, int x, int y) {
    if (FGridState == gsSelecting || FGridState == gsColMoving || FGridState == gsRowMoving) {
        // Beyond the scrolled cells the grid scrolls on its own.
        const TRect area = CellArea();
        const bool outside = x < FixedWidth() || y < FixedHeight() || x >= area.Right || y >= area.Bottom;
        FAutoScrollPoint = QPoint(x, y);
        if (outside && !FAutoScrollTimer.isActive())
            FAutoScrollTimer.start(60, this);
        else if (!outside)
            FAutoScrollTimer.stop();
    }
    switch (FGridState) {
    case gsSelecting: {
        TGridCoord c = MouseCoord(x, y);
        if (c.X >= FixedCols() && c.Y >= FixedRows() && (c.X != FCol || c.Y != FRow)) FocusCell(c.X, c.Y, false);
        break;
    }
    case gsColSizing:
    case gsRowSizing: {
        const int pos = FGridState == gsColSizing ? x : y;
        if (pos != FSizingPos) {
            FSizingPos = pos;
            update();
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        TGridCoord c = MouseCoord(x, y);
        if (FGridState == gsColMoving && c.X >= FixedCols()) FMoveTarget = c.X;
        if (FGridState == gsRowMoving && c.Y >= FixedRows()) FMoveTarget = c.Y;
        break;
    }
    default:
        break;
    }
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TBaseGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    FAutoScrollTimer.stop();
    if (button == Qt::LeftButton) {
        const TGridState state = FGridState;
        SetGridState(gsNormal);
        if (state == gsColSizing && FSizingIndex >= 0 && FSizingIndex < ColCount()) {
            const TRect r = GetPlainCellRect(FSizingIndex, 0);
            const int width = std::max(FSizingPos - FSizingOfs - r.Left, 1);
            if (width != ColWidths(FSizingIndex)) SetColWidths(FSizingIndex, width);
            ColumnSized(FSizingIndex);
        } else if (state == gsRowSizing && FSizingIndex >= 0 && FSizingIndex < RowCount()) {
            const TRect r = GetPlainCellRect(0, FSizingIndex);
            const int height = std::max(FSizingPos - FSizingOfs - r.Top, 1);
            if (height != RowHeights(FSizingIndex)) SetRowHeights(FSizingIndex, height);
            RowSized(FSizingIndex);
        } else if (state == gsColMoving && FMoveTarget != FMoveIndex && FMoveTarget >= 0) {
            MoveColumn(FMoveIndex, FMoveTarget);
        } else if (state == gsRowMoving && FMoveTarget != FMoveIndex && FMoveTarget >= 0) {
            MoveRow(FMoveIndex, FMoveTarget);
        }
        FSizingIndex = -1;
        FMoveIndex = FMoveTarget = -1;
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TBaseGrid::timerEvent(QTimerEvent* event) {
    if (event->timerId() == FAutoScrollTimer.timerId())
        AutoScrollTick();
    else
        QWidget::timerEvent(event);
}

void TBaseGrid::AutoScrollTick() {
    const bool selecting = FGridState == gsSelecting;
    if ((!selecting && FGridState != gsColMoving && FGridState != gsRowMoving) ||
        !(QApplication::mouseButtons() & Qt::LeftButton)) {
        FAutoScrollTimer.stop();
        return;
    }
    const TRect area = CellArea();
    const int x = FAutoScrollPoint.x();
    const int y = FAutoScrollPoint.y();
    const int dx = x < FixedWidth() ? -1 : x >= area.Right ? 1 : 0;
    const int dy = y < FixedHeight() ? -1 : y >= area.Bottom ? 1 : 0;
    if (!selecting) {
        // Moving: only the view scrolls.
        if (FGridState != gsRowMoving && dx)
            SetLeftCol(std::clamp(FLeftCol + dx, FixedCols(), MaxFirst(TGridAxisKind::Cols)));
        if (FGridState != gsColMoving && dy)
            SetTopRow(std::clamp(FTopRow + dy, FixedRows(), MaxFirst(TGridAxisKind::Rows)));
        return;
    }
    // Selecting: the selection grows by a column or row towards the mouse.
    const int col = std::clamp(FCol + dx, FixedCols(), ColCount() - 1);
    const int row = std::clamp(FRow + dy, FixedRows(), RowCount() - 1);
    if (col != FCol || row != FRow) FocusCell(col, row, false);
}

void TBaseGrid::Click() {
    if (OnClick) OnClick(this);
}

void TBaseGrid::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TBaseGrid::PaintSizingLine(QPainter& painter) {
    if (FGridState != gsColSizing && FGridState != gsRowSizing) return;
    QPen pen(Qt::black, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (FGridState == gsColSizing)
        painter.drawLine(FSizingPos, 0, FSizingPos, height());
    else
        painter.drawLine(0, FSizingPos, width(), FSizingPos);
}

// ---------------------------------------------------------------------------
// Moving columns and rows

void TBaseGrid::MoveColumn(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= ColCount() || to >= ColCount()) return;
    // A merged range would be torn apart: such columns stay where they are.
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    for (int r = 0; r < RowCount(); ++r)
        for (int c = lo; c <= hi; ++c)
            if (IsMergedAcross(c, r)) return;
    for (auto& row : FRows) MoveItem(row, from, to);
    MoveItem(FColAxis.Sizes, from, to);
    StorageMoved();
    ColumnMoved(from, to);
    InvalidateGrid();
}

void TBaseGrid::MoveRow(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= RowCount() || to >= RowCount()) return;
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    for (int r = lo; r <= hi; ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (IsMergedDown(c, r)) return;
    MoveItem(FRows, from, to);
    MoveItem(FRowAxis.Sizes, from, to);
    StorageMoved();
    RowMoved(from, to);
    InvalidateGrid();
}

void TBaseGrid::ColumnMoved(int, int) {}

void TBaseGrid::RowMoved(int, int) {}

// ---------------------------------------------------------------------------
// The control drag

void TBaseGrid::BeginDrag(bool immediate, int threshold) {
    if (FDragging) return;
    // Measured from the press that led here.
    FDragStart = QApplication::mouseButtons() == Qt::NoButton && !FClicked ? mapFromGlobal(QCursor::pos()) : FLastPress;
    FDragThreshold = threshold < 0 ? QApplication::startDragDistance() : threshold;
    FDragPending = true;
    if (immediate) StartControlDrag();
}

void TBaseGrid::StartControlDrag() {
    FDragPending = false;
    if (FDragging) return;
    SetGridState(gsNormal);
    // The release that ends a drag is no click.
    FClicked = false;
    std::unique_ptr<QMimeData> data;
    if (OnStartDrag) OnStartDrag(this, data);
    Qt::DropAction action = Qt::IgnoreAction;
    if (data) {
        FDragging = true;
        QPointer<TBaseGrid> self(this);
        action = ExecDrag(data.release(), Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        if (!self) return;
        FDragging = false;
    }
    if (OnEndDrag) OnEndDrag(this, action);
}

void TBaseGrid::SetDragPixmap(const QPixmap& pixmap) {
    FDragPixmap = std::make_unique<QPixmap>(pixmap);
}

Qt::DropAction TBaseGrid::ExecDrag(QMimeData* data, Qt::DropActions actions, Qt::DropAction defaultAction) {
    // Qt frees the drag object when the drag is over.
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    if (FDragPixmap) {
        drag->setPixmap(*FDragPixmap);
        FDragPixmap.reset();
    }
    return drag->exec(actions, defaultAction);
}

// ---------------------------------------------------------------------------
// Keys

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

// ---------------------------------------------------------------------------
// Wheel

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

}  // namespace cb::grid
