#include "ResultGrid.h"

#include <string_view>

#include "ColumnSort.h"
#include "TextCompare.h"

namespace rosterly {

bool ResultGrid::Before(const ResultRow& a, const ResultRow& b) const {
  const int c = CompareNoCase(a.cells[key_], b.cells[key_]);
  return direction_ == SortDirection::Ascending ? c < 0 : c > 0;
}

void ResultGrid::InsertAtTop(ResultRow row) {
  const auto id = static_cast<std::uint32_t>(rows_.size());
  rows_.push_back(std::move(row));
  if (!sorted_) return;
  const ResultRow& added = rows_.back();
  order_.InsertBefore(id, [&](std::uint32_t other) { return Before(rows_[other], added); });
}

void ResultGrid::Clear() {
  rows_.clear();
  order_.Clear();
}

void ResultGrid::ColumnClick(int header) {
  if (header < 1 || header > static_cast<int>(kColumnCount)) return;
  key_ = static_cast<std::size_t>(header - 1);
  direction_ = direction_ == SortDirection::Ascending ? SortDirection::Descending : SortDirection::Ascending;

  // Texts are read in the order the rows are stored, not chased through
  // the shown order; each row's place before the click keeps equal texts
  // where they stood.
  std::vector<std::uint32_t> ranks(rows_.size());
  if (sorted_) {
    std::uint32_t position = 0;
    order_.ForEach([&](std::uint32_t id) { ranks[id] = position++; });
  } else {
    for (std::size_t i = 0; i < rows_.size(); ++i) ranks[i] = static_cast<std::uint32_t>(rows_.size() - 1 - i);
  }
  std::vector<std::string_view> texts;
  texts.reserve(rows_.size());
  for (const ResultRow& row : rows_) texts.emplace_back(row.cells[key_]);
  order_.Assign(SortedOrder(texts, ranks, direction_ == SortDirection::Descending));
  sorted_ = true;
}

const ResultRow& ResultGrid::RowAt(std::size_t position) const {
  const std::size_t index = position - 1;
  return sorted_ ? rows_[order_.At(index)] : rows_[rows_.size() - 1 - index];
}

}  // namespace rosterly
