#pragma once
// INI text read and edited with the rules of the profile API, so that an
// INI file changed by a dry run reads back as the platform would read it.
#include <optional>
#include <string>
#include <string_view>

namespace scrubber {

// The entry's value (blanks around it dropped, one pair of enclosing quotes
// removed); nullopt when the section or key is missing.
std::optional<std::string> IniRead(std::string_view text, std::string_view section, std::string_view key);

// The text with the entry set to `value`, or deleted when it is nullopt.
// A missing section is added at the end; a missing key at the end of its
// section.
std::string IniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value);

}  // namespace scrubber
