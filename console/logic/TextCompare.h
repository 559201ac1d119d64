#pragma once
// Text order of the sorted lists and the results grid's sort: letter case is
// ignored for ASCII letters, every other byte compares by its unsigned value.
// The platform's controls compare with the user's locale; for the plain names
// the console handles (letters, digits, hyphen, dot, blank) both orders agree,
// and this one is the same on every machine.
#include <string_view>

namespace rosterly {

// Negative, zero or positive like strcmp.
int CompareNoCase(std::string_view a, std::string_view b);

}  // namespace rosterly
