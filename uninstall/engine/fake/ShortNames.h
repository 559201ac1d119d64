#pragma once
// 8.3 aliases as the FAT and NTFS drivers make them for long names.
#include <string>
#include <string_view>

namespace scrubber {

// A name that already fits 8.3 (1 to 8 characters, optionally a dot and 1 to
// 3 more, no blanks or characters DOS forbids) needs no alias.
bool IsShortName(std::string_view name);

// The alias "BASE~N.EXT" for a long name, with N the `ordinal`: up to six
// characters of the name without blanks, dots and forbidden characters, in
// upper case, and the first three characters after the last dot.
std::string MakeShortName(std::string_view longName, unsigned ordinal);

}  // namespace scrubber
