#include "ColumnSort.h"

#include <algorithm>

namespace rosterly {
namespace {

constexpr std::size_t kWord = 8;
constexpr std::size_t kChunk = 2 * kWord;       // bytes per key
constexpr std::uint32_t kGoesOn = kChunk + 1;   // `rest` of a text longer than its chunk

struct Key {
  std::uint64_t high, low;  // the folded bytes of this depth, first byte highest, zero-padded
  std::uint32_t rest;       // bytes of the text from this depth on, at most kGoesOn
  std::uint32_t rank;       // where the row stood: the final tie-break
  std::uint32_t index;      // into the texts
};

std::uint64_t FoldedByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u;
}

std::uint64_t Word(std::string_view text, std::size_t from) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < kWord; ++i) word = (word << 8) | (from + i < text.size() ? FoldedByte(text[from + i]) : 0);
  return word;
}

void Load(Key& key, std::string_view text, std::size_t depth) {
  const std::size_t from = depth * kChunk;
  const std::size_t left = text.size() > from ? text.size() - from : 0;
  key.high = Word(text, from);
  key.low = Word(text, from + kWord);
  // Zero padding alone cannot tell "ab" from "ab\0": the length decides, and
  // the shorter text comes first, as in CompareNoCase.
  key.rest = static_cast<std::uint32_t>(std::min<std::size_t>(left, kGoesOn));
}

bool SameText(const Key& a, const Key& b) { return a.high == b.high && a.low == b.low && a.rest == b.rest; }

void SortRange(Key* first, Key* last, std::size_t depth, const std::vector<std::string_view>& texts,
               bool descending) {
  if (depth > 0)
    for (Key* k = first; k != last; ++k) Load(*k, texts[k->index], depth);
  std::sort(first, last, [descending](const Key& a, const Key& b) {
    if (a.high != b.high) return descending ? a.high > b.high : a.high < b.high;
    if (a.low != b.low) return descending ? a.low > b.low : a.low < b.low;
    if (a.rest != b.rest) return descending ? a.rest > b.rest : a.rest < b.rest;
    return a.rank < b.rank;
  });
  // Runs that tie on texts that go on are ordered by their next bytes.
  for (Key* run = first; run != last;) {
    Key* end = run + 1;
    while (end != last && SameText(*end, *run)) ++end;
    if (run->rest == kGoesOn && end - run > 1) SortRange(run, end, depth + 1, texts, descending);
    run = end;
  }
}

}  // namespace

std::vector<std::uint32_t> SortedOrder(const std::vector<std::string_view>& texts,
                                       const std::vector<std::uint32_t>& ranks, bool descending) {
  std::vector<Key> keys(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    keys[i].index = static_cast<std::uint32_t>(i);
    keys[i].rank = ranks[i];
    Load(keys[i], texts[i], 0);
  }
  SortRange(keys.data(), keys.data() + keys.size(), 0, texts, descending);
  std::vector<std::uint32_t> order(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].index;
  return order;
}

}  // namespace rosterly
