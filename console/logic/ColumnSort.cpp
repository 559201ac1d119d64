#include "ColumnSort.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "TextCompare.h"

namespace rosterly {
// Named, not anonymous: ColumnSorter's state holds these types.
namespace column_sort {

constexpr std::size_t kChunk = 16;                 // text bytes per key
constexpr std::uint8_t kGoesOn = kChunk + 1;       // length digit of a text longer than its chunk
constexpr int kDigits = kChunk + 1;                // the bytes, then the length
constexpr std::size_t kMaxClasses = 1024;          // distinct texts a column may have to be sorted as such
constexpr std::size_t kTableSize = 4096;           // slots of the distinct texts' table, a power of two
constexpr std::size_t kCompareRun = 16;            // runs below this are sorted by comparing their texts
constexpr int kKeyBits = 32;                       // bits of a packed key, above the 32 of the row's handle
constexpr std::uint64_t kHandleMask = 0xFFFFFFFFull;

// ASCII capitals to small letters in all eight bytes at once; other bytes
// stay, as in CompareNoCase.
std::uint64_t FoldWord(std::uint64_t w) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const std::uint64_t low7 = w & (0x7F * kOnes);
  const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;  // top bit set where the byte is 'A' or above
  const std::uint64_t aboveZ = low7 + (0x7F - 'Z') * kOnes;    // top bit set where it is above 'Z'
  const std::uint64_t capital = atLeastA & ~aboveZ & ~w & (0x80 * kOnes);
  return w | (capital >> 2);
}

// Bytes as an integer with the first byte highest, so that integers compare
// as the bytes do.
std::uint64_t Load8(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  w = __builtin_bswap64(w);
#endif
  return w;
}

std::uint64_t Load4(const char* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  w = __builtin_bswap32(w);
#endif
  return w;
}

// The first n < 8 bytes, zero-padded, without reading past them.
std::uint64_t LoadShort(const char* p, std::size_t n) {
  if (n >= 4) return (Load4(p) << 32) | (Load4(p + n - 4) << (64 - 8 * n));  // the overlap ORs equal bytes
  if (n == 0) return 0;
  const auto byte = [&](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])} << (56 - 8 * i); };
  return byte(0) | byte(n / 2) | byte(n - 1);
}

struct Key {
  std::uint64_t hi, lo;  // sixteen folded bytes of the text from this depth on, zero-padded
  std::uint8_t rest;     // bytes left from this depth on, at most kGoesOn
};

Key LoadKey(std::string_view text, std::size_t depth) {
  const std::size_t from = depth * kChunk;
  const std::size_t left = text.size() > from ? text.size() - from : 0;
  const char* p = text.data() + (left > 0 ? from : 0);
  Key key{0, 0, static_cast<std::uint8_t>(std::min<std::size_t>(left, kGoesOn))};
  // Zero padding alone cannot tell "ab" from "ab\0": the length digit
  // decides, and the shorter text comes first, as in CompareNoCase.
  if (left >= kChunk) {
    key.hi = Load8(p);
    key.lo = Load8(p + 8);
  } else if (left >= 8) {
    key.hi = Load8(p);
    if (left > 8) key.lo = Load8(p + left - 8) << (8 * (kChunk - left));
  } else {
    key.hi = LoadShort(p, left);
  }
  key.hi = FoldWord(key.hi);
  key.lo = FoldWord(key.lo);
  return key;
}

SortTag TagOfKey(const Key& key) {
  return SortTag{key.hi, static_cast<std::uint32_t>((key.lo >> 40) << 8) | std::min<std::uint8_t>(key.rest, 12)};
}

std::uint32_t Digit(std::uint64_t hi, std::uint64_t lo, std::uint8_t rest, int p) {
  if (p < 8) return static_cast<std::uint32_t>((hi >> (56 - 8 * p)) & 0xFF);
  if (p < 16) return static_cast<std::uint32_t>((lo >> (56 - 8 * (p - 8))) & 0xFF);
  return rest;
}

