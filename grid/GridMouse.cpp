// TExtStringGrid: mouse presses, releases, double clicks and moves: cell
// events, header and disjunct selections, links and in-cell controls,
// sizing, moving and the start of cell drags.
#include "grid/ExtStringGridPrivate.h"
#include "grid/input/GridCursors.h"
#include "grid/input/GridInputState.h"
#include "grid/markup/HTMLControls.h"
#include "grid/markup/HTMLHintWindow.h"
#include "grid/markup/MarkupText.h"
#include "grid/util/TextUtils.h"

#include "platform/desktop/Shell.h"

#include <QComboBox>

#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

namespace cb::grid {

namespace {

bool IsPlainLink(const std::string& text) {
    return text.find("://") != std::string::npos || text.find("mailto:") != std::string::npos;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Current cell changes

bool TExtStringGrid::SelectCell(int col, int row) {
    if (col >= 0 && row >= 0) {
        bool allow = true;
        const int oldCol = Col();
        const int oldRow = Row();
        if (row != oldRow && OnRowChanging) OnRowChanging(this, oldRow, row, allow);
        if (col != oldCol && OnColChanging) OnColChanging(this, oldCol, col, allow);
        TGridEditing* edit = EditingOf(*this);
        if ((row != oldRow || col != oldCol) && OnCellChanging && !(edit && edit->Advancing()))
            OnCellChanging(this, oldRow, oldCol, row, col, allow);
        if (!allow) return false;
        // An open edit is committed first; a refused value keeps the cell.
        if (edit && !edit->CellChanging(col, row)) return false;
    }
    if (DrawAsFixed(col, row)) return false;
    bool can = TBaseGrid::SelectCell(col, row);
    if (can && FloatingFooter.FooterStyle() != fsFixedLastRow) RepaintFooterPanel();
    return can;
}

// ---------------------------------------------------------------------------
// Press

void TExtStringGrid::mousePressEvent(QMouseEvent* event) {
    // Any press ends panning; a middle press that ends it starts no new one.
    const bool wasPanning = FD->Input.Panning;
    if (wasPanning) StopPanning();
    HideCellHint();
    if (OfferToParts([event](TGridPart& part) { return part.MousePress(*event); })) return;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    switch (event->button()) {
    case Qt::LeftButton:
        LeftButtonDown(event);
        break;
    case Qt::RightButton: {
        TBaseGrid::mousePressEvent(event);
        const TGridCoord c = MouseCoord(x, y);
        if (OnRightClickCell) OnRightClickCell(this, c.Y, c.X);
        break;
    }
    case Qt::MiddleButton:
        if (!wasPanning && IntelliPan != ipNone && RowCount() > FixedRows()) {
            StartPanning(QPoint(x, y));
            break;
        }
        TBaseGrid::mousePressEvent(event);
        break;
    default:
        TBaseGrid::mousePressEvent(event);
        break;
    }
}

void TExtStringGrid::LeftButtonDown(QMouseEvent* event) {
    TGridInputState& in = FD->Input;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    in.MouseDown = true;
    NoteLeftPress(QPoint(x, y));
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    UpdateMouseZone(x, y, false);
    in.LookupText.clear();
    in.PendingSingle = false;
    in.UnmarkOnRelease = false;
    in.PressedHTMLButton = {-1, -1};
    in.SizedByMouse = false;
    in.PressPoint = QPoint(x, y);
    const int leftCol = LeftCol();
    TGridCoord c = MouseCoord(x, y);
    in.PressCell = c;

    // Outside every cell.
    if (c.X < 0 || c.Y < 0) {
        TBaseGrid::mousePressEvent(event);
        return;
    }
    c = FindBaseCell(c.X, c.Y);
    const int col = c.X;
    const int row = c.Y;
    if (in.FirstColSizingZone) {
        in.FirstColSizing = true;
        in.FirstColSizingX = x;
        update();
    }
    const bool fixedByCount = col < FixedCols() || row < FixedRows();
    const bool drawnFixed = !fixedByCount && DrawAsFixed(col, row);

    // Fixed cells look like buttons: pressed until the release.
    if (FixedAsButtons && (fixedByCount || drawnFixed) && (Options() & goFixedVertLine) &&
        (Options() & goFixedHorzLine)) {
        in.PressedFixed = GetMergedCellRect(col, row);
        update();
    }

    // Nodes, radio items and buttons in cells.
    if (PressNodeOrRadio(col, row, x, y)) return;

    // A press on a selected cell of a drag source may become a drag.
    const TRect cr = CellRect(col, row);
    const bool nearEdge = (Options() & goColSizing) && (std::abs(x - cr.Left) <= 4 || std::abs(x - cr.Right) <= 4);
    if ((IsCellSelected(col, row) || (row < FixedRows() && !EnhRowColMove)) && !(Options() & goEditing) &&
        DragDropSettings.OleDropSource && !MouseActions.ColSelect && !MouseActions.AllSelect && !nearEdge) {
        in.PendingSingle = true;
        if (OnClickCell) OnClickCell(this, row, col);
        return;
    }

    if (PressCellButton(col, row, x, y)) return;

    // Disjunct row and column marks.
    if (row >= FixedRows() && MouseActions.DisjunctRowSelect) {
        if (!ctrl) {
            FD->Selection.SetDragging(true);
            ClearRowSelection();
        } else if (IsRowSelected(row)) {
            in.UnmarkOnRelease = true;
        }
    }
    if (col >= FixedCols() && MouseActions.DisjunctColSelect) {
        if (!ctrl) {
            FD->Selection.SetDragging(true);
            ClearColumnSelection();
        } else if (IsColumnSelected(col)) {
            in.UnmarkOnRelease = true;
        }
    }

    // Links and in-cell controls.
    if (FollowLinkOrControl(col, row, x, y)) return;

    // Whole rows, columns or everything from the headers.
    if (Options() & goRangeSelect) {
        const int lastCol = ColCount() - 1;
        const int lastRow = RowCount() - 1;
        if (col < FixedCols() && row < FixedRows() && MouseActions.AllSelect && in.MouseZone == 3) {
            if (FixedCols() <= lastCol && FixedRows() <= lastRow)
                SetSelection({FixedCols(), FixedRows(), lastCol, lastRow});
        } else if (col < FixedCols() && row >= FixedRows() && MouseActions.RowSelect && in.MouseZone == 2) {
            if (FixedCols() <= lastCol) SetSelection({FixedCols(), row, lastCol, row});
            in.HeaderAnchor = row;
        } else if (row < FixedRows() && col >= FixedCols() && MouseActions.ColSelect && in.MouseZone == 1) {
            if (FixedRows() <= lastRow) SetSelection({col, FixedRows(), col, lastRow});
            in.HeaderAnchor = col;
        }
    }
    in.PressOffset = QPoint(x - cr.Left, y - cr.Top);
    in.EnhTarget = -1;
    if (PressCheckBox(col, row)) return;

    if (drawnFixed) {
        if (OnClickCell) OnClickCell(this, row, col);
        return;
    }
    if (!SelectionHidden()) {
        TBaseGrid::mousePressEvent(event);
        // A press on the partly shown last column or row selects no range
        // that would scroll the grid.
        if (GridState() == gsSelecting && MouseActions.NoAutoRangeScroll &&
            (col >= LeftCol() + VisibleColCount() || row >= TopRow() + VisibleRowCount()))
            SetGridState(gsNormal);
        if ((Options() & goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(leftCol);
    }
    // A press inside a merged range selects its base cell only.
    if (IsInMergedRange(in.PressCell.X, in.PressCell.Y) && (Col() != col || Row() != row) && col >= FixedCols() &&
        row >= FixedRows())
        FocusCell(col, row, true);
    if (OnClickCell) OnClickCell(this, row, col);
}

// The link or control of a cell under the mouse: followed or started here.
bool TExtStringGrid::FollowLinkOrControl(int col, int row, int x, int y) {
    if (!URLShow() && !EnableHTML) return false;
    const std::string text = GetCellText(col, row);
    const bool html = CellTextKind(text, EnableHTML) == ctkHTML;
    std::string anchor;
    if (!html) {
        if (!URLShow() || !IsPlainLink(text)) return false;
        anchor = text;
    } else {
        THTMLRenderResult hit;
        if (!HitTestHTMLCell(col, row, x, y, hit)) return false;
        if (!hit.ControlID.empty() || hit.HitTarget == "ctrl") {
            TGridInputState& in = FD->Input;
            CommitInlineControl();
            const std::string type = UpperAscii(hit.ControlType);
            std::string value = hit.ControlValue;
            if (type == "BUTTON") {
                in.PressedHTMLButton = {col, row};
                InvalidateCellArea(col, row);
            } else if (type == "CHECK") {
                value = UpperAscii(value) == "TRUE" ? "FALSE" : "TRUE";
                std::string cellText = text;
                if (SetHTMLControlValue(cellText, hit.ControlID, value)) SetCellText(col, row, cellText);
            }
            if (OnControlClick) OnControlClick(this, row, col, hit.ControlID, type, value);
            const TRect r = hit.ControlRect;
            if (type == "EDIT") {
                if (!in.InlineEdit) {
                    in.InlineEdit = new QLineEdit(this);
                    in.InlineEdit->setFrame(false);
                    connect(in.InlineEdit, &QLineEdit::editingFinished, this, [this] { CommitInlineControl(); });
                }
                in.InlineCell = {col, row};
                in.InlineID = hit.ControlID;
                in.InlineType = type;
                in.InlineEdit->setText(QString::fromStdString(value));
                in.InlineEdit->setGeometry(r.Left + 3, r.Top + 5, std::max(r.Right - r.Left - 4, 8),
                                           std::max(r.Bottom - r.Top - 4, 8));
                in.InlineEdit->show();
                in.InlineEdit->raise();
                in.InlineEdit->setFocus();
            } else if (type == "COMBO") {
                std::vector<std::string> values;
                bool edit = true;
                int dropCount = 8;
                if (OnControlComboList)
                    OnControlComboList(this, row, col, hit.ControlID, type, value, values, edit, dropCount);
                if (!in.InlineCombo) {
                    in.InlineCombo = new QComboBox(this);
                    connect(in.InlineCombo, &QComboBox::activated, this, [this] { CommitInlineControl(); });
                }
                in.InlineCell = {col, row};
                in.InlineID = hit.ControlID;
                in.InlineType = type;
                QComboBox* combo = in.InlineCombo;
                combo->clear();
                combo->setEditable(edit);
                for (const auto& v : values) combo->addItem(QString::fromStdString(v));
                const int index = combo->findText(QString::fromStdString(value));
                if (index >= 0) combo->setCurrentIndex(index);
                if (edit) combo->setEditText(QString::fromStdString(value));
                combo->setMaxVisibleItems(std::clamp(dropCount, 1, 100));
                combo->setGeometry(r.Left + 3, r.Top + 5, std::max(r.Right - r.Left - 4, 16),
                                   combo->sizeHint().height());
                combo->show();
                combo->raise();
                combo->setFocus();
                combo->showPopup();
            }
            return true;
        }
        if (!hit.Hit || hit.HitTarget.empty()) return false;
        anchor = hit.HitTarget;
    }
    bool autoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, row, col, anchor, autoHandle);
    if (autoHandle) {
        if (UpperAscii(anchor).find("CELL://") != std::string::npos) {
            TGridCoord target;
            if (anchor.size() > 7 && ParseRowColRef(std::string_view(anchor).substr(7), target) && target.X >= 0 &&
                target.Y >= 0 && target.X < ColCount() && target.Y < RowCount()) {
                FocusCell(target.X, target.Y, true);
                GotoCell(target.X, target.Y);
            }
        } else {
            cb::os::ShellOpen(anchor);
        }
    }
    return true;
}

void TExtStringGrid::CommitInlineControl() {
    TGridInputState& in = FD->Input;
    if (in.InlineType.empty()) return;
    const TGridCoord cell = in.InlineCell;
    const std::string id = in.InlineID;
    const std::string type = in.InlineType;
    in.InlineType.clear();
    std::string value;
    if (type == "EDIT" && in.InlineEdit) {
        value = in.InlineEdit->text().toStdString();
        in.InlineEdit->hide();
    } else if (type == "COMBO" && in.InlineCombo) {
        value = in.InlineCombo->currentText().toStdString();
        in.InlineCombo->hide();
    } else {
        return;
    }
    if (cell.X < 0 || cell.Y < 0 || cell.X >= ColCount() || cell.Y >= RowCount()) return;
    std::string text = GetCellText(cell.X, cell.Y);
    if (SetHTMLControlValue(text, id, value)) SetCellText(cell.X, cell.Y, text);
    if (OnControlEditDone) OnControlEditDone(this, cell.Y, cell.X, id, type, value);
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::OtherFocusReason);
}

bool TExtStringGrid::HitTestHTMLCell(int col, int row, int x, int y, THTMLRenderResult& result) {
    const std::string text = GetCellText(col, row);
    if (CellTextKind(text, EnableHTML) != ctkHTML) return false;
    const TRect r = HTMLCellTextRect(col, row, text);
    if (r.Right <= r.Left) return false;
    TCanvas canvas;
    SelectCellFont(canvas, col, row);
    THTMLRenderInput input = HTMLPictureInput();
    input.Rect = r;
    input.Point = {x, y};
    input.HitTestOnly = true;
    input.WordWrap = WordWrap();
    RenderHTML(canvas, text, input, result);
    return result.Hit;
}

// ---------------------------------------------------------------------------
// Release

void TExtStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (OfferToParts([event](TGridPart& part) { return part.MouseRelease(*event); })) return;
    if (event->button() == Qt::LeftButton) {
        LeftButtonUp(event);
        return;
    }
    // The right button does not end an enhanced move.
    if (event->button() == Qt::RightButton && (GridState() == gsColMoving || GridState() == gsRowMoving) &&
        EnhRowColMove)
        return;
    TBaseGrid::mouseReleaseEvent(event);
}

void TExtStringGrid::LeftButtonUp(QMouseEvent* event) {
    TGridInputState& in = FD->Input;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    const bool disjunctDrag = FD->Selection.Dragging();
    FD->Selection.SetDragging(false);
    if (disjunctDrag) InvalidateGrid();
    in.MouseZone = 0;
    in.MouseDown = false;
    in.HeaderAnchor = -1;
    if (ReleaseCellButton(event)) return;
    if (in.PressedHTMLButton.X >= 0) {
        InvalidateCellArea(in.PressedHTMLButton.X, in.PressedHTMLButton.Y);
        in.PressedHTMLButton = {-1, -1};
    }
    if (in.PressedFixed.Right > in.PressedFixed.Left) {
        in.PressedFixed = {};
        update();
    }
    if (GridState() == gsColMoving || GridState() == gsRowMoving) EndEnhancedMove();
    HideArrows();
    if (in.FirstColSizing) {
        in.FirstColSizing = false;
        SetColWidths(0, std::max(x, 1));
        update();
    }
    if (in.SizeHintShown) {
        HintWindow().hide();
        in.SizeHintShown = false;
    }
    if (GridState() == gsColSizing) SuppressClick();
    const bool sized = GridState() == gsColSizing || GridState() == gsRowSizing;
    TBaseGrid::mouseReleaseEvent(event);
    if (!sized) ReleaseCheckOrRadio(x, y);
}

// The selection a left release makes, after OnClick: the pressed cell of a
// pending drag that did not start, and the marks of disjunct rows (columns).
void TExtStringGrid::LeftReleaseSelects(int x, int y) {
    TGridInputState& in = FD->Input;
    TGridCoord c = MouseCoord(x, y);
    if (in.PendingSingle) {
        in.PendingSingle = false;
        if (c.X >= FixedCols() && c.Y >= FixedRows()) {
            c = FindBaseCell(c.X, c.Y);
            FocusCell(c.X, c.Y, true);
        }
    }
    // Disjunct rows (columns): the selection's rows are marked, or the
    // released one unmarked after a Ctrl press on a marked one.
    const bool unmark = in.UnmarkOnRelease;
    in.UnmarkOnRelease = false;
    if (MouseActions.DisjunctRowSelect && c.Y >= FixedRows()) {
        if (unmark) {
            if (c.Y < RowCount() - FixedFooters()) SetRowSelected(c.Y, false);
        } else {
            SelectionToRows(false);
        }
    }
    if (MouseActions.DisjunctColSelect && c.X >= FixedCols()) {
        if (unmark)
            SetColumnSelected(c.X, false);
        else
            SelectionToColumns(false);
    }
}

void TExtStringGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    if (button == Qt::LeftButton) LeftReleaseSelects(x, y);
    // Sizing released beyond the control's edge: the size stays.
    if ((GridState() == gsColSizing && x > width()) || (GridState() == gsRowSizing && y > height())) {
        SetGridState(gsNormal);
        return;
    }
    if (MouseActions.DisjunctCellSelect && button == Qt::LeftButton) {
        const TGridCoord c = MouseCoord(x, y);
        if (c.X >= 0 && c.Y >= 0 && !DrawAsFixed(RealColIndex(c.X), c.Y) && c.X >= FixedCols() && c.Y >= FixedRows()) {
            const int rc = RealColIndex(c.X);
            if (shift & Qt::ControlModifier) {
                SetCellSelected(rc, c.Y, !IsCellSelectedDisjunct(rc, c.Y));
            } else {
                ClearCellSelection();
                const TGridRect s = Selection();
                if (s.Left != s.Right || s.Top != s.Bottom) {
                    for (int r = s.Top; r <= s.Bottom; ++r)
                        for (int cc = s.Left; cc <= s.Right; ++cc) SetCellSelected(RealColIndex(cc), r, true);
                } else {
                    SetCellSelected(rc, c.Y, true);
                }
            }
            InvalidateCellArea(c.X, c.Y);
        }
    }
    if (GridState() == gsColSizing || GridState() == gsRowSizing) FD->Input.SizedByMouse = true;
    TBaseGrid::MouseUp(button, shift, x, y);
}

// ---------------------------------------------------------------------------
// Double click

void TExtStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OfferToParts([event](TGridPart& part) { return part.MouseDoubleClick(*event); })) return;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    // A quick second right or middle click is a press of its own (a context
    // menu again, the end of panning), and so is any click that ends panning.
    if (event->button() != Qt::LeftButton || FD->Input.Panning) {
        mousePressEvent(event);
        return;
    }
    const TGridCoord c = MouseCoord(x, y);
    if (c.Y == 0 && c.X >= 0 && (Options() & goColSizing)) {
        const TRect r = GetPlainCellRect(c.X, c.Y);
        int sized = -1;
        if (std::abs(x - r.Left) <= 4 && c.X - 1 >= FixedCols())
            sized = c.X - 1;
        else if (std::abs(x - r.Right) <= 4 && c.X >= FixedCols())
            sized = c.X;
        if (sized >= 0) {
            FD->Input.SizedByDblClick = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, sized, allow);
            if (allow) {
                FitColumnWidth(sized);
                if (OnEndColumnSize) OnEndColumnSize(this, sized);
            }
            return;
        }
    }
    TBaseGrid::mouseDoubleClickEvent(event);
    if (OnDblClickCell) OnDblClickCell(this, c.Y, c.X);
}

