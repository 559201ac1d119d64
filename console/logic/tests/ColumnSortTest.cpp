#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "logic/ColumnSort.h"
#include "logic/TextCompare.h"

namespace rosterly {
namespace {

// Against a plain stable sort with the grid's comparison: texts that tie on
// their first eight bytes or more, differ only in case or length, hold NULs
// and bytes above 0x7F.
TEST(ColumnSort, OrdersAsAStableSortByTextWouldInBothDirections) {
  std::mt19937 rng(11);
  const std::vector<std::string> stems = {"",
                                          "a",
                                          "ab",
                                          std::string("ab\0", 3),
                                          "Administrators",
                                          "administrators",
                                          "Administrator",
                                          "CORP\\user",
                                          "CORP\\User",
                                          "Remote Desktop Users",
                                          "Remote Desktop Users!",
                                          "\xC9quipe",
                                          "z"};
  std::vector<std::string> texts;
  for (int i = 0; i < 4000; ++i) {
    std::string t = stems[rng() % stems.size()];
    if (rng() % 2) t += std::to_string(rng() % 50);
    texts.push_back(t);
  }
  const std::vector<std::string_view> views(texts.begin(), texts.end());
  // Where each text stood before: the reverse of its index.
  std::vector<std::uint32_t> ranks(texts.size());
  for (std::uint32_t i = 0; i < ranks.size(); ++i) ranks[i] = static_cast<std::uint32_t>(ranks.size() - 1 - i);
  for (bool descending : {false, true}) {
    std::vector<std::uint32_t> expected(texts.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint32_t>(texts.size() - 1 - i);
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
      const int c = CompareNoCase(texts[a], texts[b]);
      return descending ? c > 0 : c < 0;
    });
    EXPECT_EQ(SortedOrder(views, ranks, descending), expected) << (descending ? "descending" : "ascending");
  }
}

// Many distinct texts (more than a column sorted as its distinct texts may
// have): short and long, sharing prefixes of 5 to 40 bytes, differing in
// case, NULs and high bytes, in a random order before the sort.
TEST(ColumnSort, ManyTextsWithLongSharedPrefixesOrderAsAStableSortWould) {
  std::mt19937 rng(23);
  const std::vector<std::string> prefixes = {"", "CORP\\", "Remote Desktop Users of the ", std::string("ab\0", 3),
                                             "A shared beginning longer than thirty-two bytes: "};
  const std::string alphabet("aAbB0\0\xFF\xC9", 8);
  std::vector<std::string> texts;
  for (int i = 0; i < 30000; ++i) {
    std::string t = prefixes[rng() % prefixes.size()];
    for (std::size_t n = rng() % 24; n > 0; --n) t += alphabet[rng() % alphabet.size()];
    texts.push_back(t);
  }
  const std::vector<std::string_view> views(texts.begin(), texts.end());
  std::vector<std::uint32_t> before(texts.size());  // indexes in the order they stood
  for (std::uint32_t i = 0; i < before.size(); ++i) before[i] = i;
  std::shuffle(before.begin(), before.end(), rng);
  std::vector<std::uint32_t> ranks(texts.size());
  for (std::uint32_t r = 0; r < before.size(); ++r) ranks[before[r]] = r;
  for (bool descending : {false, true}) {
    std::vector<std::uint32_t> expected = before;
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
      const int c = CompareNoCase(texts[a], texts[b]);
      return descending ? c > 0 : c < 0;
    });
    EXPECT_EQ(SortedOrder(views, ranks, descending), expected) << (descending ? "descending" : "ascending");
  }
}

}  // namespace
}  // namespace rosterly
