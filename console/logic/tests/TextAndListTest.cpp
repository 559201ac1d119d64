#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "logic/ComputerListReader.h"
#include "logic/SortedList.h"
#include "logic/TextCompare.h"

namespace rosterly {
namespace {

std::vector<std::string> Texts(const SortedList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Text(i));
  return out;
}

TEST(TextCompare, IgnoresAsciiCaseAndOrdersBytesUnsigned) {
  EXPECT_EQ(CompareNoCase("pc1", "PC1"), 0);
  EXPECT_LT(CompareNoCase("alpha", "Beta"), 0);
  EXPECT_GT(CompareNoCase("Zulu", "alpha"), 0);
  EXPECT_LT(CompareNoCase("PC", "pc1"), 0);        // a prefix sorts first
  EXPECT_LT(CompareNoCase("z", "\xE9t\xE9"), 0);   // 8-bit bytes after ASCII
  EXPECT_LT(CompareNoCase("PC_1", "PCa"), 0);      // '_' folds nothing: 0x5F < 'a'
}

TEST(SortedList, KeepsCaseInsensitiveOrderDuplicatesAndSelections) {
  SortedList list;
  list.Add("pc3");
  list.Add("PC1");
  list.Add("pc2");
  list.SetSelected(0, true);  // PC1
  list.Add("Pc1");            // a duplicate goes after its equal
  list.Add("PC1");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"PC1", "Pc1", "PC1", "pc2", "pc3"}));
  EXPECT_TRUE(list.Selected(0));
  EXPECT_FALSE(list.Selected(1));
  EXPECT_FALSE(list.Selected(2));

  list.AddMany({"b", "PC2", "a", "pc2"});
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "PC1", "Pc1", "PC1", "pc2", "PC2", "pc2", "pc3"}));
  EXPECT_TRUE(list.Selected(2));
}

// A domain's worth of names at once, into a list that holds some already:
// as a stable sort of the new names, merged after their equals, would place
// them. Equal names differ in letter case, so that their order shows.
TEST(SortedList, ManyNamesAtOnceKeepExistingThenFileOrderAmongEquals) {
  std::mt19937 rng(3);
  const char* const spellings[] = {"PC-", "pc-", "Pc-", "pC-"};
  SortedList list;
  std::vector<std::string> expected;  // existing names, then new ones in file order
  for (int i = 0; i < 300; ++i) {
    expected.push_back(spellings[i % 4] + std::to_string(rng() % 2000));
    list.Add(expected.back());
  }
  std::vector<std::string> more;
  for (int i = 0; i < 6000; ++i) more.push_back(spellings[rng() % 4] + std::to_string(rng() % 2000));
  expected.insert(expected.end(), more.begin(), more.end());
  list.AddMany(more);
  std::stable_sort(expected.begin(), expected.end(),
                   [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  EXPECT_EQ(Texts(list), expected);
}

TEST(SortedList, IndexPastTheEndReadsAsEmptyAndUnselected) {
  SortedList list;
  list.Add("PC1");
  list.SelectAll(true);
  EXPECT_EQ(list.Text(5), "");
  EXPECT_FALSE(list.Selected(5));
  list.SetSelected(5, true);  // ignored, no crash
  EXPECT_EQ(list.Count(), 1u);
}

TEST(ComputerListReader, ReadsLinesCommasAndQuotedNames) {
  // One name, two names on a line, and a quoted name holding a comma and a blank.
  const std::string file = "PC1\r\nPC2,PC3\r\n\"Lab, Room 4\"\r\n";
  EXPECT_EQ(ReadComputerList(file), (std::vector<std::string>{"PC1", "PC2", "PC3", "Lab, Room 4"}));
}

TEST(ComputerListReader, FieldRules) {
  // Blanks in front are skipped, blanks behind are kept.
  EXPECT_EQ(ReadComputerList("  PC1 ,\tPC2"), (std::vector<std::string>{"PC1 ", "PC2"}));
  // LF only, CR only, no final line end.
  EXPECT_EQ(ReadComputerList("A\nB\rC"), (std::vector<std::string>{"A", "B", "C"}));
  // Empty fields and blank lines name no computer.
  EXPECT_EQ(ReadComputerList("A,,B\r\n\r\n \r\n\"\"\r\n"), (std::vector<std::string>{"A", "B"}));
  // Text after a closing quote up to the delimiter is dropped.
  EXPECT_EQ(ReadComputerList("\"A\"junk,B"), (std::vector<std::string>{"A", "B"}));
  // A quote that never closes runs to the end, line ends included.
  EXPECT_EQ(ReadComputerList("X,\"open\r\nname"), (std::vector<std::string>{"X", "open\r\nname"}));
  EXPECT_TRUE(ReadComputerList("").empty());
  EXPECT_TRUE(ReadComputerList("\"").empty());
  // Bytes above 127 pass unchanged, one byte per character.
  EXPECT_EQ(ReadComputerList("R\xC9SEAU\r\n"), (std::vector<std::string>{"R\xC9SEAU"}));
}

}  // namespace
}  // namespace rosterly