// ---------------------------------------------------------------------------
// Move

void TExtStringGrid::mouseMoveEvent(QMouseEvent* event) {
    TGridInputState& in = FD->Input;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    const bool left = event->buttons() & Qt::LeftButton;
    if (in.Panning) return;
    if (OfferToParts([event](TGridPart& part) { return part.MouseMove(*event); })) return;

    // Whole rows or columns dragged along the headers.
    if (left && in.HeaderAnchor >= 0) {
        const TGridCoord c = MouseCoord(x, y);
        if (in.MouseZone == 2 && MouseActions.RowSelect && c.Y >= 0) {
            const int r = std::max(c.Y, FixedRows());
            SetSelection({FixedCols(), std::min(r, in.HeaderAnchor), ColCount() - 1, std::max(r, in.HeaderAnchor)});
        } else if (in.MouseZone == 1 && MouseActions.ColSelect && c.X >= 0) {
            const int cc = std::max(c.X, FixedCols());
            SetSelection({std::min(cc, in.HeaderAnchor), FixedRows(), std::max(cc, in.HeaderAnchor), RowCount() - 1});
        }
    }

    // First-column sizing.
    if (in.FirstColSizing) {
        in.FirstColSizingX = x;
        update();
    }

    // A pressed, selected cell dragged far enough starts a drag of cells.
    if (left && in.PendingSingle && DragDropSettings.OleDropSource && GridState() != gsColSizing &&
        (std::abs(x - in.PressPoint.x()) > 3 || std::abs(y - in.PressPoint.y()) > 3)) {
        const TGridCoord c = MouseCoord(in.PressPoint.x(), in.PressPoint.y());
        in.PendingSingle = false;
        if (c.X >= 0 && c.Y >= 0) {
            StartCellDrag(c.X, c.Y);
            return;
        }
    }

    if (!left) {
        UpdateMouseZone(x, y, true);
        const TGridCoord c = MouseCoord(x, y);
        UpdateLinkCursor(c.X, c.Y, x, y);
        if (in.HintCell.X >= 0 && (c.X != in.HintCell.X || c.Y != in.HintCell.Y)) HideCellHint();
    }
    TBaseGrid::mouseMoveEvent(event);

    if (left && EnhRowColMove && (GridState() == gsColMoving || GridState() == gsRowMoving) &&
        QPoint(x, y) != in.PressPoint && !in.FirstColSizing)
        TrackEnhancedMove(x, y);

    // Size hint while sizing.
    if (HintShowSizing && left && (GridState() == gsColSizing || GridState() == gsRowSizing || in.FirstColSizing)) {
        std::string hint;
        TRect cell;
        if (in.FirstColSizing) {
            hint = "cw=<b>" + std::to_string(in.FirstColSizingX) + "</b>";
            cell = GetPlainCellRect(0, 0);
        } else if (GridState() == gsColSizing) {
            cell = GetPlainCellRect(SizingIndex(), 0);
            hint = "cw=<b>" + std::to_string(std::max(x - cell.Left - (in.PressPoint.x() - cell.Right), 1)) + "</b>";
        } else {
            cell = GetPlainCellRect(0, SizingIndex());
            hint = "rh=<b>" + std::to_string(std::max(y - cell.Top - (in.PressPoint.y() - cell.Bottom), 1)) + "</b>";
        }
        THTMLHintWindow& w = HintWindow();
        w.Font().SetColor(Font().Color());
        const QPoint at = mapToGlobal(QPoint(cell.Left, cell.Top));
        w.SetColor(HintColor);
        w.ActivateHint({at.x(), at.y(), at.x() + 200, at.y()}, hint);
        in.SizeHintShown = true;
    }
}

