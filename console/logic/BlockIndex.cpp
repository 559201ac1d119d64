#include "BlockIndex.h"

namespace rosterly {

void BlockIndex::Assign(const std::vector<std::uint32_t>& ids) {
  blocks_.clear();
  for (std::size_t i = 0; i < ids.size(); i += kBlock) {
    const std::size_t end = std::min(ids.size(), i + kBlock);
    blocks_.emplace_back(ids.begin() + static_cast<std::ptrdiff_t>(i), ids.begin() + static_cast<std::ptrdiff_t>(end));
  }
  size_ = ids.size();
  startsValid_ = false;
}

void BlockIndex::Clear() {
  blocks_.clear();
  size_ = 0;
  startsValid_ = false;
}

void BlockIndex::SplitIfFull(std::size_t block) {
  if (blocks_[block].size() <= 2 * kBlock) return;
  auto& full = blocks_[block];
  std::vector<std::uint32_t> upper(full.begin() + kBlock, full.end());
  full.resize(kBlock);
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
}

void BlockIndex::UpdateStarts() const {
  if (startsValid_) return;
  starts_.resize(blocks_.size());
  std::size_t start = 0;
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += blocks_[b].size();
  }
  startsValid_ = true;
}

std::uint32_t BlockIndex::At(std::size_t position) const {
  UpdateStarts();
  // The last block starting at or before `position`.
  auto it = std::upper_bound(starts_.begin(), starts_.end(), position);
  std::size_t b = static_cast<std::size_t>(it - starts_.begin()) - 1;
  return blocks_[b][position - starts_[b]];
}

}  // namespace rosterly
