#pragma once
// Sorting the rows of one text column in the grid's order (TextCompare.h),
// fast for a million rows. Each text is read once, in the order the rows are
// stored, into sixteen folded bytes and its length. A column of few distinct
// texts ("Group Name", "Action") is sorted as its distinct texts, each row
// taking its text's place in one counting pass. Otherwise the bytes that
// differ between the texts are packed into one integer key per row, and the
// keys are radix sorted; only rows whose keys tie on texts that go on are
// read further. A radix sort moves equal keys in the order they came, which
// keeps the sort stable without a tie-break.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rosterly {

// The text of a row by its id, for the rare rows whose first bytes tie.
class TextsById {
 public:
  virtual ~TextsById() = default;
  virtual std::string_view Text(std::uint32_t id) const = 0;
};

// The first eleven folded bytes of a text and its length up to 12 (12:
// longer than eleven bytes), in two integers that order as the texts do: a
// smaller tag means an earlier text. Equal tags mean equal texts unless
// their length says longer.
struct SortTag {
  std::uint64_t high;  // bytes 0 to 7, the first highest
  std::uint32_t low;   // bytes 8 to 10, then the length
};
SortTag SortTagOf(std::string_view text);
// Whether texts with this tag may still differ in their later bytes.
inline bool TagGoesOn(const SortTag& tag) { return (tag.low & 0xFF) == 12; }

class ColumnSorter {
 public:
  explicit ColumnSorter(std::size_t count);
  ~ColumnSorter();
  // The text of the next id, from 0 up to count - 1.
  void Add(std::string_view text);
  // Reorders `rows` (each id once, as the rows stand, in the low 32 bits of
  // its element) by text, ascending or descending; rows of equal text keep
  // their order. The elements' high bits are the sort's own: only the low
  // ones are ids after it.
  void Sort(std::vector<std::uint64_t>& rows, bool descending, const TextsById& texts);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The indexes of `texts` in ascending or descending text order; equal texts
// keep the order of their `ranks` (where each stood before), as a stable
// sort would.
std::vector<std::uint32_t> SortedOrder(const std::vector<std::string_view>& texts,
                                       const std::vector<std::uint32_t>& ranks, bool descending);

}  // namespace rosterly