void TExtStringGrid::MouseMove(Qt::KeyboardModifiers shift, int x, int y) {
    if (GridState() == gsColMoving) {
        bool allow = true;
        if (OnColumnMove) OnColumnMove(this, MoveIndex(), allow);
        if (!allow) {
            EndEnhancedMove();
            SetGridState(gsNormal);
            return;
        }
    } else if (GridState() == gsRowMoving) {
        bool allow = true;
        if (OnRowMove) OnRowMove(this, MoveIndex(), allow);
        if (!allow) {
            EndEnhancedMove();
            SetGridState(gsNormal);
            return;
        }
    }
    if (GridState() == gsSelecting && (RowCount() <= 1 || ColCount() <= FixedCols())) SetGridState(gsNormal);
    TBaseGrid::MouseMove(shift, x, y);
}

void TExtStringGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs) {
    TBaseGrid::CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
    NoteSizingStart(state, index);
    if (state == gsColSizing) {
        bool allow = true;
        if (OnColumnSize) OnColumnSize(this, index, allow);
        if (!allow) state = gsNormal;
    } else if (state == gsRowSizing) {
        bool allow = true;
        if (OnRowSize) OnRowSize(this, index, allow);
        if (!allow) state = gsNormal;
    }
}

void TExtStringGrid::ColumnMoved(int from, int to) {
    // The sort column and the current column follow the move.
    auto follow = [from, to](int c) {
        if (c == from) return to;
        if (from < c && c <= to) return c - 1;
        if (to <= c && c < from) return c + 1;
        return c;
    };
    SortSettings.Column = follow(SortSettings.Column);
    if (SortSettings.IndexShow)
        for (int i = 0; i < SortIndexes.Count(); ++i) {
            const int entry = SortIndexes.Item(i);
            const unsigned direction = unsigned(entry) & TSortIndexList::kDescending;
            SortIndexes.SetItem(i, int(unsigned(follow(TSortIndexList::Column(entry))) | direction));
        }
    const int col = follow(Col());
    if (col != Col() && col >= 0 && col < ColCount()) SetSelection({col, Row(), col, Row()});
}

