#pragma once
// An ordered sequence of row ids that allows insertion anywhere and access by
// position in logarithmic time, so that a sorted grid of a million rows stays
// sorted as rows arrive. A B+-tree: leaves hold the ids in order; an inner
// node holds, per child, its number of ids (to find a position) and its last
// id (to find where a new id belongs without visiting the child). Each id
// carries a tag (the grid: its row's sort tag) kept beside it in the nodes,
// and the sequence is ordered by tag, so that a search mostly compares
// integers in one node's memory.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace rosterly {

class BlockIndex {
 public:
  BlockIndex() = default;
  // The ids in order (each element's low 32 bits), each with the tag
  // tagOf(id) (a `high` and a `low`).
  template <class Id, class TagOf>
  void Assign(const std::vector<Id>& ids, TagOf tagOf);
  void Assign(const std::vector<std::uint32_t>& ids) {
    struct NoTag {
      std::uint64_t high = 0;
      std::uint32_t low = 0;
    };
    Assign(ids, [](std::uint32_t) { return NoTag{}; });
  }
  void Clear();
  std::size_t size() const { return size_; }
  std::uint32_t At(std::size_t position) const;  // 0-based, position < size()

  // Inserts `id` with its tag into a sequence ordered by tag (high, then
  // low; ascending or descending): after the elements of earlier tags, and
  // among those of an equal tag before the first for which tieBefore(id of
  // the element) is false. Where `exact`, an equal tag means an equal
  // element, and the new one goes first among them without asking.
  template <class TieBefore>
  void InsertBefore(std::uint32_t id, std::uint64_t high, std::uint32_t low, bool descending, bool exact,
                    TieBefore tieBefore);
  // Without tags: inserts `id` before the first element for which
  // precedes(element) is false; `precedes` must hold for a prefix of the
  // sequence only.
  template <class Precedes>
  void InsertBefore(std::uint32_t id, Precedes precedes) {
    InsertBefore(id, 0, 0, false, false, precedes);
  }

  template <class F>
  void ForEach(F f) const {
    for (std::uint32_t leaf = head_; leaf != kNone; leaf = leaves_[leaf].next)
      for (std::uint32_t i = 0; i < leaves_[leaf].count; ++i) f(leaves_[leaf].ids[i]);
  }

 private:
  static constexpr std::uint32_t kFan = 64;             // entries per node
  static constexpr std::uint32_t kFill = kFan;          // per node when built at once: a full grid, least memory
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  static constexpr int kMaxHeight = 8;  // 64^8 ids: far beyond 32-bit ids

  struct Leaf {
    std::uint32_t count = 0;
    std::uint32_t next = kNone;  // the leaf after this one
    std::uint32_t ids[kFan];
    std::uint64_t high[kFan];    // the ids' tags
    std::uint32_t low[kFan];
  };
  struct Inner {
    std::uint32_t count = 0;
    std::uint32_t total = 0;      // ids below this node
    std::uint32_t sizes[kFan];    // ids below each child
    std::uint32_t last[kFan];     // last id below each child
    std::uint32_t child[kFan];    // leaves one level up, else inner nodes
    std::uint64_t high[kFan];     // the tag of `last`
    std::uint32_t low[kFan];
  };
  struct Step {
    std::uint32_t node, slot;
  };

  // Nodes in chunks that never move: growing never copies them, nor holds
  // twice their memory. The first chunk holds a few nodes and each later
  // one as many as all before it, so a small grid stays small and a large
  // one lives in a few large blocks the system takes back whole.
  template <class Node>
  class Pool {
   public:
    Node& operator[](std::uint32_t i) { return chunks_[ChunkOf(i)][i - FirstOf(ChunkOf(i))]; }
    const Node& operator[](std::uint32_t i) const { return chunks_[ChunkOf(i)][i - FirstOf(ChunkOf(i))]; }
    std::uint32_t size() const { return size_; }
    std::uint32_t Add() {
      if (size_ == FirstOf(static_cast<std::uint32_t>(chunks_.size())))
        chunks_.emplace_back(new Node[chunks_.empty() ? kFirst : size_]);
      return size_++;
    }
    void Reset() {
      std::vector<std::unique_ptr<Node[]>>().swap(chunks_);
      size_ = 0;
    }

