#include "BlockIndex.h"

#include <cstring>

namespace rosterly {

void BlockIndex::Clear() {
  // Released, not kept: a grid of a million rows gives its memory back.
  leaves_.Reset();
  inners_.Reset();
  root_ = kNone;  // no node until the first id
  height_ = 0;
  head_ = kNone;
  size_ = 0;
}

void BlockIndex::BuildAbove(std::vector<std::uint32_t> level, std::size_t size) {
  if (level.empty()) return;
  while (level.size() > 1) {
    std::vector<std::uint32_t> above;
    for (std::size_t i = 0; i < level.size(); i += kFill) {
      const std::uint32_t index = inners_.Add();
      Inner& inner = inners_[index];
      inner.count = 0;
      inner.total = 0;
      for (std::size_t c = i; c < std::min(level.size(), i + kFill); ++c) {
        const std::uint32_t child = level[c];
        const std::uint32_t size = height_ == 0 ? leaves_[child].count : inners_[child].total;
        SetLast(inner, inner.count, child, height_ == 0);
        inner.sizes[inner.count] = size;
        inner.child[inner.count] = child;
        inner.total += size;
        ++inner.count;
      }
      above.push_back(index);
    }
    level.swap(above);
    ++height_;
  }
  root_ = level[0];
  size_ = size;
}

void BlockIndex::Root() { root_ = head_ = leaves_.Add(); }

std::uint32_t BlockIndex::At(std::size_t position) const {
  std::uint32_t node = root_;
  for (int level = 0; level < height_; ++level) {
    const Inner& inner = inners_[node];
    std::uint32_t i = 0;
    while (position >= inner.sizes[i]) position -= inner.sizes[i++];
    node = inner.child[i];
  }
  return leaves_[node].ids[position];
}

void BlockIndex::SetLast(Inner& inner, std::uint32_t slot, std::uint32_t child, bool leafChild) const {
  if (leafChild) {
    const Leaf& c = leaves_[child];
    inner.last[slot] = c.ids[c.count - 1];
    inner.high[slot] = c.high[c.count - 1];
    inner.low[slot] = c.low[c.count - 1];
  } else {
    const Inner& c = inners_[child];
    inner.last[slot] = c.last[c.count - 1];
    inner.high[slot] = c.high[c.count - 1];
    inner.low[slot] = c.low[c.count - 1];
  }
}

std::uint32_t BlockIndex::SplitLeaf(std::uint32_t leaf) {
  const std::uint32_t right = leaves_.Add();
  Leaf& l = leaves_[leaf];
  Leaf& r = leaves_[right];
  const std::uint32_t half = l.count / 2;
  r.count = l.count - half;
  std::memcpy(r.ids, l.ids + half, r.count * sizeof(std::uint32_t));
  std::memcpy(r.high, l.high + half, r.count * sizeof(std::uint64_t));
  std::memcpy(r.low, l.low + half, r.count * sizeof(std::uint32_t));
  l.count = half;
  r.next = l.next;
  l.next = right;
  return right;
}

std::uint32_t BlockIndex::SplitInner(std::uint32_t inner) {
  const std::uint32_t right = inners_.Add();
  Inner& l = inners_[inner];
  Inner& r = inners_[right];
  const std::uint32_t half = l.count / 2;
  r.count = l.count - half;
  std::memcpy(r.sizes, l.sizes + half, r.count * sizeof(std::uint32_t));
  std::memcpy(r.last, l.last + half, r.count * sizeof(std::uint32_t));
  std::memcpy(r.child, l.child + half, r.count * sizeof(std::uint32_t));
  std::memcpy(r.high, l.high + half, r.count * sizeof(std::uint64_t));
  std::memcpy(r.low, l.low + half, r.count * sizeof(std::uint32_t));
  l.count = half;
  l.total = 0;
  r.total = 0;
  for (std::uint32_t i = 0; i < l.count; ++i) l.total += l.sizes[i];
  for (std::uint32_t i = 0; i < r.count; ++i) r.total += r.sizes[i];
  return right;
}

void BlockIndex::Place(const Step* path, std::uint32_t leaf, std::uint32_t pos, std::uint32_t id,
                       std::uint64_t high, std::uint32_t low) {
  std::uint32_t target = leaf;
  std::uint32_t added = kNone;  // the right half of a node split at the level below
  if (leaves_[leaf].count == kFan) {
    added = SplitLeaf(leaf);
    if (pos > leaves_[leaf].count) {
      pos -= leaves_[leaf].count;
      target = added;
    }
  }
  Leaf& l = leaves_[target];
  std::memmove(l.ids + pos + 1, l.ids + pos, (l.count - pos) * sizeof(std::uint32_t));
  std::memmove(l.high + pos + 1, l.high + pos, (l.count - pos) * sizeof(std::uint64_t));
  std::memmove(l.low + pos + 1, l.low + pos, (l.count - pos) * sizeof(std::uint32_t));
  l.ids[pos] = id;
  l.high[pos] = high;
  l.low[pos] = low;
  ++l.count;
  ++size_;

  // Up the path: each parent takes its child's new size and last id, and the
  // child's right half where it split.
  std::uint32_t child = leaf;
  for (int level = height_ - 1; level >= 0; --level) {
    const bool leafChildren = level == height_ - 1;
    auto sizeOf = [&](std::uint32_t c) { return leafChildren ? leaves_[c].count : inners_[c].total; };
    std::uint32_t node = path[level].node;
    std::uint32_t slot = path[level].slot;
    std::uint32_t split = kNone;
    if (added != kNone && inners_[node].count == kFan) {
      split = SplitInner(node);
      if (slot >= inners_[node].count) {
        slot -= inners_[node].count;
        node = split;
      }
    }
    Inner& inner = inners_[node];
    inner.sizes[slot] = sizeOf(child);
    SetLast(inner, slot, child, leafChildren);
    if (added != kNone) {
      const std::uint32_t at = slot + 1;
      const std::size_t move = (inner.count - at) * sizeof(std::uint32_t);
      std::memmove(inner.sizes + at + 1, inner.sizes + at, move);
      std::memmove(inner.last + at + 1, inner.last + at, move);
      std::memmove(inner.child + at + 1, inner.child + at, move);
      std::memmove(inner.high + at + 1, inner.high + at, 2 * move);
      std::memmove(inner.low + at + 1, inner.low + at, move);
      inner.sizes[at] = sizeOf(added);
      SetLast(inner, at, added, leafChildren);
      inner.child[at] = added;
      ++inner.count;
      inner.total = 0;
      for (std::uint32_t i = 0; i < inner.count; ++i) inner.total += inner.sizes[i];
    } else {
      ++inner.total;
    }
    child = path[level].node;
    added = split;
  }
  if (added != kNone) {  // the root split: a new root above both halves
    const bool leafChildren = height_ == 0;
    Inner root;
    for (std::uint32_t c : {child, added}) {
      root.sizes[root.count] = leafChildren ? leaves_[c].count : inners_[c].total;
      SetLast(root, root.count, c, leafChildren);
      root.child[root.count] = c;
      root.total += root.sizes[root.count];
      ++root.count;
    }
    root_ = inners_.Add();
    inners_[root_] = root;
    ++height_;
  }
}

}  // namespace rosterly