// Which digits differ among a set of keys: the OR of each key XOR the first.
struct Diff {
  std::uint64_t hi = 0, lo = 0;
  std::uint8_t rest = 0;
  void Widen(const Key& first, std::uint64_t h, std::uint64_t l, std::uint8_t r) {
    hi |= h ^ first.hi;
    lo |= l ^ first.lo;
    rest |= static_cast<std::uint8_t>(r ^ first.rest);
  }
  bool Varies(int p) const { return Digit(hi, lo, rest, p) != 0; }
};

int BitWidth(std::uint32_t v) {
  int bits = 0;
  for (; v != 0; v >>= 1) ++bits;
  return bits;
}

// Elements are 64-bit: a packed key above, a handle of the row below. Sorts
// them by key alone, stably.
void SortByKey(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, int keyBits) {
  const auto keyOf = [](std::uint64_t e) { return e >> kKeyBits; };
  if (n < 32) {
    for (std::size_t i = 1; i < n; ++i) {
      const std::uint64_t e = a[i];
      std::size_t j = i;
      for (; j > 0 && keyOf(a[j - 1]) > keyOf(e); --j) a[j] = a[j - 1];
      a[j] = e;
    }
    return;
  }
  if (n < 512) {  // too few for the radix passes' tables
    std::stable_sort(a, a + n, [&](std::uint64_t x, std::uint64_t y) { return keyOf(x) < keyOf(y); });
    return;
  }
  const int passes = (keyBits + 10) / 11;
  const int digitBits = (keyBits + passes - 1) / passes;
  const std::size_t buckets = std::size_t{1} << digitBits;
  const std::uint64_t mask = buckets - 1;
  std::vector<std::size_t> counts(buckets * static_cast<std::size_t>(passes));
  for (std::size_t i = 0; i < n; ++i)
    for (int pass = 0; pass < passes; ++pass)
      ++counts[pass * buckets + ((a[i] >> (kKeyBits + pass * digitBits)) & mask)];
  std::uint64_t* from = a;
  std::uint64_t* to = scratch;
  for (int pass = 0; pass < passes; ++pass) {
    const int shift = kKeyBits + pass * digitBits;
    std::size_t* count = &counts[pass * buckets];
    if (count[(a[0] >> shift) & mask] == n) continue;  // the same digit everywhere
    std::size_t start = 0;
    for (std::size_t v = 0; v < buckets; ++v) {
      const std::size_t here = count[v];
      count[v] = start;
      start += here;
    }
    for (std::size_t i = 0; i < n; ++i) to[count[(from[i] >> shift) & mask]++] = from[i];
    std::swap(from, to);
  }
  if (from != a) std::memcpy(a, from, n * sizeof(std::uint64_t));
}

// An array of a number of each row whose elements start undefined: each is
// written before it is read, and a million of them are not cleared first,
// which would cost a pass over the memory of its own.
template <class T>
class RowArray {
 public:
  void Allocate(std::size_t n) { data_.reset(new T[n]); }
  void Release() { data_.reset(); }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T* data() { return data_.get(); }
  const T* data() const { return data_.get(); }

 private:
  std::unique_ptr<T[]> data_;
};

// The keys of one depth for a set of rows, by handle: at depth 0 the handle
// is the row's id; deeper, an index into tables made for one run.
struct KeyTable {
  const std::uint64_t* hi;
  const std::uint64_t* lo;
  const std::uint8_t* rest;
  const std::uint32_t* ids;  // row id by handle; none: the handle is the id
  std::uint32_t IdOf(std::uint32_t handle) const { return ids ? ids[handle] : handle; }
};

// Which values each digit takes, a byte per value: a mark, then its rank.
using Seen = std::vector<std::uint8_t>;

inline void Mark(std::uint8_t* seen, std::uint64_t hi, std::uint64_t lo, std::uint8_t rest) {
  for (int p = 0; p < 8; ++p) seen[p * 256 + ((hi >> (56 - 8 * p)) & 0xFF)] = 1;
  for (int p = 0; p < 8; ++p) seen[(8 + p) * 256 + ((lo >> (56 - 8 * p)) & 0xFF)] = 1;
  seen[16 * 256 + rest] = 1;
}

