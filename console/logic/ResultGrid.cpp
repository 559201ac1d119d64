#include "ResultGrid.h"

#include <algorithm>

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

  std::vector<std::uint32_t> shown;
  shown.reserve(rows_.size());
  if (sorted_) {
    order_.ForEach([&](std::uint32_t id) { shown.push_back(id); });
  } else {
    for (std::size_t i = rows_.size(); i-- > 0;) shown.push_back(static_cast<std::uint32_t>(i));
  }
  std::stable_sort(shown.begin(), shown.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return Before(rows_[a], rows_[b]); });
  order_.Assign(shown);
  sorted_ = true;
}

const ResultRow& ResultGrid::RowAt(std::size_t position) const {
  const std::size_t index = position - 1;
  return sorted_ ? rows_[order_.At(index)] : rows_[rows_.size() - 1 - index];
}

}  // namespace rosterly
