#include "grid/edit/InplaceEdit.h"

#include "grid/ExtStringGrid.h"
#include "grid/edit/CharFilter.h"
#include "grid/edit/GridEditPart.h"
#include "grid/edit/LookupCompletion.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include <algorithm>

namespace cb::grid {

namespace {

TEditText EditTextOf(const QPlainTextEdit& edit) {
    const QTextCursor c = edit.textCursor();
    return {edit.toPlainText(), c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}

}  // namespace

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid& grid, QWidget* parent) : QPlainTextEdit(parent), FGrid(grid) {
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    document()->setDocumentMargin(1);
    hide();
}

void TExtInplaceEdit::SetText(const QString& text) {
    // setPlainText would reset the undo stack and scroll; a plain replace
    // of the document keeps it cheap for a step of a Tab run.
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.insertText(text);
    LookupArmed = true;
}

void TExtInplaceEdit::CaretToEnd(bool select) {
    QTextCursor c = textCursor();
    c.movePosition(select ? QTextCursor::Start : QTextCursor::End);
    if (select) c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

bool TExtInplaceEdit::TakesChar(QChar& ch, bool& beep) const {
    beep = false;
    const TEditText state = EditTextOf(*this);
    const ushort u = ch.unicode();
    if (LengthLimit > 0 && state.Text.size() >= LengthLimit && state.SelLength == 0 && u != 8 && u != 27 &&
        !((u == 13 || u == 10) && FGrid.Navigation.AdvanceOnEnter))
        return false;
    const TCharVerdict verdict = FilterTypedChar(Kind, state, ch);
    beep = verdict == TCharVerdict::Beep;
    return verdict == TCharVerdict::Accept;
}

void TExtInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) LookupArmed = false;
    else LookupArmed = true;
    if (event->matches(QKeySequence::Paste)) {
        if (const QMimeData* data = QApplication::clipboard()->mimeData()) insertFromMimeData(data);
        return;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
        bool allow = true;
        const bool cut = event->matches(QKeySequence::Cut);
        if (cut && FGrid.OnClipboardCut) FGrid.OnClipboardCut(this, allow);
        if (!cut && FGrid.OnClipboardCopy) FGrid.OnClipboardCopy(this, allow);
        if (allow) QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.front().isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QChar ch = text.front();
        // The keypad's decimal key types the locale's decimal separator.
        if (ch == QChar('.') && (event->modifiers() & Qt::KeypadModifier) && FGrid.ExcelStyleDecimalSeparator)
            ch = QChar(cb::rtl::FormatSettings().DecimalSeparator);
        bool beep = false;
        if (!TakesChar(ch, beep)) {
            if (beep) QApplication::beep();
            return;
        }
        if (Kind == edMixedCase) {
            QTextCursor c = textCursor();
            c.insertText(QString(ch));
            const int pos = c.position();
            SetText(MixedCaseText(toPlainText()));
            c = textCursor();
            c.setPosition(std::min(pos, int(toPlainText().size())));
            setTextCursor(c);
            return;
        }
        textCursor().insertText(QString(ch));
        AdvanceWhenFull();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter is a line break when the grid asks for one; Ctrl+Enter is
        // one in multi-line cells (the router took every Enter that ends
        // the edit).
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        if (!FGrid.Navigation.LineFeedOnEnter && !(ctrl && FGrid.Multilinecells())) return;
        if (LengthLimit > 0 && toPlainText().size() >= LengthLimit) return;
        textCursor().insertText(QStringLiteral("\n"));
        if (ctrl && FGrid.SizeWhileTyping.Height) GrowRowToText();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TExtInplaceEdit::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right) return;
    if (!event->text().isEmpty()) Complete();
    if (FGrid.SizeWhileTyping.Width && FGrid.Col() >= 0) FGrid.MeasureColumnWidth(FGrid.Col(), true);
    if (FGrid.SizeWhileTyping.Height && FGrid.WordWrap()) GrowRowToText();
    FGrid.EditorNotify(toPlainText().toStdString());
}

