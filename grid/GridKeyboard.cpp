// TExtStringGrid: keys. Home and End, Tab over merged cells, inserting and
// deleting rows, select all, disjunct marks from the keyboard and the typed
// row lookup.
#include "grid/ExtStringGridPrivate.h"
#include "grid/input/GridInputState.h"

#include <QKeyEvent>

#include <algorithm>

namespace cb::grid {

bool TExtStringGrid::event(QEvent* event) {
    // Tab and Shift+Tab move between cells with goTabs instead of the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (Options() & goTabs)) {
            keyPressEvent(key);
            return true;
        }
    }
    // Typed characters stay with the grid: without Alt they never trigger a
    // shortcut of the window.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (mods == Qt::NoModifier && !key->text().isEmpty() && key->text().front().isPrint()) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip) {
        // No hints while panning.
        if (Panning()) return true;
        auto* help = static_cast<QHelpEvent*>(event);
        TPoint where;
        if (!GetCellHint(help->pos().x(), help->pos().y(), where).empty()) {
            ShowCellHint(help->pos().x(), help->pos().y());
            return true;
        }
    }
    return TBaseGrid::event(event);
}

void TExtStringGrid::keyPressEvent(QKeyEvent* event) {
    if (Panning()) StopPanning();
    HideCellHint();
    if (OfferToParts([event](TGridPart& part) { return part.KeyPress(*event); })) return;
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const int leftCol = LeftCol();
    const bool rowSelect = Options() & goRowSelect;

    // Space toggles an editable check box or moves a radio group to its next
    // item; the key goes on to the rest of the handling.
    if (key == Qt::Key_Space && Col() >= FixedCols() && Row() >= FixedRows()) {
        const int rc = RealColIndex(Col());
        const bool check = IsCheckBoxCell(rc, Row());
        if (check || IsRadioCell(rc, Row())) {
            if (UserMayEditGraphic(rc, Row())) {
                if (check) {
                    UserToggleCheckBox(rc, Row(), rc);
                } else {
                    CycleRadio(rc, Row(), false);
                    int index = -1;
                    GetRadioIndex(rc, Row(), index);
                    if (OnRadioClick) OnRadioClick(this, rc, Row(), index);
                }
                InvalidateCellArea(Col(), Row());
            }
        }
    }

    // Home and End by the grid's own rule.
    if ((key == Qt::Key_Home || key == Qt::Key_End) && !ctrl && RowCount() > FixedRows() && ColCount() > FixedCols()) {
        const bool home = key == Qt::Key_Home;
        if (Navigation.HomeEndKey == heFirstLastRow) {
            int row = FixedRows();
            if (!home) row = FloatingFooter.Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - 1;
            FocusCell(Col(), row, true);
            SnapToBaseCell();
            return;
        }
        if (rowSelect) {
            FocusCell(home ? FixedCols() : ColCount() - 1, Row(), true);
            SnapToBaseCell();
            SetLeftCol(home ? FixedCols() : std::max(ColCount() - VisibleColCount(), FixedCols()));
            return;
        }
    }
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (Options() & goTabs)) {
        TabToNextCell(key == Qt::Key_Backtab || shift);
        return;
    }

    TBaseGrid::keyPressEvent(event);

    if (rowSelect && Navigation.KeepHorizScroll &&
        (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down))
        SetLeftCol(leftCol);

    // Insert a row.
    if (key == Qt::Key_Insert && !ctrl && !shift && !alt && Navigation.AllowInsertRow) {
        bool can = true;
        if (OnCanInsertRow) OnCanInsertRow(this, Row(), can);
        if (can) {
            if (Navigation.InsertPosition == pInsertAfter) {
                InsertRowOnKey(Row() + 1);
                FocusCell(Col(), std::min(Row() + 1, RowCount() - 1), true);
            } else {
                InsertRowOnKey(Row());
            }
            RecalcFooter();
            RepaintFooterPanel();
        }
        return;
    }
    // Select every normal cell.
    if (key == Qt::Key_A && ctrl) {
        if (rowSelect && (Options() & goRangeSelect) && ColCount() - FixedRightCols() - 1 >= FixedCols() &&
            RowCount() - FixedFooters() - 1 >= FixedRows())
            SetSelection(
                {FixedCols(), FixedRows(), ColCount() - FixedRightCols() - 1, RowCount() - FixedFooters() - 1});
        return;
    }
    // Disjunct marks follow the navigation keys.
    const bool navigation = key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End ||
                            key == Qt::Key_Home || key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right ||
                            key == Qt::Key_Down;
    if (navigation && MouseActions.DisjunctRowSelect) {
        if (!shift && !ctrl) ClearRowSelection();
        const TGridRect s = Selection();
        if (shift) {
            for (int r = FixedRows(); r < RowCount(); ++r) SetRowSelected(r, r >= s.Top && r <= s.Bottom);
        } else {
            SetRowSelected(Row(), true);
        }
    }
    if (navigation && MouseActions.DisjunctColSelect) {
        if (!shift && !ctrl) ClearColumnSelection();
        const TGridRect s = Selection();
        if (shift) {
            for (int c = FixedCols(); c < ColCount(); ++c) SetColumnSelected(c, c >= s.Left && c <= s.Right);
        } else {
            SetColumnSelected(Col(), true);
        }
    }
    if (key == Qt::Key_Space) {
        if (MouseActions.DisjunctRowSelect) SetRowSelected(Row(), !IsRowSelected(Row()));
        if (MouseActions.DisjunctColSelect) SetColumnSelected(Col(), !IsColumnSelected(Col()));
    }
    // Delete a row.
    if (key == Qt::Key_Delete && !alt && Navigation.AllowDeleteRow && RowCount() - FixedRows() - FixedFooters() > 0) {
        bool can = true;
        if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), can);
        if (can) {
            DeleteRowOnKey(Row());
            RecalcFooter();
            RepaintFooterPanel();
        }
        return;
    }
    if (!ctrl && !alt) KeyPress(event->text());
}

