// TExtStringGrid: the editing operations. The work is done by the edit part
// (grid/edit/GridEditPart.h); these are the grid's entry points to it, and
// the hooks through which the grid's moves, scrolls and row and column
// changes reach an open editor.
#include "grid/ExtStringGridPrivate.h"
#include "grid/markup/MarkupText.h"
#include "grid/util/TextUtils.h"

#include <QMessageBox>

namespace cb::grid {

bool TExtStringGrid::EditorShown() const {
    const TGridEditing* part = EditingOf(*this);
    return part && part->Editing();
}

TEditorType TExtStringGrid::EditorKind() const {
    const TGridEditing* part = EditingOf(*this);
    return part ? part->EditorKind() : edNormal;
}

void TExtStringGrid::RememberEditCell(int col, int row) {
    if (TGridEditing* part = EditingOf(*this)) part->RememberEditCell(col, row);
}

bool TExtStringGrid::ValidateEditedCell(const std::string& newText) {
    TGridEditing* part = EditingOf(*this);
    return part ? part->ValidateEditedCell(newText) : true;
}

void TExtStringGrid::RestoreEditText() {
    if (TGridEditing* part = EditingOf(*this)) part->RestoreEditText();
}

void TExtStringGrid::SetEditedCellText(int col, int row, const std::string& text) {
    SetEditText(col, row, text);
}

bool TExtStringGrid::IsCellEditable(int col, int row) {
    const TGridEditing* part = EditingOf(*this);
    return part && part->IsCellEditable(col, row);
}

void TExtStringGrid::AdvanceCell(int col, int row, bool force, bool showEditor, bool forward) {
    if (TGridEditing* part = EditingOf(*this)) part->AdvanceCell(col, row, force, showEditor, forward);
}

void TExtStringGrid::ShowCellEditor() {
    if (Col() < 0 || Row() < 0 || IsCheckOrRadioCell(RealColIndex(Col()), Row())) return;
    if (TGridEditing* part = EditingOf(*this)) part->ShowEditor();
}

bool TExtStringGrid::HideControlEditor() {
    TGridEditing* part = EditingOf(*this);
    return part ? part->CommitEditor() : true;
}

void TExtStringGrid::DoEditingDone() {
    if (OnEditingDone) OnEditingDone(this);
}

void TExtStringGrid::LeaveEditorByKey(int key, Qt::KeyboardModifiers shift) {
    if (TGridEditing* part = EditingOf(*this)) part->LeaveEditorByKey(key, shift);
}

std::string TExtStringGrid::EllipsClick(const std::string& text) {
    std::string s = text;
    if (OnEllipsClick && Col() >= 0 && Row() >= 0) OnEllipsClick(this, RealColIndex(Col()), Row(), s);
    return s;
}

std::string TExtStringGrid::GetCurrentCellText() {
    if (Col() < 0 || Row() < 0) return {};
    return GetCellText(RealColIndex(Col()), Row());
}

void TExtStringGrid::SetCurrentCellText(const std::string& text) {
    if (Col() < 0 || Row() < 0) return;
    SetCellText(RealColIndex(Col()), Row(), text);
}

void TExtStringGrid::EditorNotify(const std::string&) {}

std::string TExtStringGrid::GetEditText(int col, int row) {
    const int real = RealColIndex(col);
    if (real < 0 || row < 0 || real >= ColCount() || row >= RowCount()) return {};
    std::string text = GetCellText(real, row);
    if (!EditWithTags && CellTextKind(text, EnableHTML) == ctkHTML) text = HTMLToPlainText(text);
    return text;
}

void TExtStringGrid::SetEditText(int col, int row, const std::string& text) {
    const int real = RealColIndex(col);
    if (real < 0 || row < 0 || real >= ColCount() || row >= RowCount()) return;
    SetCellText(real, row, text);
}

void TExtStringGrid::GetEditorLook(int realCol, int row, TBrush& brush, TFont& font) {
    TGridDrawState state = 0;
    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    GetCellAppearance(realCol, row, state, false, false, false, brush, font, h, v);
}

unsigned TExtStringGrid::GetVersionNumber() {
    return (2u << 24) | (4u << 16) | (0u << 8) | 3u;
}

std::string TExtStringGrid::GetVersionText() {
    const unsigned v = GetVersionNumber();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF) + " Jan, 2003";
}

std::vector<std::string>& TExtStringGrid::ComboItems() {
    static std::vector<std::string> none;
    TGridEditing* part = EditingOf(*this);
    if (!part) {
        none.clear();
        return none;
    }
    return part->ComboItems;
}

void TExtStringGrid::SetDefaultComboIndex(int index) {
    if (TGridEditing* part = EditingOf(*this)) part->DefaultComboIndex = index;
}

void TExtStringGrid::SetEditLink(TEditLink* link) {
    if (TGridEditing* part = EditingOf(*this)) part->EditLink = link;
}

TEditLink* TExtStringGrid::EditLink() const {
    const TGridEditing* part = EditingOf(*this);
    return part ? part->EditLink : nullptr;
}

void TExtStringGrid::ReportEditError(const std::exception& error) {
    ReportError(error);
}

}  // namespace cb::grid