// The digits a sort packs into its keys: the first differing digits (from
// `from` on) whose codes fit in kKeyBits, each coded by its value's rank
// among the values it takes, in as few bits as those need, so that the keys
// order as the digits do.
struct Window {
  int digits[kDigits];
  int source[kDigits];  // where a digit is: 0 in hi, 1 in lo, 2 the length
  int shift[kDigits];   // and how far up
  int bits[kDigits];
  const std::uint8_t* code[kDigits];
  int width = 0;
  int keyBits = 0;
  bool wholeKey = false;  // every differing digit is packed
  std::uint64_t flip = 0;

  // `seen` holds the marks of the values of every digit and gets the codes.
  Window(const Diff& diff, int from, std::uint8_t* seen, bool descending) {
    int varying = 0;
    bool full = false;
    for (int p = from; p < kDigits; ++p) {
      if (!diff.Varies(p)) continue;
      ++varying;
      if (full) continue;
      std::uint8_t* marks = seen + p * 256;
      std::uint32_t values = 0;
      // A value's rank replaces its mark; unmarked values never occur.
      for (int v = 0; v < 256; ++v)
        if (marks[v]) marks[v] = static_cast<std::uint8_t>(values++);
      const int b = BitWidth(values - 1);
      if (keyBits + b > kKeyBits) {
        full = true;
        continue;
      }
      digits[width] = p;
      source[width] = p / 8;
      shift[width] = p < 16 ? 56 - 8 * (p % 8) : 0;
      bits[width] = b;
      code[width] = marks;
      keyBits += b;
      ++width;
    }
    wholeKey = width == varying;
    flip = descending ? (std::uint64_t{1} << keyBits) - 1 : 0;
  }
  std::uint64_t Pack(std::uint64_t hi, std::uint64_t lo, std::uint8_t rest) const {
    const std::uint64_t words[3] = {hi, lo, rest};
    std::uint64_t key = 0;
    for (int w = 0; w < width; ++w) key = (key << bits[w]) | code[w][(words[source[w]] >> shift[w]) & 0xFF];
    return key ^ flip;
  }
};

struct RunSorter {
  const TextsById& texts;
  bool descending;

  void Sort(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys, std::size_t depth,
            int from, const Diff& diff);
  // `mayGoOn`: some of the texts may be longer than their keys.
  void Finish(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys, std::size_t depth,
              const Window& window, bool mayGoOn);
  void SortDeeper(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys, std::size_t depth);
  void SortByText(std::uint64_t* a, std::size_t n, const KeyTable& keys);
  void SortByKeys(std::uint64_t* a, std::size_t n, const KeyTable& keys);
};

// Few rows: compared as whole texts, from their first byte on.
void RunSorter::SortByText(std::uint64_t* a, std::size_t n, const KeyTable& keys) {
  const auto before = [&](std::uint64_t x, std::uint64_t y) {
    const int c = CompareNoCase(texts.Text(keys.IdOf(static_cast<std::uint32_t>(x & kHandleMask))),
                                texts.Text(keys.IdOf(static_cast<std::uint32_t>(y & kHandleMask))));
    return descending ? c > 0 : c < 0;
  };
  for (std::size_t i = 1; i < n; ++i) {
    const std::uint64_t e = a[i];
    std::size_t j = i;
    for (; j > 0 && before(e, a[j - 1]); --j) a[j] = a[j - 1];
    a[j] = e;
  }
}

// Few rows, whose keys of this depth are loaded: compared by those, and by
// their texts only where the keys tie on texts that go on.
void RunSorter::SortByKeys(std::uint64_t* a, std::size_t n, const KeyTable& keys) {
  const auto compare = [](auto x, auto y) { return x < y ? -1 : (x > y ? 1 : 0); };
  const auto before = [&](std::uint64_t x, std::uint64_t y) {
    const auto hx = static_cast<std::uint32_t>(x & kHandleMask);
    const auto hy = static_cast<std::uint32_t>(y & kHandleMask);
    int c = compare(keys.hi[hx], keys.hi[hy]);
    if (c == 0) c = compare(keys.lo[hx], keys.lo[hy]);
    if (c == 0) c = compare(keys.rest[hx], keys.rest[hy]);
    if (c == 0 && keys.rest[hx] == kGoesOn) c = CompareNoCase(texts.Text(keys.IdOf(hx)), texts.Text(keys.IdOf(hy)));
    return descending ? c > 0 : c < 0;
  };
  for (std::size_t i = 1; i < n; ++i) {
    const std::uint64_t e = a[i];
    std::size_t j = i;
    for (; j > 0 && before(e, a[j - 1]); --j) a[j] = a[j - 1];
    a[j] = e;
  }
}

