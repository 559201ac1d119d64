#pragma once
// The log's root and type indexes, looked up in their tables. A record with
// an index outside 0 to 4 gets nothing, so that it is passed over rather
// than read past a table's end.
#include <cstdint>
#include <optional>

#include "platform/Registry.h"

namespace scrubber {

std::optional<RegRoot> RootFromIndex(std::int32_t index);
// REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY.
std::optional<std::uint32_t> RegTypeFromIndex(std::int32_t index);

}  // namespace scrubber
