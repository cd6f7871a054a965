#pragma once
// The character filter of the text editors: which typed (or pasted)
// characters an editor kind takes. One filter serves the in-place edit and
// the number edits with a button.
#include "grid/util/GridTypes.h"

#include <QString>

#include <optional>

namespace cb::grid {

enum class TCharVerdict {
    Accept,  // the character (possibly changed) goes in
    Beep,    // refused with a beep
    Drop     // refused silently
};

// The edit as a character arrives: its text, the selection and the caret.
struct TEditText {
    QString Text;
    int SelStart = 0;
    int SelLength = 0;
};

// Typed character ch for an editor of kind (case kinds change ch). Control
// characters (Backspace, Tab, Enter, Escape) are always accepted; they are
// commands, not text. Separators come from the process-wide format settings.
TCharVerdict FilterTypedChar(TEditorType kind, const TEditText& edit, QChar& ch);

// A paste of text into edit for kind, filtered as if each character were
// typed in turn (a refused character refuses the whole paste): the new
// text, or nothing when the paste is refused. lengthLimit <= 0: no limit.
std::optional<TEditText> FilterPaste(TEditorType kind, const TEditText& edit, const QString& pasted, int lengthLimit);

// The text with the selection replaced by s, the caret after it.
TEditText ReplaceSelection(const TEditText& edit, const QString& s);

// The text rewritten in mixed case (every word capitalised).
QString MixedCaseText(const QString& text);

}  // namespace cb::grid