// A run whose texts are equal up to the end of `depth`'s chunk and go on:
// its keys of the next depth are loaded into tables of its own.
void RunSorter::SortDeeper(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys,
                           std::size_t depth) {
  if (n < kCompareRun) {
    SortByText(a, n, keys);
    return;
  }
  std::vector<std::uint64_t> hi(n), lo(n);
  std::vector<std::uint8_t> rest(n);
  std::vector<std::uint32_t> ids(n), outer(n);
  Diff diff;
  Key first{};
  for (std::size_t i = 0; i < n; ++i) {
    outer[i] = static_cast<std::uint32_t>(a[i] & kHandleMask);
    ids[i] = keys.IdOf(outer[i]);
    const Key key = LoadKey(texts.Text(ids[i]), depth + 1);
    if (i == 0) first = key;
    hi[i] = key.hi;
    lo[i] = key.lo;
    rest[i] = key.rest;
    diff.Widen(first, key.hi, key.lo, key.rest);
    a[i] = i;
  }
  Sort(a, scratch, n, KeyTable{hi.data(), lo.data(), rest.data(), ids.data()}, depth + 1, 0, diff);
  for (std::size_t i = 0; i < n; ++i) a[i] = outer[a[i] & kHandleMask];
}

// Sorts a run of rows that tie on every digit before `from` at `depth`;
// `diff` says which digits differ among them.
void RunSorter::Sort(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys,
                     std::size_t depth, int from, const Diff& diff) {
  const auto handle = [&](std::size_t i) { return static_cast<std::uint32_t>(a[i] & kHandleMask); };
  bool same = true;
  for (int p = from; p < kDigits; ++p) same = same && !diff.Varies(p);
  if (same) {  // the same text so far
    if (keys.rest[handle(0)] == kGoesOn) SortDeeper(a, scratch, n, keys, depth);
    return;
  }
  if (n < kCompareRun) {
    SortByKeys(a, n, keys);
    return;
  }
  std::vector<std::uint8_t> seen(kDigits * 256);
  for (std::size_t i = 0; i < n; ++i) Mark(seen.data(), keys.hi[handle(i)], keys.lo[handle(i)], keys.rest[handle(i)]);
  const Window window(diff, from, seen.data(), descending);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t h = handle(i);
    a[i] = (window.Pack(keys.hi[h], keys.lo[h], keys.rest[h]) << kKeyBits) | h;
  }
  Finish(a, scratch, n, keys, depth, window, true);
}

// Sorts elements whose keys the window packed; rows that tie on the window
// differ further on, if at all.
void RunSorter::Finish(std::uint64_t* a, std::uint64_t* scratch, std::size_t n, const KeyTable& keys,
                       std::size_t depth, const Window& window, bool mayGoOn) {
  SortByKey(a, scratch, n, window.keyBits);
  if (window.wholeKey && !mayGoOn) return;  // rows that tie hold the same text
  for (std::size_t i = 0; i < n;) {
    std::size_t end = i + 1;
    while (end < n && (a[end] >> kKeyBits) == (a[i] >> kKeyBits)) ++end;
    const std::size_t m = end - i;
    if (m > 1) {
      std::uint64_t* run = a + i;
      if (!window.wholeKey) {
        Diff d;
        const auto h0 = static_cast<std::uint32_t>(run[0] & kHandleMask);
        const Key first{keys.hi[h0], keys.lo[h0], keys.rest[h0]};
        for (std::size_t k = 0; k < m; ++k) {
          const auto h = static_cast<std::uint32_t>(run[k] & kHandleMask);
          d.Widen(first, keys.hi[h], keys.lo[h], keys.rest[h]);
        }
        Sort(run, scratch + i, m, keys, depth, window.digits[window.width - 1] + 1, d);
      } else if (keys.rest[run[0] & kHandleMask] == kGoesOn) {
        SortDeeper(run, scratch + i, m, keys, depth);
      }
    }
    i = end;
  }
}

