#include "grid/edit/LookupCompletion.h"

namespace cb::grid {

QString CompleteFromItems(const QString& prefix, const QStringList& items, bool caseSensitive, int* index) {
    if (index) *index = -1;
    if (prefix.isEmpty()) return {};
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < items.size(); ++i) {
        const QString& item = items[i];
        if (item.size() <= prefix.size() || !item.startsWith(prefix, cs)) continue;
        if (index) *index = i;
        return prefix + item.mid(prefix.size(), 255);
    }
    return {};
}

}  // namespace cb::grid