   private:
    static constexpr std::uint32_t kFirstBits = 4;
    static constexpr std::uint32_t kFirst = 1u << kFirstBits;
    // Chunk 0 holds nodes [0, kFirst), chunk c > 0 holds [kFirst << (c - 1), kFirst << c).
    static std::uint32_t ChunkOf(std::uint32_t i) { return static_cast<std::uint32_t>(std::bit_width(i >> kFirstBits)); }
    static std::uint32_t FirstOf(std::uint32_t chunk) { return chunk == 0 ? 0 : kFirst << (chunk - 1); }

    std::vector<std::unique_ptr<Node[]>> chunks_;
    std::uint32_t size_ = 0;
  };

  // The first of `count` elements that does not precede the new one.
  template <class TieBefore>
  static std::uint32_t FirstNotBefore(const std::uint64_t* high, const std::uint32_t* low, const std::uint32_t* ids,
                                      std::uint32_t count, std::uint64_t h, std::uint32_t l, bool descending,
                                      bool exact, TieBefore& tieBefore) {
    // Counted without branches, as a search of sorted data would
    // mispredict every other step: the node's tags are a few cache lines.
    std::uint32_t start = 0;
    if (descending) {
      for (std::uint32_t i = 0; i < count; ++i) start += high[i] > h;
      while (start < count && high[start] == h && low[start] > l) ++start;
    } else {
      for (std::uint32_t i = 0; i < count; ++i) start += high[i] < h;
      while (start < count && high[start] == h && low[start] < l) ++start;
    }
    std::uint32_t end = start;
    if (!exact)
      while (end < count && high[end] == h && low[end] == l) ++end;
    // Among the ties, halving: each step may read a text.
    while (start < end) {
      const std::uint32_t mid = (start + end) / 2;
      if (tieBefore(ids[mid]))
        start = mid + 1;
      else
        end = mid;
    }
    return start;
  }
  void Root();  // the first leaf
  // Builds the inner nodes above `leaves` (the leaves in order).
  void BuildAbove(std::vector<std::uint32_t> leaves, std::size_t size);
  void Place(const Step* path, std::uint32_t leaf, std::uint32_t pos, std::uint32_t id, std::uint64_t high,
             std::uint32_t low);
  // Sets entry `slot` of `inner` to the last id below `child`, and its tag.
  void SetLast(Inner& inner, std::uint32_t slot, std::uint32_t child, bool leafChild) const;
  std::uint32_t SplitLeaf(std::uint32_t leaf);
  std::uint32_t SplitInner(std::uint32_t inner);

  Pool<Leaf> leaves_;
  Pool<Inner> inners_;
  std::uint32_t root_ = kNone;
  int height_ = 0;  // inner levels above the leaves
  std::uint32_t head_ = kNone;  // the first leaf
  std::size_t size_ = 0;
};

template <class Id, class TagOf>
void BlockIndex::Assign(const std::vector<Id>& ids, TagOf tagOf) {
  Clear();
  std::vector<std::uint32_t> leaves;
  for (std::size_t from = 0; from < ids.size(); from += kFill) {
    const std::uint32_t index = leaves_.Add();
    Leaf& leaf = leaves_[index];
    leaf.count = static_cast<std::uint32_t>(std::min<std::size_t>(kFill, ids.size() - from));
    for (std::uint32_t k = 0; k < leaf.count; ++k) {
      const auto id = static_cast<std::uint32_t>(ids[from + k]);
      const auto tag = tagOf(id);
      leaf.ids[k] = id;
      leaf.high[k] = tag.high;
      leaf.low[k] = tag.low;
    }
    if (leaves.empty())
      head_ = index;
    else
      leaves_[leaves.back()].next = index;
    leaves.push_back(index);
  }
  BuildAbove(std::move(leaves), ids.size());
}

template <class TieBefore>
void BlockIndex::InsertBefore(std::uint32_t id, std::uint64_t high, std::uint32_t low, bool descending, bool exact,
                              TieBefore tieBefore) {
  if (root_ == kNone) Root();
  Step path[kMaxHeight];
  std::uint32_t node = root_;
  for (int level = 0; level < height_; ++level) {
    const Inner& inner = inners_[node];
    // The first child whose last id does not precede the new one; after
    // everything: the last child.
    std::uint32_t slot =
        FirstNotBefore(inner.high, inner.low, inner.last, inner.count, high, low, descending, exact, tieBefore);
    if (slot == inner.count) --slot;
    path[level] = Step{node, slot};
    node = inner.child[slot];
  }
  const Leaf& leaf = leaves_[node];
  const std::uint32_t pos =
      FirstNotBefore(leaf.high, leaf.low, leaf.ids, leaf.count, high, low, descending, exact, tieBefore);
  Place(path, node, pos, id, high, low);
}

}  // namespace rosterly
