#include "SortedList.h"

#include <algorithm>
#include <iterator>

#include "TextCompare.h"

namespace rosterly {

namespace {
const std::string kNoText;
}

void SortedList::Add(std::string text) {
  auto at = std::upper_bound(entries_.begin(), entries_.end(), text,
                             [](const std::string& t, const Entry& e) { return CompareNoCase(t, e.text) < 0; });
  entries_.insert(at, Entry{std::move(text), false});
}

void SortedList::AddMany(std::vector<std::string> texts) {
  const auto oldCount = static_cast<std::ptrdiff_t>(entries_.size());
  entries_.reserve(entries_.size() + texts.size());
  for (auto& t : texts) entries_.push_back(Entry{std::move(t), false});
  auto less = [](const Entry& a, const Entry& b) { return CompareNoCase(a.text, b.text) < 0; };
  // Both sorts are stable, so equal names keep existing-then-file order.
  std::stable_sort(entries_.begin() + oldCount, entries_.end(), less);
  std::inplace_merge(entries_.begin(), entries_.begin() + oldCount, entries_.end(), less);
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
