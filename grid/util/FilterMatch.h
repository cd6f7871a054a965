#pragma once
// Row filter conditions: wildcard patterns ("A*", "?b"), comparisons
// (">10", "<B", dates in the short date format), negation ("!A*") and terms
// joined by "&" (and) or ";", "^", "|" (or), evaluated left to right.
#include <string_view>

namespace cb::grid {

bool MatchFilterCondition(std::string_view condition, std::string_view value, bool caseSensitive);
bool MatchFilterTerm(std::string_view term, std::string_view value, bool caseSensitive);
bool MatchFilterPattern(std::string_view pattern, std::string_view value);

}  // namespace cb::grid