// One column's rows as they are added, and their sort.
class Column {
 public:
  explicit Column(std::size_t n) : count(n), table(kTableSize) { cls.Allocate(n); }
  void Add(std::string_view text);
  void Sort(std::vector<std::uint64_t>& rows, bool descending, const TextsById& texts);

 private:
  struct Class {
    Key key;
    std::string text;  // kept only for a text that goes on beyond its key
    std::uint32_t rows;
  };

  void Classify(std::uint32_t id, const Key& key, std::string_view text);
  void LeaveClasses(std::uint32_t upTo);
  void Store(std::uint32_t id, const Key& key) {
    if (id == 0) first = key;
    hi[id] = key.hi;
    lo[id] = key.lo;
    rest[id] = key.rest;
    diff.Widen(first, key.hi, key.lo, key.rest);
    goesOn = goesOn || key.rest == kGoesOn;
    Mark(seen.data(), key.hi, key.lo, key.rest);
  }
  void SortByClass(std::vector<std::uint64_t>& rows, bool descending);

  std::size_t count;
  std::uint32_t added = 0;

  // While the column has few distinct texts: each row's class, and a table
  // from a key's hash to its class + 1.
  bool fewTexts = true;
  RowArray<std::uint16_t> cls;
  std::vector<std::uint16_t> table;
  std::vector<Class> classes;

  // Otherwise every row's key, and which digits differ.
  RowArray<std::uint64_t> hi, lo;
  RowArray<std::uint8_t> rest;
  Key first{};
  Diff diff;
  bool goesOn = false;  // some text is longer than its key
  Seen seen;
};

void Column::Classify(std::uint32_t id, const Key& key, std::string_view text) {
  std::uint64_t h = key.hi * 0x9E3779B97F4A7C15ull;
  h ^= (key.lo + key.rest) * 0xC2B2AE3D27D4EB4Full;
  std::size_t slot = static_cast<std::size_t>(h >> 52) & (kTableSize - 1);
  for (;; slot = (slot + 1) & (kTableSize - 1)) {
    const std::uint16_t entry = table[slot];
    if (entry == 0) break;
    Class& c = classes[entry - 1];
    // Texts that go on past their keys are the same only if their ends are.
    const bool same = c.key.hi == key.hi && c.key.lo == key.lo && c.key.rest == key.rest &&
                      (key.rest != kGoesOn ||
                       (c.text.size() == text.size() &&
                        CompareNoCase(std::string_view(c.text).substr(kChunk), text.substr(kChunk)) == 0));
    if (same) {
      cls[id] = static_cast<std::uint16_t>(entry - 1);
      ++c.rows;
      return;
    }
  }
  if (classes.size() == kMaxClasses) {
    LeaveClasses(id);
    return;
  }
  classes.push_back(Class{key, key.rest == kGoesOn ? std::string(text) : std::string(), 1});
  table[slot] = static_cast<std::uint16_t>(classes.size());
  cls[id] = static_cast<std::uint16_t>(classes.size() - 1);
}

// Many texts: from row `upTo` on, every row keeps its key; those before take
// their class's.
void Column::LeaveClasses(std::uint32_t upTo) {
  fewTexts = false;
  seen.assign(kDigits * 256, 0);
  hi.Allocate(count);
  lo.Allocate(count);
  rest.Allocate(count);
  for (std::uint32_t id = 0; id < upTo; ++id) Store(id, classes[cls[id]].key);
  cls.Release();
  std::vector<std::uint16_t>().swap(table);
  std::vector<Class>().swap(classes);
}

