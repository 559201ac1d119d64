#pragma once
// File-name patterns with the rules of FindFirstFile: "*" and "*.*" match
// every name, "?" also matches nothing at the end of a name or before its
// dot, "NAME.*" also matches NAME, and "*." matches names without a dot.
// Letter case is ignored.
#include <string_view>

namespace scrubber {

bool MatchesPattern(std::string_view pattern, std::string_view name);

}  // namespace scrubber
