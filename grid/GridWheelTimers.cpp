// TExtStringGrid: the wheel and zoom, middle-button panning, the hover and
// blink timer, focus, and cell hints.
#include "grid/ExtStringGridPrivate.h"
#include "grid/input/GridInputState.h"
#include "grid/markup/HTMLHintWindow.h"
#include "grid/markup/MarkupText.h"
#include "grid/util/TextUtils.h"

#include <QApplication>
#include <QCursor>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Wheel

void TExtStringGrid::wheelEvent(QWheelEvent* event) {
    TGridInputState& in = FD->Input;
    event->accept();
    if (in.Panning) return;
    HideCellHint();
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    const int delta = event->angleDelta().y();
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, event->modifiers(), delta, x, y, handled);
    if (handled) return;
    // Whole notches of 120; smaller steps of fine wheels add up.
    in.WheelRemainder += delta;
    const int notches = in.WheelRemainder / 120;
    in.WheelRemainder -= notches * 120;
    if (notches == 0) return;
    const int lines = WheelScrollLines * -notches;  // positive: towards the user
    if ((event->modifiers() & Qt::ControlModifier) && IntelliZoom) {
        Zoom(lines);
        return;
    }
    if (!EnableWheel) {
        for (int i = 0; i < std::abs(notches); ++i) notches < 0 ? DoMouseWheelDown() : DoMouseWheelUp();
        return;
    }
    if (RowCount() == 1 && FixedRowAlways()) return;
    const int firstRow = FixedRows();
    const int lastRow = RowCount() - FixedFooters() - 1;
    if (lastRow < firstRow || ColCount() <= FixedCols()) return;
    const int target = std::clamp(Row() + lines, firstRow, lastRow);
    const int col = std::clamp(Col(), FixedCols(), ColCount() - 1);
    const int leftCol = LeftCol();
    if (target != Row() || col != Col()) FocusCell(col, target, true);
    if ((Options() & goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(leftCol);
}

void TExtStringGrid::Zoom(int delta) {
    const int step = ZoomStep + delta;
    if (step < -10 || step > 10) return;
    ZoomStep = step;
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) + delta > 0) SetColWidths(c, ColWidths(c) + delta);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) + delta > 0) SetRowHeights(r, RowHeights(r) + delta);
    InvalidateGrid();
}

// ---------------------------------------------------------------------------
// Panning

bool TExtStringGrid::Panning() const {
    return FD->Input.Panning;
}

void TExtStringGrid::StartPanning(const QPoint& at) {
    TGridInputState& in = FD->Input;
    ApplyGridCursor(Qt::SizeAllCursor);
    in.Panning = true;
    in.PanAnchor = at;
    in.PanTimer.start(10, this);
    HideCellHint();
    // A press anywhere ends panning: the grid takes every mouse event.
    if (isVisible()) grabMouse();
    update(at.x(), at.y(), 32, 32);
}

void TExtStringGrid::StopPanning() {
    TGridInputState& in = FD->Input;
    if (!in.Panning) return;
    in.PanTimer.stop();
    if (QWidget::mouseGrabber() == this) releaseMouse();
    ApplyGridCursor(-1);
    in.Panning = false;
    update(in.PanAnchor.x(), in.PanAnchor.y(), 32, 32);
}

