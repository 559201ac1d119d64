#include "StringTable.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace scrubber {
namespace {

struct Entry {
  int id;
  std::string_view text;
};

constexpr Entry kEntries[] = {
#define SCRUBBER_STRING(id, text) {id, text},
#include "scrubber_strings.inc"
#undef SCRUBBER_STRING
};

constexpr bool SortedById() {
  for (std::size_t i = 1; i < std::size(kEntries); ++i)
    if (kEntries[i - 1].id >= kEntries[i].id) return false;
  return true;
}
static_assert(SortedById(), "string ids must be unique and ascending");

}  // namespace

std::string_view BuiltinString(int id) {
  auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                             [](const Entry& e, int wanted) { return e.id < wanted; });
  if (it == std::end(kEntries) || it->id != id) return {};
  return it->text;
}

}  // namespace scrubber
