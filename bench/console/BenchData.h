#pragma once
// Repeatable, realistic-looking rows and names for the benchmarks.
#include <cstddef>
#include <string>
#include <vector>

#include "logic/ResultRow.h"

namespace rosterly::bench {

std::vector<ResultRow> MakeRows(std::size_t count);
std::string MakeComputerListFile(std::size_t count);

}  // namespace rosterly::bench
