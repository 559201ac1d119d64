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
    // The first block grows as rows come, so that a grid of a few rows
    // costs a few rows; the later ones are laid out whole and never move.
    blocks_.emplace_back();
    if (blocks_.size() > 1) blocks_.back().reserve(kBlockRows);
  }
  blocks_.back().push_back(std::move(row));
  const auto id = static_cast<std::uint32_t>(count_++);
  if (!sorted_) return;
  if (!indexed_) BuildIndex();
  const SortTag tag = SortTagOf(Row(id).cells[key_]);
  order_.InsertBefore(id, tag.high, tag.low, direction_ == SortDirection::Descending, !TagGoesOn(tag),
                      [&](std::uint32_t other) { return TextBefore(other, id); });
}

void ResultGrid::BuildIndex() {
  // The tags are made in the order the rows are stored, then picked up in
  // the order the rows stand (where the new row, the last id, is not yet).
  std::vector<SortTag> tags;
  tags.reserve(count_);
  for (const auto& block : blocks_)
    for (const ResultRow& row : block) tags.push_back(SortTagOf(row.cells[key_]));
  order_.Assign(shown_, [&](std::uint32_t shownId) { return tags[shownId]; });
  std::vector<std::uint32_t>().swap(shown_);
  indexed_ = true;
}

void ResultGrid::Clear() {
  std::vector<std::vector<ResultRow>>().swap(blocks_);
  count_ = 0;
  std::vector<std::uint32_t>().swap(shown_);
  order_.Clear();
  indexed_ = false;
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
  std::vector<std::uint64_t> order;  // ids in the low half; the sort uses the high one
  order.reserve(count_);
  ForEachRowId([&](std::uint32_t id) { order.push_back(id); });
  // Their memory is free for the sort's.
  std::vector<std::uint32_t>().swap(shown_);
  order_.Clear();
  // Texts are read in the order the rows are stored, not chased through the
  // shown order.
  {
    ColumnSorter sorter(count_);
    for (const auto& block : blocks_)
      for (const ResultRow& row : block) sorter.Add(row.cells[key_]);
    sorter.Sort(order, direction_ == SortDirection::Descending, KeyTexts(blocks_, kBlockBits, key_));
  }
  shown_.resize(count_);
  for (std::size_t i = 0; i < count_; ++i) shown_[i] = static_cast<std::uint32_t>(order[i]);
  indexed_ = false;
  sorted_ = true;
}

const ResultRow& ResultGrid::RowAt(std::size_t position) const {
  const std::size_t index = position - 1;
  if (!sorted_) return Row(count_ - 1 - index);
  return Row(indexed_ ? order_.At(index) : shown_[index]);
}

}  // namespace rosterly
