// The character filter: digits and signs for the number kinds, case for the
// case kinds. A paste runs through the same rules as typing, one character
// at a time, so a paste can never bring in what typing refuses.
#include "grid/edit/CharFilter.h"

#include "grid/util/TextUtils.h"
#include "platform/rtl/FormatSettings.h"

namespace cb::grid {

namespace {

bool IsCommandChar(QChar ch) {
    const ushort u = ch.unicode();
    return u == 8 || u == 9 || u == 10 || u == 13 || u == 27;
}

}  // namespace

TEditText ReplaceSelection(const TEditText& edit, const QString& s) {
    TEditText out;
    out.Text = edit.Text;
    out.Text.replace(edit.SelStart, edit.SelLength, s);
    out.SelStart = edit.SelStart + int(s.size());
    out.SelLength = 0;
    return out;
}

QString MixedCaseText(const QString& text) {
    return QString::fromStdString(CapitaliseName(text.toStdString()));
}

TCharVerdict FilterTypedChar(TEditorType kind, const TEditText& edit, QChar& ch) {
    if (IsCommandChar(ch)) return TCharVerdict::Accept;
    const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings();
    // The text as it stands once the selection is replaced.
    const QString selected = edit.Text.mid(edit.SelStart, edit.SelLength);
    QString rest = edit.Text;
    rest.remove(edit.SelStart, edit.SelLength);
    const bool atStart = edit.SelStart == 0;
    switch (kind) {
    case edNormal:
    case edPassword:
    case edMixedCase:
    case edRichEdit:
    case edUniEdit:
    case edUniComboEdit:
    case edComboEdit:
    case edEditBtn:
    case edUnitEditBtn:
    case edUniEditBtn:
    case edUniMemo:
        return TCharVerdict::Accept;
    case edCapital:
    case edUpperCase:
        ch = QString(ch).toUpper().front();
        return TCharVerdict::Accept;
    case edLowerCase:
        ch = QString(ch).toLower().front();
        return TCharVerdict::Accept;
    case edNumeric:
    case edNumericEditBtn:
    case edSpinEdit:
        if (ch.isDigit() && ch.unicode() < 128) return TCharVerdict::Accept;
        if (ch == QChar('-') && atStart && !rest.contains(QChar('-'))) return TCharVerdict::Accept;
        return TCharVerdict::Beep;
    case edPositiveNumeric:
        return ch.isDigit() && ch.unicode() < 128 ? TCharVerdict::Accept : TCharVerdict::Beep;
    case edFloat:
    case edFloatEditBtn:
    case edFloatSpinEdit: {
        if (ch.isDigit() && ch.unicode() < 128) return TCharVerdict::Accept;
        const QChar dec(fs.DecimalSeparator);
        const QChar thousand(fs.ThousandSeparator);
        if (ch == dec) return rest.contains(dec) ? TCharVerdict::Drop : TCharVerdict::Accept;
        if (ch == thousand) return TCharVerdict::Drop;
        if (ch == QChar('-')) {
            if ((atStart && !rest.contains(QChar('-'))) || selected.contains(QChar('-'))) return TCharVerdict::Accept;
            return TCharVerdict::Beep;
        }
        return TCharVerdict::Drop;
    }
    default:
        // Kinds with editors of their own take no text through this edit.
        return TCharVerdict::Drop;
    }
}

std::optional<TEditText> FilterPaste(TEditorType kind, const TEditText& edit, const QString& pasted,
                                     int lengthLimit) {
    const bool numberKind = kind == edNumeric || kind == edPositiveNumeric || kind == edFloat ||
                            kind == edNumericEditBtn || kind == edFloatEditBtn || kind == edSpinEdit ||
                            kind == edFloatSpinEdit;
    TEditText state = edit;
    for (QChar ch : pasted) {
        // Line breaks and tabs are commands when typed; pasted into a
        // number they are refused.
        if (IsCommandChar(ch) && numberKind) return std::nullopt;
        if (FilterTypedChar(kind, state, ch) != TCharVerdict::Accept) return std::nullopt;
        state = ReplaceSelection(state, QString(ch));
    }
    if (lengthLimit > 0 && state.Text.size() > lengthLimit) return std::nullopt;
    if (kind == edMixedCase) state.Text = MixedCaseText(state.Text);
    // The pasted part stays selected when it replaced a selection.
    if (edit.SelLength > 0) {
        state.SelLength = int(pasted.size());
        state.SelStart = edit.SelStart;
    }
    return state;
}

}  // namespace cb::grid