void TExtInplaceEdit::GrowRowToText() {
    const int row = FGrid.Row();
    if (row < 0 || row >= FGrid.RowCount()) return;
    // Lines as the edit shows them: line breaks and, with wrapping, the
    // wrapped lines.
    int lines = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next())
        lines += b.layout() && b.layout()->lineCount() > 0 ? b.layout()->lineCount() : 1;
    const int old = FGrid.RowHeights(row);
    FGrid.SetRowHeightForLines(row, std::max(lines, 1), 2 * FGrid.TextMargin.Y);
    // Typing never shrinks the row.
    if (FGrid.RowHeights(row) < old) FGrid.SetRowHeights(row, old);
    if (FGrid.RowHeights(row) == old) return;
    if (TGridEditPart* part = FGrid.EditPart()) part->PlaceEditor();
    ensureCursorVisible();
    if (FGrid.OnEndRowSize) FGrid.OnEndRowSize(&FGrid, row);
}

void TExtInplaceEdit::AdvanceWhenFull() {
    // A filled edit (its length limit reached, the caret at the end, no
    // blank typed) moves on as Enter does.
    if (!FGrid.Navigation.AdvanceAuto || LengthLimit <= 0) return;
    const QString text = toPlainText();
    if (text.size() < LengthLimit || textCursor().position() != text.size() || text.contains(QChar(' '))) return;
    // The Enter that leaves the edit (Ctrl+Enter where Enter breaks lines).
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return,
                    FGrid.Navigation.LineFeedOnEnter ? Qt::ControlModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(this, &enter);
}

void TExtInplaceEdit::Hidden() {
    // With LookupHistory, what was typed joins the lookup items.
    const std::string text = toPlainText().toStdString();
    if (!FGrid.LookupHistory || text.empty()) return;
    auto& items = FGrid.LookupItems;
    if (std::find(items.begin(), items.end(), text) == items.end()) items.push_back(text);
}

void TExtInplaceEdit::Complete() {
    if (!LookupArmed || !FGrid.Lookup || FGrid.LookupItems.empty() || textCursor().hasSelection()) return;
    const int caret = textCursor().position();
    const QString prefix = toPlainText().left(caret);
    QStringList items;
    items.reserve(qsizetype(FGrid.LookupItems.size()));
    for (const std::string& s : FGrid.LookupItems) items << QString::fromStdString(s);
    const QString done = CompleteFromItems(prefix, items, FGrid.LookupCaseSensitive);
    if (done.isEmpty()) return;
    SetText(done);
    QTextCursor c = textCursor();
    c.setPosition(int(prefix.size()));
    c.setPosition(int(done.size()), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TExtInplaceEdit::PasteText(const QString& pasted) {
    std::string text = pasted.toStdString();
    bool allow = true;
    if (FGrid.OnClipboardBeforePasteCell) FGrid.OnClipboardBeforePasteCell(this, FGrid.Col(), FGrid.Row(), text, allow);
    if (!allow) return;
    const QString qtext = QString::fromStdString(text);
    if (LengthLimit > 0 && qtext.size() > LengthLimit) return;
    const std::optional<TEditText> next = FilterPaste(Kind, EditTextOf(*this), qtext, LengthLimit);
    if (!next) return;
    if (FGrid.OnClipboardPaste) FGrid.OnClipboardPaste(this, allow);
    if (!allow) return;
    SetText(next->Text);
    QTextCursor c = textCursor();
    c.setPosition(next->SelStart);
    c.setPosition(next->SelStart + next->SelLength, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TExtInplaceEdit::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText()) PasteText(source->text());
}

void TExtInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (FGrid.OnDblClickCell) FGrid.OnDblClickCell(&FGrid, FGrid.Row(), FGrid.Col());
}

}  // namespace cb::grid
