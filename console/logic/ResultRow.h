#pragma once
// One row of the results grid: four text cells in column order.
#include <array>
#include <cstddef>
#include <string>

namespace rosterly {

inline constexpr std::size_t kColumnCount = 4;
enum Column : std::size_t { kColComputer = 0, kColGroupName = 1, kColMember = 2, kColAction = 3 };

struct ResultRow {
  std::array<std::string, kColumnCount> cells;  // "Computer", "Group Name", "Member", "Action"
};

inline ResultRow MakeRow(std::string computer, std::string group, std::string member, std::string action) {
  return ResultRow{{std::move(computer), std::move(group), std::move(member), std::move(action)}};
}

}  // namespace rosterly
