#include "SortedList.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>

#include "ColumnSort.h"
#include "TextCompare.h"

namespace rosterly {

namespace {
const std::string kNoText;

// The texts of entries from one on, by their distance from it.
template <class Entry>
class TailTexts : public TextsById {
 public:
  TailTexts(const std::vector<Entry>& entries, std::size_t first) : entries_(entries), first_(first) {}
  std::string_view Text(std::uint32_t id) const override { return entries_[first_ + id].text; }

 private:
  const std::vector<Entry>& entries_;
  std::size_t first_;
};
}  // namespace

void SortedList::Add(std::string text) {
  auto at = std::upper_bound(entries_.begin(), entries_.end(), text,
                             [](const std::string& t, const Entry& e) { return CompareNoCase(t, e.text) < 0; });
  entries_.insert(at, Entry{std::move(text), false});
}

void SortedList::AddMany(std::vector<std::string> texts) {
  const std::size_t first = entries_.size();
  entries_.reserve(first + texts.size());
  for (auto& t : texts) entries_.push_back(Entry{std::move(t), false});
  PlaceAdded(first);
}

void SortedList::PlaceAdded(std::size_t first) {
  // The new names in text order by the grid's column sort (a whole domain's
  // computers at once), file order among equal ones.
  const std::size_t n = entries_.size() - first;
  std::vector<std::uint64_t> sorted(n);
  std::iota(sorted.begin(), sorted.end(), std::uint64_t{0});
  std::vector<std::uint32_t> order(n);
  {
    ColumnSorter sorter(n);
    for (std::size_t k = first; k < entries_.size(); ++k) sorter.Add(entries_[k].text);
    sorter.Sort(sorted, false, TailTexts<Entry>(entries_, first));
  }
  for (std::size_t k = 0; k < n; ++k) order[k] = static_cast<std::uint32_t>(sorted[k]);
  // Moved into place along the permutation's cycles, without a second
  // array: place k takes the entry at order[k].
  constexpr std::uint32_t kPlaced = 0xFFFFFFFFu;
  Entry* tail = entries_.data() + first;
  for (std::uint32_t start = 0; start < n; ++start) {
    if (order[start] == kPlaced) continue;
    Entry held = std::move(tail[start]);
    for (std::uint32_t at = start;;) {
      const std::uint32_t from = order[at];
      order[at] = kPlaced;
      if (from == start) {
        tail[at] = std::move(held);
        break;
      }
      tail[at] = std::move(tail[from]);
      at = from;
    }
  }
  // Both orders are stable, so equal names keep existing-then-file order.
  auto less = [](const Entry& a, const Entry& b) { return CompareNoCase(a.text, b.text) < 0; };
  std::inplace_merge(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(first), entries_.end(), less);
}

const std::string& SortedList::Text(std::size_t index) const {
  return index < entries_.size() ? entries_[index].text : kNoText;
}

bool SortedList::Selected(std::size_t index) const {
  return index < entries_.size() && entries_[index].selected;
}

void SortedList::SetSelected(std::size_t index, bool selected) {
  if (index < entries_.size()) entries_[index].selected = selected;
}

void SortedList::SelectAll(bool selected) {
  for (auto& e : entries_) e.selected = selected;
}

}  // namespace rosterly
