#pragma once
// Names of dimensions, levels, members and measures match without regard to
// letter case, for the letters of every script (not ASCII alone): "ZÜRICH"
// and "Zürich" are one name. Case folding is Unicode's simple one (the
// common and simple mappings of CaseFolding.txt): a final sigma is a sigma,
// the micro sign a mu; a fold that would take more letters ("ß" to "ss", the
// ligature "ﬁ" to "fi") does not apply. Bytes that are not valid UTF-8 stand
// for themselves.
#include <string>
#include <string_view>

namespace cb::olap {

// The name case-folded: the form two matching names share.
std::string FoldName(std::string_view name);

// Whether the names match.
bool SameName(std::string_view a, std::string_view b);

// A hash of the folded name, without building it for ASCII names.
size_t FoldedNameHash(std::string_view name, size_t seed);

// The offset of the first byte that does not belong to a valid UTF-8
// sequence (overlong forms and surrogates included); npos for valid text.
size_t InvalidUtf8At(std::string_view text);

}  // namespace cb::olap
