// TExtStringGrid: presses and releases on the graphics of cells: tree nodes
// fold and unfold, radio items are chosen, in-cell buttons are pushed and
// check boxes toggled.
#include "grid/ExtStringGridPrivate.h"

#include <QMouseEvent>

#include <algorithm>

namespace cb::grid {

bool TExtStringGrid::PressNodeOrRadio(int col, int row, int x, int y) {
    if (row >= FixedRows() && col == 0 && IsNodeRow(row)) {
        const int real = DisplayToRealRow(row);
        if (IsNodeContracted(row)) {
            ExpandNode(real);
            if (OnExpandNode) OnExpandNode(this, row, real);
        } else {
            ContractNode(real);
            if (OnContractNode) OnContractNode(this, row, real);
        }
        if (row < RowCount() && row != Row()) FocusCell(std::max(Col(), FixedCols()), row, true);
        return true;
    }
    if (col >= FixedCols() && row >= FixedRows() && IsRadioCell(col, row)) {
        bool can = true;
        CanEditCell(col, row, can);
        if (can) {
            const TRect r = GetMergedCellRect(col, row);
            ClickRadioItem(RealColIndex(col), row, y - r.Top, x - r.Left);
            return true;
        }
    }
    // Column 0 of a tree belongs to the nodes.
    return col == 0 && NodeCount() > 0;
}

void TExtStringGrid::ClickRadioItem(int col, int row, int yOffset, int xOffset) {
    TCanvas canvas;
    SelectCellFont(canvas, col, row);
    const TGridCoord b = FindBaseCell(col, row);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType != ctRadio) return;
    const int display = DisplColIndex(b.X);
    if (Col() != display || Row() != b.Y) FocusCell(display, b.Y, true);
    const TControlStyle style = ControlLook.ControlStyle();
    const int r = style == csClassic || style == csFlat ? ControlLook.RadioSize() : 16;
    const auto& items = g->RadioItems;
    int chosen = -1;
    if (g->CellBoolean) {
        int sum = 0;
        for (int i = 0; i < int(items.size()) && chosen < 0; ++i) {
            const int prev = sum;
            sum += canvas.TextWidth(items[size_t(i)]) + r + 2;
            if (prev < xOffset && xOffset < sum) chosen = i;
        }
    } else {
        const int line = std::max(r, canvas.TextHeight("gh"));
        if (yOffset >= 0 && line > 0 && yOffset / line < int(items.size())) chosen = yOffset / line;
    }
    if (chosen < 0) return;
    if (g->CellIndex == -1)
        SetCellText(b.X, b.Y, items[size_t(chosen)]);
    else
        g->CellIndex = chosen;
    InvalidateCellArea(display, b.Y);
    if (OnRadioClick) OnRadioClick(this, b.X, b.Y, chosen);
}

bool TExtStringGrid::PressCellButton(int col, int row, int x, int y) {
    if (!IsButtonCell(RealColIndex(col), row)) return false;
    SetSelection({col, row, col, row});
    TRect button;
    if (GetButtonRect(col, row, button) && button.Contains({x, y})) {
        if (TCellGraphic* g = GetCellGraphic(RealColIndex(col), row)) g->CellBoolean = true;
        InvalidateCellArea(col, row);
        FD->FPressedButton = {col, row};
    }
    if (OnClickCell) OnClickCell(this, row, col);
    return true;
}

bool TExtStringGrid::UserMayEditGraphic(int realCol, int row) {
    bool can = (Options() & goEditing) || MouseActions.RangeSelectAndEdit;
    if (can) CanEditCell(realCol, row, can);
    return can;
}

void TExtStringGrid::UserToggleCheckBox(int realCol, int row, int reportedCol) {
    ToggleCheckBox(realCol, row, false);
    bool state = false;
    GetCheckBoxState(realCol, row, state);
    if (OnCheckBoxClick) OnCheckBoxClick(this, reportedCol, row, state);
}

bool TExtStringGrid::PressCheckBox(int col, int row) {
    if (col < FixedCols() || row < FixedRows() || !IsCheckBoxCell(RealColIndex(col), row)) return false;
    if (!UserMayEditGraphic(RealColIndex(col), row)) return false;
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    UserToggleCheckBox(RealColIndex(col), row, col);
    if (!Navigation.AlwaysEdit && (Col() != col || Row() != row)) FocusCell(col, row, true);
    if (HideFocusRect) InvalidateCellArea(col, row);
    Click();
    SuppressClick();
    return true;
}

bool TExtStringGrid::ReleaseCellButton(QMouseEvent* event) {
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    if (FD->FPressedButton.X >= 0) {
        const TGridCoord cell = FD->FPressedButton;
        FD->FPressedButton = {-1, -1};
        if (TCellGraphic* g = GetCellGraphic(RealColIndex(cell.X), cell.Y)) g->CellBoolean = false;
        InvalidateCellArea(cell.X, cell.Y);
        if (OnButtonClick) OnButtonClick(this, RealColIndex(cell.X), cell.Y);
        SuppressClick();
        TBaseGrid::mouseReleaseEvent(event);
        return true;
    }
    // A release on a button that was not pressed does nothing.
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0 || c.Y < 0 || !IsButtonCell(RealColIndex(c.X), c.Y)) return false;
    TRect button;
    if (!GetButtonRect(c.X, c.Y, button) || !button.Contains({x, y})) return false;
    SuppressClick();
    TBaseGrid::mouseReleaseEvent(event);
    return true;
}

void TExtStringGrid::ReleaseCheckOrRadio(int x, int y) {
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0 || c.Y < 0 || c.X < FixedCols()) return;
    const int rc = RealColIndex(c.X);
    bool state = false;
    int index = 0;
    if (GetCheckBoxState(rc, c.Y, state)) {
        if (OnCheckBoxMouseUp) OnCheckBoxMouseUp(this, c.X, c.Y, state);
    } else if (GetRadioIndex(rc, c.Y, index)) {
        if (OnRadioMouseUp) OnRadioMouseUp(this, c.X, c.Y, index);
    }
}

}  // namespace cb::grid
