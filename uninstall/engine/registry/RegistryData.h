#pragma once
// Registry data as the uninstall reads and writes it: logged old data turned
// back into a value, and the use counts of shared files and of the database
// engine read from whichever form they were stored in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace scrubber {

// The value to write back for a changed value of the log's type index, from
// its old data (lines each followed by a NUL, then one more NUL; a missing
// final NUL ends the data as well). nullopt for a type index outside 0 to 4.
std::optional<RegValue> ValueFromOldData(std::int32_t typeIndex, std::string_view oldData);

// A use count stored as REG_SZ decimal text, REG_DWORD or a 4-byte
// REG_BINARY; nullopt for any other form.
std::optional<std::int32_t> ReadUseCount(const RegValue& value);

RegValue DwordValue(std::uint32_t number);
// Text stored with its terminating NUL, as the size "length plus 1" asks.
RegValue TextValue(std::string_view text, std::uint32_t type = kRegTypeSz);

}  // namespace scrubber
