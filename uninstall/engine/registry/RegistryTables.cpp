#include "RegistryTables.h"

#include <array>

#include "UninstallModel.h"

namespace scrubber {
namespace {

constexpr std::array<RegRoot, kRegRootCount> kRoots = {RegRoot::ClassesRoot, RegRoot::CurrentUser,
                                                       RegRoot::LocalMachine, RegRoot::Users, RegRoot::CurrentConfig};
constexpr std::array<std::uint32_t, 5> kTypes = {kRegTypeSz, kRegTypeExpandSz, kRegTypeMultiSz, kRegTypeDword,
                                                 kRegTypeBinary};
static_assert(kRegMultiSz == 2 && kRegBinary == 4, "the type table follows the log's type index");

}  // namespace

std::optional<RegRoot> RootFromIndex(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kRoots.size()) return std::nullopt;
  return kRoots[static_cast<std::size_t>(index)];
}

std::optional<std::uint32_t> RegTypeFromIndex(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kTypes.size()) return std::nullopt;
  return kTypes[static_cast<std::size_t>(index)];
}

}  // namespace scrubber
