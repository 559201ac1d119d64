#pragma once
// An ordered sequence of row ids that allows insertion anywhere and access by
// position in about square-root time, so that a sorted grid of many thousand
// rows stays sorted as rows arrive without moving the whole sequence each time.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rosterly {

class BlockIndex {
 public:
  void Assign(const std::vector<std::uint32_t>& ids);
  void Clear();
  std::size_t size() const { return size_; }
  std::uint32_t At(std::size_t position) const;  // 0-based, position < size()

  // Inserts `id` before the first element for which precedes(element) is
  // false. `precedes` must hold for a prefix of the sequence only.
  template <class Precedes>
  void InsertBefore(std::uint32_t id, Precedes precedes);

  template <class F>
  void ForEach(F f) const {
    for (const auto& block : blocks_)
      for (std::uint32_t id : block) f(id);
  }

 private:
  static constexpr std::size_t kBlock = 512;  // a block splits beyond twice this
  void SplitIfFull(std::size_t block);
  void UpdateStarts() const;

  std::vector<std::vector<std::uint32_t>> blocks_;
  mutable std::vector<std::size_t> starts_;  // first position of each block
  mutable bool startsValid_ = true;
  std::size_t size_ = 0;
};

template <class Precedes>
void BlockIndex::InsertBefore(std::uint32_t id, Precedes precedes) {
  if (blocks_.empty()) blocks_.emplace_back();
  // The first block whose last element does not precede the new one.
  auto blockIt = std::partition_point(blocks_.begin(), blocks_.end(), [&](const std::vector<std::uint32_t>& b) {
    return !b.empty() && precedes(b.back());
  });
  if (blockIt == blocks_.end()) --blockIt;  // after everything: the last block
  auto& block = *blockIt;
  auto at = std::partition_point(block.begin(), block.end(), precedes);
  block.insert(at, id);
  ++size_;
  startsValid_ = false;
  SplitIfFull(static_cast<std::size_t>(blockIt - blocks_.begin()));
}

}  // namespace rosterly
