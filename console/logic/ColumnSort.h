#pragma once
// Sorting the rows of one text column in the grid's order (TextCompare.h),
// fast for many rows: each text is read once, in the order the rows are
// stored, sixteen folded bytes at a time, into a key of plain integers, and
// the keys are sorted. Only rows whose first bytes tie are read further, so
// a sort no longer compares whole strings scattered through memory at every
// step.
#include <cstdint>
#include <string_view>
#include <vector>

namespace rosterly {

// The indexes of `texts` in ascending or descending text order; equal texts
// keep the order of their `ranks` (where each stood before), as a stable
// sort would.
std::vector<std::uint32_t> SortedOrder(const std::vector<std::string_view>& texts,
                                       const std::vector<std::uint32_t>& ranks, bool descending);

}  // namespace rosterly