void TExtStringGrid::PanTick() {
    const TGridInputState& in = FD->Input;
    if (!in.Panning || IntelliPan == ipNone) return;
    const QPoint p = mapFromGlobal(QCursor::pos());
    int dx = p.x() < in.PanAnchor.x() - 5 ? -1 : p.x() > in.PanAnchor.x() + 5 ? 1 : 0;
    int dy = p.y() > in.PanAnchor.y() + 5 ? 1 : p.y() < in.PanAnchor.y() - 5 ? -1 : 0;
    if (IntelliPan == ipVertical) dx = 0;
    if (IntelliPan == ipHorizontal) dy = 0;
    if (dx && dy)
        ApplyGridCursor((dx > 0) == (dy > 0) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    else if (dx)
        ApplyGridCursor(Qt::SizeHorCursor);
    else if (dy)
        ApplyGridCursor(Qt::SizeVerCursor);
    else
        ApplyGridCursor(Qt::SizeAllCursor);
    const int firstRow = FixedRows();
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int firstCol = FixedCols();
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (lastRow < firstRow || lastCol < firstCol) return;
    int row = std::clamp(Row(), firstRow, lastRow);
    int col = std::clamp(Col(), firstCol, lastCol);
    if (dx < 0 && col > firstCol) --col;
    if (dx > 0 && col < lastCol) ++col;
    if (dy < 0 && row > firstRow) --row;
    if (dy > 0 && row < lastRow) ++row;
    if (row != Row() || col != Col()) FocusCell(col, row, true);
}

// ---------------------------------------------------------------------------
// Timers

void TExtStringGrid::timerEvent(QTimerEvent* event) {
    TGridInputState& in = FD->Input;
    if (event->timerId() == in.GridTimer.timerId())
        GridTimerTick();
    else if (event->timerId() == in.PanTimer.timerId())
        PanTick();
    else
        TBaseGrid::timerEvent(event);
}

void TExtStringGrid::GridTimerTick() {
    if (Hovering && QApplication::widgetAt(QCursor::pos()) == this) {
        // The current cell follows the mouse; the focus stays where it is.
        const QPoint p = mapFromGlobal(QCursor::pos());
        const TGridCoord c = MouseCoord(p.x(), p.y());
        if (c.X >= FixedCols() && c.Y >= FixedRows() && c.X < ColCount() && c.Y < RowCount() &&
            (c.X != Col() || c.Y != Row()))
            FocusCell(c.X, c.Y, true);
    }
    if (EnableBlink) {
        BlinkPhase = !BlinkPhase;
        const int lastRow = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
        const int lastCol = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
        auto blinkAt = [this](int c, int r) {
            const std::string& text = Cells(c, r);
            for (size_t i = 0; i + 4 <= text.size(); ++i)
                if (text[i] == '<' && (text[i + 1] | 0x20) == 'b' && (text[i + 2] | 0x20) == 'l' &&
                    (text[i + 3] | 0x20) == 'i') {
                    InvalidateCell(c, r);
                    return;
                }
        };
        for (int r = TopRow(); r <= lastRow; ++r)
            for (int c = LeftCol(); c <= lastCol; ++c) blinkAt(c, r);
        for (int r = 0; r < std::min(FixedRows(), RowCount()); ++r)
            for (int c = LeftCol(); c <= lastCol; ++c) blinkAt(c, r);
        for (int c = 0; c < std::min(FixedCols(), ColCount()); ++c)
            for (int r = TopRow(); r <= lastRow; ++r) blinkAt(c, r);
    }
}

// ---------------------------------------------------------------------------
// Focus

void TExtStringGrid::focusInEvent(QFocusEvent* event) {
    TBaseGrid::focusInEvent(event);
    // Entering the grid selects the current cell again.
    if (Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount()) SelectCell(Col(), Row());
    if ((RowCount() == 1 && FixedRowAlways()) || (ColCount() == 1 && FixedColAlways())) HideSelection();
}

void TExtStringGrid::focusOutEvent(QFocusEvent* event) {
    TBaseGrid::focusOutEvent(event);
    OfferToParts([event](TGridPart& part) {
        part.FocusOut(*event);
        return false;
    });
    StopPanning();
    TGridInputState& in = FD->Input;
    if (in.PressedHTMLButton.X >= 0) {
        InvalidateCellArea(in.PressedHTMLButton.X, in.PressedHTMLButton.Y);
        in.PressedHTMLButton = {-1, -1};
    }
}

// ---------------------------------------------------------------------------
// Hints

std::string TExtStringGrid::GetCellHint(int x, int y, TPoint& where) {
    TGridInputState& in = FD->Input;
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0 || c.Y < 0) return {};
    in.HintCell = c;
    const int col = c.X;
    const int row = c.Y;
    const int realCol = RealColIndex(col);
    std::string hint;
    const std::string text = GetCellText(realCol, row);
    const bool html = CellTextKind(text, EnableHTML) == ctkHTML;
    if (html && AnchorHint) {
        THTMLRenderResult hit;
        if (HitTestHTMLCell(col, row, x, y, hit) && !hit.HitTarget.empty() && hit.HitTarget != "ctrl") {
            std::string anchor = hit.HitTarget;
            if (OnAnchorHint) OnAnchorHint(this, row, realCol, anchor);
            hint = EscapeHTML(anchor);
        }
    }
    const TRect r = GetMergedCellRect(col, row);
    // A comment shows at the cell's top-right corner, other hints below it.
    std::string comment;
    if (GetCellComment(realCol, row, comment)) {
        hint = EscapeHTML(comment);
        where = {r.Right, r.Top};
    } else {
        where = {r.Left, r.Bottom + 6};
    }
    const bool normal = col >= FixedCols() && row >= FixedRows() && col < ColCount() - FixedRightCols() &&
                        row < RowCount() - FixedFooters();
    // The hint window shows mark-up: a plain text is escaped to show as it stands.
    auto cellText = [&] { return html ? (HTMLHint ? text : HTMLToPlainText(text)) : EscapeHTML(text); };
    if (HintShowCells && normal) {
        where = {r.Left, r.Top};
        hint = cellText();
    } else if (HintShowLargeText && normal) {
        if (MeasureCellContent(realCol, row, false).cx > r.Right - r.Left) {
            where = {r.Left, r.Top};
            hint = cellText();
        }
    }
    GridHint(realCol, row, hint);
    return hint;
}

void TExtStringGrid::ShowCellHint(int x, int y) {
    TPoint where;
    const std::string hint = GetCellHint(x, y, where);
    if (hint.empty()) {
        HideCellHint();
        return;
    }
    THTMLHintWindow& w = HintWindow();
    w.SetColor(HintColor);
    const QPoint at = mapToGlobal(QPoint(where.X, where.Y));
    w.ActivateHint({at.x(), at.y(), at.x(), at.y()}, hint);
}

void TExtStringGrid::HideCellHint() {
    TGridInputState& in = FD->Input;
    in.HintCell = {-1, -1};
    if (FD->FHintWindow && FD->FHintWindow->isVisible() && !in.SizeHintShown) FD->FHintWindow->hide();
}

}  // namespace cb::grid
