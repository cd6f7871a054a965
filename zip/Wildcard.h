#pragma once
// Case-insensitive wildcard matching of file names: "*" any run, "?" one
// character, "<a-e>" a set ("<!..>" or "<^..>" negated); a set right after
// a star limits the run the star takes. The whole text must match.
#include <string_view>

namespace cb::zip {

bool WildcardMatch(std::string_view Pattern, std::string_view Text);

}  // namespace cb::zip
