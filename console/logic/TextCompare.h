#pragma once
// Text order of the sorted lists and the results grid's sort: an ordinal
// compare with letter case ignored for ASCII letters; every other byte
// compares by its unsigned value. The platform's own sorted controls compare
// with the user's locale instead (word sort: hyphens and apostrophes count
// for almost nothing, punctuation sorts before digits). For names made of
// letters, digits and dots both orders agree; this one is the same on every
// machine and every run. Windows that show these lists therefore insert the
// entries at the model's positions rather than letting the control sort.
#include <string_view>

namespace rosterly {

// Negative, zero or positive like strcmp.
int CompareNoCase(std::string_view a, std::string_view b);

}  // namespace rosterly