void TExtStringGrid::keyReleaseEvent(QKeyEvent* event) {
    if (OfferToParts([event](TGridPart& part) { return part.KeyRelease(*event); })) return;
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        FD->Input.LookupText.clear();
        break;
    default:
        break;
    }
    TBaseGrid::keyReleaseEvent(event);
}

void TExtStringGrid::InsertRowOnKey(int row) {
    InsertRows(row, 1);
    if (OnAutoInsertRow) OnAutoInsertRow(this, row);
}

void TExtStringGrid::DeleteRowOnKey(int row) {
    if (RowCount() - FixedRows() - FixedFooters() == 1)
        ClearRowCells(row);
    else
        RemoveRows(row, 1);
    InvalidateGrid();
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, row);
}

// ---------------------------------------------------------------------------
// Tab

void TExtStringGrid::TabToNextCell(bool backward) {
    const int firstCol = FixedCols();
    const int firstRow = FixedRows();
    const int lastCol = ColCount() - FixedRightCols() - 1;
    const int lastRow = RowCount() - FixedFooters() - 1;
    if (lastCol < firstCol || lastRow < firstRow) return;
    int col = Col();
    int row = Row();
    // Steps along the major direction and wraps into the minor one; true
    // when the step wrapped past the last cell.
    auto step = [backward](int& major, int& minor, int by, int firstMajor, int lastMajor, int firstMinor,
                           int lastMinor) {
        if (backward) {
            if (major > firstMajor) {
                --major;
            } else {
                major = lastMajor;
                minor = minor > firstMinor ? minor - 1 : lastMinor;
            }
            return false;
        }
        if (major + by <= lastMajor) {
            major += by;
            return false;
        }
        major = firstMajor;
        if (minor < lastMinor) {
            ++minor;
            return false;
        }
        minor = firstMinor;
        return true;
    };
    const TGridCoord span = GetMergedSpan(col, row);
    const bool tabOut = Navigation.TabAdvanceDirection == adTopBottom
                            ? step(row, col, span.Y + 1, firstRow, lastRow, firstCol, lastCol)
                            : step(col, row, span.X + 1, firstCol, lastCol, firstRow, lastRow);
    FocusCell(col, row, true);
    if (tabOut && Navigation.TabToNextAtEnd && parentWidget()) focusNextPrevChild(true);
}

// ---------------------------------------------------------------------------
// Typed row lookup

const std::string& TExtStringGrid::LookupText() const {
    return FD->Input.LookupText;
}

void TExtStringGrid::SetLookupText(const std::string& text) {
    FD->Input.LookupText = text;
}

int TExtStringGrid::FindRowByPrefix(const std::string& prefix) const {
    if (RowCount() < 2) return -1;
    const int col = SortSettings.Show ? SortSettings.Column : 1;
    if (col < 0 || col >= ColCount()) return -1;
    const QString want = QString::fromStdString(prefix).toUpper();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString text = QString::fromStdString(GetCellText(col, r));
        if (text.left(want.size()).toUpper() == want) return r;
    }
    return -1;
}

void TExtStringGrid::KeyPress(const QString& text) {
    if (text.isEmpty() || (Options() & goEditing) || !Navigation.AutoGotoWhenSorted) return;
    const QChar ch = text.front();
    std::string& lookup = FD->Input.LookupText;
    if (ch == QChar('\b')) {
        if (!Navigation.AutoGotoIncremental) return;
        // Drops the last character, not the last byte.
        QString q = QString::fromStdString(lookup);
        q.chop(1);
        lookup = q.toStdString();
    } else {
        if (ch.unicode() < 32) return;
        if (Navigation.AutoGotoIncremental)
            lookup += text.toStdString();
        else
            lookup = text.toStdString();
    }
    if (lookup.empty()) return;
    const int row = FindRowByPrefix(lookup);
    if (row >= 0 && row < RowCount() && Col() >= 0) FocusCell(Col(), row, true);
}

}  // namespace cb::grid
