#pragma once
// The results grid lvGroups as a model: rows newest first, header-click sort,
// Clear. A window shows it as a virtual list (row count plus cell by position).
//
// Rows are stored in arrival order and shown reversed while sorted mode is
// off, so inserting at the top costs nothing. Once a header has been clicked
// the grid keeps a sorted index and places each new row in sorted order (ahead
// of the rows whose key text equals its own, as an insertion at the top
// would). A header click is a stable sort of the rows as shown.
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

  std::size_t RowCount() const { return rows_.size(); }
  // `position` counts from 1 for the top row, as the grid shows it.
  const ResultRow& RowAt(std::size_t position) const;

  template <class F>
  void ForEachRow(F f) const {  // top to bottom
    if (sorted_) {
      order_.ForEach([&](std::uint32_t id) { f(rows_[id]); });
    } else {
      for (auto it = rows_.rbegin(); it != rows_.rend(); ++it) f(*it);
    }
  }

  bool Sorted() const { return sorted_; }
  std::size_t SortKey() const { return key_; }
  SortDirection Direction() const { return direction_; }

 private:
  bool Before(const ResultRow& a, const ResultRow& b) const;  // strictly, in the current order

  std::vector<ResultRow> rows_;  // arrival order
  BlockIndex order_;             // positions of rows_ while sorted
  bool sorted_ = false;
  std::size_t key_ = kColComputer;
  // Flipped by every click; starting at descending makes the first click sort
  // ascending, as an administrator expects.
  SortDirection direction_ = SortDirection::Descending;
};

}  // namespace rosterly
