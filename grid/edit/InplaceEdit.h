#pragma once
// TExtInplaceEdit: the grid's default in-place text editor, a frameless
// multi-line edit over the cell. Typed characters pass the editor kind's
// character filter (the part routes keys before they reach it), pastes are
// filtered as typing is, the text completes from the grid's lookup items,
// and clipboard actions ask the grid's events first.
#include "grid/util/GridTypes.h"

#include <QPlainTextEdit>

namespace cb::grid {

class TExtStringGrid;

class TExtInplaceEdit : public QPlainTextEdit {
public:
    TExtInplaceEdit(TExtStringGrid& grid, QWidget* parent);

    // The editor kind whose filter applies.
    TEditorType Kind = edNormal;
    // Maximum length; 0 or less: no limit.
    int LengthLimit = 0;
    // Completion may run after the current key.
    bool LookupArmed = true;

    QString Text() const { return toPlainText(); }
    void SetText(const QString& text);
    // The caret goes to the end (select: the whole text is selected).
    void CaretToEnd(bool select);
    // Whether the text at the caret would take the character (the filter
    // and the length limit); ch may be changed.
    bool TakesChar(QChar& ch, bool& beep) const;
    // Pastes text as the paste command does (events, limits, filter).
    void PasteText(const QString& text);
    // The edit ended: with the grid's LookupHistory its text joins the
    // lookup items.
    void Hidden();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Complete();
    // Grows the current row to the edit's lines (SizeWhileTyping.Height).
    void GrowRowToText();
    // Navigation.AdvanceAuto: a full edit moves on.
    void AdvanceWhenFull();
    TExtStringGrid& FGrid;
};

}  // namespace cb::grid
