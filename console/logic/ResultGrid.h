#pragma once
// The results grid lvGroups as a model: rows newest first, header-click sort,
// Clear. A window shows it as a virtual list (row count plus cell by position).
//
// Rows are stored in arrival order and shown reversed while sorted mode is
// off, so inserting at the top costs nothing. Once a header has been clicked
// the grid keeps a sorted index and places each new row in sorted order (ahead
// of the rows whose key text equals its own, as an insertion at the top
// would). A header click is a stable sort of the rows as shown.
//
// The rows are kept in fixed blocks, so that a million of them never need a
// second copy while the storage grows. A header click leaves the sorted ids
// in a plain array; the first row that arrives after it turns that into an
// index that takes insertions, with each row's sort tag (ColumnSort.h)
// beside its id: placing a row compares those and reads a row's text only
// where they tie. A click on a finished grid thus never builds the index.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "BlockIndex.h"
#include "ResultRow.h"

namespace rosterly {

enum class SortDirection { Ascending, Descending };

class ResultGrid {
 public:
  void InsertAtTop(ResultRow row);
  void Clear();  // rows only; the sort state stays
  // `header` counts from 1 for "Computer"; other values are ignored.
  void ColumnClick(int header);

  std::size_t RowCount() const { return count_; }
  // `position` counts from 1 for the top row, as the grid shows it.
  const ResultRow& RowAt(std::size_t position) const;

  template <class F>
  void ForEachRow(F f) const {  // top to bottom
    ForEachRowId([&](std::uint32_t id) { f(Row(id)); });
  }

  bool Sorted() const { return sorted_; }
  std::size_t SortKey() const { return key_; }
  SortDirection Direction() const { return direction_; }

 private:
  static constexpr std::size_t kBlockBits = 12;  // 4,096 rows, half a megabyte, per block
  static constexpr std::size_t kBlockRows = std::size_t{1} << kBlockBits;

  const ResultRow& Row(std::size_t id) const { return blocks_[id >> kBlockBits][id & (kBlockRows - 1)]; }
  // Whether row `a` stands strictly before row `b` in the current order
  // where their sort tags tie on texts that go on.
  bool TextBefore(std::uint32_t a, std::uint32_t b) const;
  void BuildIndex();  // from shown_
  template <class F>
  void ForEachRowId(F f) const {  // top to bottom
    if (sorted_ && indexed_) {
      order_.ForEach(f);
    } else if (sorted_) {
      for (std::uint32_t id : shown_) f(id);
    } else {
      for (std::size_t id = count_; id-- > 0;) f(static_cast<std::uint32_t>(id));
    }
  }

  std::vector<std::vector<ResultRow>> blocks_;  // rows by id: arrival order
  std::size_t count_ = 0;
  // Ids in shown order while sorted: right after a click in shown_, once a
  // row has arrived in order_ (indexed_), with their sort tags.
  std::vector<std::uint32_t> shown_;
  BlockIndex order_;
  bool indexed_ = false;
  bool sorted_ = false;
  std::size_t key_ = kColComputer;
  // Flipped by every click; starting at descending makes the first click sort
  // ascending, as an administrator expects.
  SortDirection direction_ = SortDirection::Descending;
};

}  // namespace rosterly
