#pragma once
// A sorted list box with extended multi-selection (lstComps, lstGroups):
// entries stay in ascending order with letter case ignored, duplicates are
// kept, and each entry carries its own selection flag. An entry's index is its
// position in that order. A new entry goes after the entries equal to it.
#include <cstddef>
#include <string>
#include <vector>

namespace rosterly {

class SortedList {
 public:
  void Clear() { entries_.clear(); }
  void Add(std::string text);
  // Adds many entries at once (file order among equal names), without the
  // cost of one insertion per entry.
  void AddMany(std::vector<std::string> texts);
  // The same for the texts next(text) hands out, one per call until it
  // returns false: they go straight into the list's own storage, which a
  // Clear keeps for the next fill.
  template <class Next>
  void AddFrom(Next next) {
    const std::size_t first = entries_.size();
    for (std::string text; next(text);) entries_.push_back(Entry{std::move(text), false});
    PlaceAdded(first);
  }

  std::size_t Count() const { return entries_.size(); }
  // An index past the end reads as an empty, unselected entry: the list may
  // be refilled while an action walks it.
  const std::string& Text(std::size_t index) const;
  bool Selected(std::size_t index) const;
  void SetSelected(std::size_t index, bool selected);
  void SelectAll(bool selected);

 private:
  struct Entry {
    std::string text;
    bool selected = false;
  };
  // Sorts the entries from `first` on among themselves, stably, and merges
  // them after their equals among the earlier ones.
  void PlaceAdded(std::size_t first);
  std::vector<Entry> entries_;
};

}  // namespace rosterly
