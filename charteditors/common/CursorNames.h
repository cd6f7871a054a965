#pragma once
// Cursor numbers by name, for the cursor combos of the editors: the
// toolkit's identifiers ("crDefault", "crCross", ...) and the chart's own
// hand, "crPlotHand" (crPlotHand, 2020). The combos show the names without
// their "cr".
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QCursor;

namespace cb::charteditors {

// "crPlotHand" and the toolkit's identifiers; none for any other text.
std::optional<int> CursorFromIdent(const std::string& ident);
// The identifier of a cursor number; none for a number without one.
std::optional<std::string> CursorToIdent(int cursor);
// The cursor "cr" + name names, else defaultCursor.
int CursorFromName(int defaultCursor, const std::string& name);
// The identifier without a leading "cr".
std::string StripCursorPrefix(const std::string& ident);
// The toolkit's identifiers in table order, then "crPlotHand".
const std::vector<std::string>& CursorIdents();
// Fills the combo with every identifier without its "cr", and selects the
// cursor's (nothing selected when it has no identifier).
void FillCursorCombo(QComboBox* combo, std::optional<int> cursor);
// The number of the first identifier whose cursor looks like this one
// (same shape; for a picture cursor, the chart's hand), or none.
std::optional<int> CursorNumberOf(const QCursor& cursor);

}  // namespace cb::charteditors
