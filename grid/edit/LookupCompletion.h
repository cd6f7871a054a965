#pragma once
// Completion from a list of items, shared by the in-place edit and both
// combos: the first item (in list order) that starts with the typed prefix.
#include <QString>
#include <QStringList>

namespace cb::grid {

// The completed text: the prefix as typed followed by at most 255 further
// characters of the first matching item; empty when nothing completes (an
// empty prefix completes nothing). index, when given, receives the item.
QString CompleteFromItems(const QString& prefix, const QStringList& items, bool caseSensitive, int* index = nullptr);

}  // namespace cb::grid