void Column::SortByClass(std::vector<std::uint64_t>& rows, bool descending) {
  std::vector<std::uint32_t> byText(classes.size());
  std::iota(byText.begin(), byText.end(), 0u);
  std::sort(byText.begin(), byText.end(), [&](std::uint32_t x, std::uint32_t y) {
    const Key& a = classes[x].key;
    const Key& b = classes[y].key;
    if (a.hi != b.hi) return a.hi < b.hi;
    if (a.lo != b.lo) return a.lo < b.lo;
    if (a.rest != b.rest) return a.rest < b.rest;
    return CompareNoCase(classes[x].text, classes[y].text) < 0;
  });
  if (descending) std::reverse(byText.begin(), byText.end());
  // Where each class's rows start in the result.
  std::vector<std::size_t> start(classes.size());
  std::size_t at = 0;
  for (std::uint32_t c : byText) {
    start[c] = at;
    at += classes[c].rows;
  }
  std::vector<std::uint64_t> sorted(rows.size());
  for (const std::uint64_t row : rows) sorted[start[cls[row & kHandleMask]]++] = row & kHandleMask;
  rows.swap(sorted);
}

void Column::Add(std::string_view text) {
  const std::uint32_t id = added++;
  const Key key = LoadKey(text, 0);
  if (fewTexts) Classify(id, key, text);
  if (!fewTexts) Store(id, key);
}

void Column::Sort(std::vector<std::uint64_t>& rows, bool descending, const TextsById& texts) {
  for (auto& row : rows) row &= kHandleMask;
  if (fewTexts) {
    SortByClass(rows, descending);
    return;
  }
  const std::size_t n = rows.size();
  if (n < 2) return;
  RunSorter sorter{texts, descending};
  bool same = true;
  for (int p = 0; p < kDigits; ++p) same = same && !diff.Varies(p);
  if (same) {  // one text up to its sixteenth byte on every row
    if (rest[0] != kGoesOn) return;
    std::vector<std::uint64_t> scratch(n);
    sorter.SortDeeper(rows.data(), scratch.data(), n, KeyTable{hi.data(), lo.data(), rest.data(), nullptr}, 0);
    return;
  }
  // The keys are made in the order the rows are stored, then picked up in
  // the order the rows stand. Where the key holds every differing digit,
  // the rows' second eight bytes are not needed any more and make room for
  // the keys.
  const Window window(diff, 0, seen.data(), descending);
  std::vector<std::uint64_t> packed;
  if (!window.wholeKey) packed.resize(n);
  std::uint64_t* keys = window.wholeKey ? lo.data() : packed.data();
  for (std::uint32_t id = 0; id < n; ++id) keys[id] = window.Pack(hi[id], lo[id], rest[id]);
  for (auto& row : rows) row |= keys[row] << kKeyBits;
  // The keys by row are spent: their array is the scratch space.
  sorter.Finish(rows.data(), keys, n, KeyTable{hi.data(), lo.data(), rest.data(), nullptr}, 0, window, goesOn);
  lo.Release();
  rest.Release();
}

}  // namespace column_sort

SortTag SortTagOf(std::string_view text) { return column_sort::TagOfKey(column_sort::LoadKey(text, 0)); }

struct ColumnSorter::State : column_sort::Column {
  using Column::Column;
};

ColumnSorter::ColumnSorter(std::size_t count) : state_(std::make_unique<State>(count)) {}
ColumnSorter::~ColumnSorter() = default;
void ColumnSorter::Add(std::string_view text) { state_->Add(text); }
void ColumnSorter::Sort(std::vector<std::uint64_t>& rows, bool descending, const TextsById& texts) {
  state_->Sort(rows, descending, texts);
}

namespace {
class ViewTexts : public TextsById {
 public:
  explicit ViewTexts(const std::vector<std::string_view>& texts) : texts_(texts) {}
  std::string_view Text(std::uint32_t id) const override { return texts_[id]; }

 private:
  const std::vector<std::string_view>& texts_;
};
}  // namespace

std::vector<std::uint32_t> SortedOrder(const std::vector<std::string_view>& texts,
                                       const std::vector<std::uint32_t>& ranks, bool descending) {
  ColumnSorter sorter(texts.size());
  for (std::string_view t : texts) sorter.Add(t);
  std::vector<std::uint64_t> rows(texts.size());
  for (std::uint32_t i = 0; i < texts.size(); ++i) rows[ranks[i]] = i;
  sorter.Sort(rows, descending, ViewTexts(texts));
  return std::vector<std::uint32_t>(rows.begin(), rows.end());
}

}  // namespace rosterly