void TExtStringGrid::RowMoved(int, int) {}

// ---------------------------------------------------------------------------
// Mouse zone and link cursor

int TExtStringGrid::MouseZone() const {
    return FD->Input.MouseZone;
}

void TExtStringGrid::UpdateMouseZone(int x, int y, bool askSizing) {
    TGridInputState& in = FD->Input;
    in.MouseZone = 0;
    in.ZoneCursor = -1;
    in.FirstColSizingZone = false;
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0) return;
    if (MouseActions.SizeFixedCol && FixedCols() > 0 && std::abs(x - ColWidths(0)) < 3) in.FirstColSizingZone = true;
    const TRect r = GetPlainCellRect(c.X, c.Y);
    const bool colBorder =
        (Options() & goColSizing) && c.Y < FixedRows() && (std::abs(x - r.Left) <= 4 || std::abs(x - r.Right) <= 4);
    const bool rowBorder =
        (Options() & goRowSizing) && c.X < FixedCols() && (std::abs(y - r.Top) <= 3 || std::abs(y - r.Bottom) <= 3);
    // The sizing cursor shows only where a press would size (the owner is
    // asked through OnColumnSize and OnRowSize).
    TGridState sizing = gsNormal;
    if (askSizing && (colBorder || rowBorder)) {
        int index = -1;
        int pos = 0;
        int ofs = 0;
        CalcSizingState(x, y, sizing, index, pos, ofs);
    }
    const TGridRect s = Selection();
    const TRect sr = GetPlainCellRect(s.Right, s.Bottom);
    if (Navigation.AllowSmartClipboard && SelectionResizer() && SelectionRectangle() && x >= sr.Right - 4 &&
        x < sr.Right && y >= sr.Bottom - 4 && y < sr.Bottom)
        in.MouseZone = 5;
    else if (c.X < FixedCols() && c.Y < FixedRows() && MouseActions.AllSelect)
        in.MouseZone = 3;
    else if (c.Y < FixedRows() && c.X >= FixedCols() && MouseActions.ColSelect && !colBorder)
        in.MouseZone = 1;
    else if (c.X < FixedCols() && c.Y >= FixedRows() && MouseActions.RowSelect && !rowBorder)
        in.MouseZone = 2;
    if (in.FirstColSizingZone || sizing == gsColSizing)
        in.ZoneCursor = Qt::SplitHCursor;
    else if (sizing == gsRowSizing)
        in.ZoneCursor = Qt::SplitVCursor;
    else if (in.MouseZone == 1)
        in.ZoneCursor = gcColumnHeader;
    else if (in.MouseZone == 2)
        in.ZoneCursor = gcRowHeader;
    else if (in.MouseZone == 3 || in.MouseZone == 5)
        in.ZoneCursor = gcSelectAll;
}

