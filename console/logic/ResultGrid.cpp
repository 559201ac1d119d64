#include "ResultGrid.h"

#include <string_view>

#include "ColumnSort.h"
#include "TextCompare.h"

namespace rosterly {

bool ResultGrid::TextBefore(std::uint32_t a, std::uint32_t b) const {
  const int c = CompareNoCase(Row(a).cells[key_], Row(b).cells[key_]);
  return direction_ == SortDirection::Ascending ? c < 0 : c > 0;
}

void ResultGrid::InsertAtTop(ResultRow row) {
  if (blocks_.empty() || blocks_.back().size() == kBlockRows) {
    blocks_.emplace_back();
    blocks_.back().reserve(kBlockRows);
  }
  blocks_.back().push_back(std::move(row));
  const auto id = static_cast<std::uint32_t>(count_++);
  if (!sorted_) return;
  const SortTag tag = SortTagOf(Row(id).cells[key_]);
  order_.InsertBefore(id, tag.high, tag.low, direction_ == SortDirection::Descending, !TagGoesOn(tag),
                      [&](std::uint32_t other) { return TextBefore(other, id); });
}

void ResultGrid::Clear() {
  std::vector<std::vector<ResultRow>>().swap(blocks_);
  count_ = 0;
  order_.Clear();
}

namespace {
class KeyTexts : public TextsById {
 public:
  explicit KeyTexts(const std::vector<std::vector<ResultRow>>& blocks, std::size_t bits, std::size_t key)
      : blocks_(blocks), bits_(bits), key_(key) {}
  std::string_view Text(std::uint32_t id) const override {
    return blocks_[id >> bits_][id & ((std::size_t{1} << bits_) - 1)].cells[key_];
  }

 private:
  const std::vector<std::vector<ResultRow>>& blocks_;
  std::size_t bits_, key_;
};
}  // namespace

void ResultGrid::ColumnClick(int header) {
  if (header < 1 || header > static_cast<int>(kColumnCount)) return;
  key_ = static_cast<std::size_t>(header - 1);
  direction_ = direction_ == SortDirection::Ascending ? SortDirection::Descending : SortDirection::Ascending;

  // The rows as they stand now; equal texts keep this order.
  std::vector<std::uint32_t> order;
  order.reserve(count_);
  if (sorted_) {
    order_.ForEach([&](std::uint32_t id) { order.push_back(id); });
  } else {
    for (std::size_t id = count_; id-- > 0;) order.push_back(static_cast<std::uint32_t>(id));
  }
  order_.Clear();  // its memory is free for the sort's
  // Texts are read in the order the rows are stored, not chased through the
  // shown order.
  {
    ColumnSorter sorter(count_);
    for (const auto& block : blocks_)
      for (const ResultRow& row : block) sorter.Add(row.cells[key_]);
    sorter.Sort(order, direction_ == SortDirection::Descending, KeyTexts(blocks_, kBlockBits, key_));
    order_.Assign(order, sorter.TagsById());
  }
  sorted_ = true;
}

const ResultRow& ResultGrid::RowAt(std::size_t position) const {
  const std::size_t index = position - 1;
  return Row(sorted_ ? order_.At(index) : count_ - 1 - index);
}

}  // namespace rosterly
