#include "grid/edit/EditLink.h"

#include "grid/ExtStringGrid.h"

#include <QWidget>

namespace cb::grid {

TEditLink::~TEditLink() = default;

void TEditLink::FocusEditor(bool editor) {
    if (editor) {
        if (QWidget* c = EditorControl()) c->setFocus(Qt::OtherFocusReason);
    } else if (FGrid) {
        FGrid->setFocus(Qt::OtherFocusReason);
    }
}

void TEditLink::PlaceEditor(const QRect& rect) {
    QWidget* c = EditorControl();
    if (!c) return;
    const int line = FGrid ? FGrid->GridLineWidth() : 0;
    c->setGeometry(rect.left(), rect.top(), std::max(rect.width() - line, 1), std::max(rect.height() - line, 1));
}

void TEditLink::SetEditorVisible(bool visible) {
    if (QWidget* c = EditorControl()) c->setVisible(visible);
}

void TEditLink::StoreEditorValue(const std::string& text) {
    if (FGrid && FGrid->Col() >= 0 && FGrid->Row() >= 0)
        FGrid->SetEditedCellText(FGrid->Col(), FGrid->Row(), text);
}

void TEditLink::StartEdit(TExtStringGrid& grid, int col, int row, const QRect& cell, cb::gfx::TColor color,
                          const cb::gfx::TFont& font, const std::string& text) {
    FGrid = &grid;
    FCol = col;
    FRow = row;
    if (EditStyle == esPopup) {
        if (AutoPopupWidth) PopupWidth = cell.width();
        FPopup = std::make_unique<QWidget>(nullptr, Qt::Popup | Qt::FramelessWindowHint);
        FPopup->setGeometry(QRect(grid.mapToGlobal(cell.topLeft()), QSize(PopupWidth, PopupHeight)));
        FPopup->show();
        BuildEditor(FPopup.get());
        PlaceEditor(QRect(0, 0, PopupWidth, PopupHeight));
    } else {
        BuildEditor(&grid);
        PlaceEditor(cell);
    }
    SetEditorVisible(true);
    ApplyCellLook(color, font);
    ApplyEditorSettings();
    if (grid.OnGetEditorProp) grid.OnGetEditorProp(&grid, col, row, this);
    WriteEditorValue(text);
    FocusEditor(true);
}

void TEditLink::EndEdit() {
    if (EditStyle == esInplace) SetEditorVisible(false);
    ReleaseEditor();
    FPopup.reset();
}

}  // namespace cb::grid