void TExtStringGrid::SetCursor(const QCursor& cursor) {
    TGridInputState& in = FD->Input;
    if (in.GridCursorActive) {
        in.UserCursor = cursor;
        in.UserCursorSet = true;
    } else {
        setCursor(cursor);
    }
}

// Shows a cursor of the grid's own (a code of GridCursor: a zone, a link, a
// move, panning), or gives the user's cursor back (-1).
void TExtStringGrid::ApplyGridCursor(int code) {
    TGridInputState& in = FD->Input;
    if (code >= 0) {
        if (!in.GridCursorActive) {
            in.UserCursorSet = testAttribute(Qt::WA_SetCursor);
            in.UserCursor = cursor();
            in.GridCursorActive = true;
        }
        if (in.ShownCursor != code) setCursor(GridCursor(code));
        in.ShownCursor = code;
    } else if (in.GridCursorActive) {
        in.GridCursorActive = false;
        in.ShownCursor = -1;
        if (in.UserCursorSet)
            setCursor(in.UserCursor);
        else
            unsetCursor();
    }
}

void TExtStringGrid::UpdateLinkCursor(int col, int row, int x, int y) {
    TGridInputState& in = FD->Input;
    bool hand = false;
    if (col >= 0 && row >= 0) {
        const std::string text = GetCellText(col, row);
        if (CellTextKind(text, EnableHTML) == ctkHTML) {
            THTMLRenderResult hit;
            if (HitTestHTMLCell(col, row, x, y, hit) && !hit.HitTarget.empty() && hit.HitTarget != "ctrl") {
                hand = true;
                if (hit.HitTarget != in.HoverAnchor) {
                    in.HoverAnchor = hit.HitTarget;
                    in.HoverAnchorCell = {col, row};
                    if (OnAnchorEnter) OnAnchorEnter(this, row, col, hit.HitTarget);
                }
            }
        } else if (URLShow() && IsPlainLink(text)) {
            hand = true;
        }
    }
    if (!hand && !in.HoverAnchor.empty()) {
        in.HoverAnchor.clear();
        if (OnAnchorExit) OnAnchorExit(this, in.HoverAnchorCell.Y, in.HoverAnchorCell.X, std::string());
    }
    ApplyGridCursor(hand ? int(Qt::PointingHandCursor) : in.ZoneCursor);
}

void TExtStringGrid::leaveEvent(QEvent* event) {
    HideCellHint();
    TBaseGrid::leaveEvent(event);
}

}  // namespace cb::grid
