#pragma once
// Repeatable, realistic-looking rows and names for the benchmarks.
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "logic/ResultRow.h"

namespace rosterly::bench {

// The rows MakeRows returns, one at a time.
class RowMaker {
 public:
  RowMaker();
  ResultRow Next();

 private:
  std::mt19937 rng_;
};

std::vector<ResultRow> MakeRows(std::size_t count);
std::string MakeComputerListFile(std::size_t count);

}  // namespace rosterly::bench
