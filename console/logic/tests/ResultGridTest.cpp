#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "logic/BlockIndex.h"
#include "logic/ResultGrid.h"
#include "logic/TextCompare.h"

namespace rosterly {
namespace {

std::vector<std::string> Column(const ResultGrid& grid, std::size_t col) {
  std::vector<std::string> out;
  grid.ForEachRow([&](const ResultRow& r) { out.push_back(r.cells[col]); });
  return out;
}

std::vector<std::string> ByPosition(const ResultGrid& grid, std::size_t col) {
  std::vector<std::string> out;
  for (std::size_t p = 1; p <= grid.RowCount(); ++p) out.push_back(grid.RowAt(p).cells[col]);
  return out;
}

using Names = std::vector<std::string>;

TEST(ResultGrid, NewestRowStandsOnTopUntilSorted) {
  ResultGrid grid;
  grid.InsertAtTop(MakeRow("A", "g", "m1", "Lookup"));
  grid.InsertAtTop(MakeRow("B", "g", "m2", "Lookup"));
  grid.InsertAtTop(MakeRow("C", "g", "m3", "Lookup"));
  EXPECT_EQ(Column(grid, 0), (Names{"C", "B", "A"}));
  EXPECT_EQ(ByPosition(grid, 0), (Names{"C", "B", "A"}));
  EXPECT_FALSE(grid.Sorted());
}

TEST(ResultGrid, EveryClickFlipsTheDirectionWhicheverHeader) {
  ResultGrid grid;
  grid.InsertAtTop(MakeRow("b", "x", "1", "Removed"));
  grid.InsertAtTop(MakeRow("C", "y", "3", "Added"));
  grid.InsertAtTop(MakeRow("a", "z", "2", "No Connection"));

  grid.ColumnClick(1);  // first click: ascending
  EXPECT_EQ(grid.SortKey(), 0u);
  EXPECT_EQ(grid.Direction(), SortDirection::Ascending);
  EXPECT_EQ(Column(grid, 0), (Names{"a", "b", "C"}));

  grid.ColumnClick(1);  // same header again: descending
  EXPECT_EQ(Column(grid, 0), (Names{"C", "b", "a"}));

  grid.ColumnClick(4);  // another header does not restart at ascending
  EXPECT_EQ(grid.SortKey(), 3u);
  EXPECT_EQ(grid.Direction(), SortDirection::Ascending);
  EXPECT_EQ(Column(grid, 3), (Names{"Added", "No Connection", "Removed"}));

  grid.ColumnClick(1);  // "Action" then "Computer": opposite of the first click
  EXPECT_EQ(grid.Direction(), SortDirection::Descending);
  EXPECT_EQ(Column(grid, 0), (Names{"C", "b", "a"}));

  grid.ColumnClick(3);
  EXPECT_EQ(ByPosition(grid, 2), (Names{"1", "2", "3"}));  // text order, not number order below
  grid.InsertAtTop(MakeRow("d", "w", "10", "Added"));
  EXPECT_EQ(ByPosition(grid, 2), (Names{"1", "10", "2", "3"}));
}

TEST(ResultGrid, SortIsStableInBothDirectionsAndByText) {
  ResultGrid grid;
  // Shown newest first: r4 r3 r2 r1.
  grid.InsertAtTop(MakeRow("PC1", "g", "r1", ""));
  grid.InsertAtTop(MakeRow("pc2", "g", "r2", ""));
  grid.InsertAtTop(MakeRow("PC2", "g", "r3", ""));
  grid.InsertAtTop(MakeRow("pc1", "g", "r4", ""));
  grid.ColumnClick(1);
  EXPECT_EQ(Column(grid, 2), (Names{"r4", "r1", "r3", "r2"}));
  grid.ColumnClick(1);  // equal keys keep their shown order, also descending
  EXPECT_EQ(Column(grid, 2), (Names{"r3", "r2", "r4", "r1"}));
}

TEST(ResultGrid, SortedGridPlacesNewRowsAndClearKeepsTheSortState) {
  ResultGrid grid;
  grid.ColumnClick(2);  // on an empty grid only the state changes
  EXPECT_TRUE(grid.Sorted());
  EXPECT_EQ(grid.RowCount(), 0u);
  grid.InsertAtTop(MakeRow("A", "Users", "m", ""));
  grid.InsertAtTop(MakeRow("B", "Administrators", "m", ""));
  grid.InsertAtTop(MakeRow("C", "users", "m", ""));  // ahead of its equal
  grid.InsertAtTop(MakeRow("D", "Guests", "m", ""));
  EXPECT_EQ(Column(grid, 0), (Names{"B", "D", "C", "A"}));
  EXPECT_EQ(ByPosition(grid, 0), (Names{"B", "D", "C", "A"}));

  grid.Clear();
  EXPECT_EQ(grid.RowCount(), 0u);
  EXPECT_TRUE(grid.Sorted());
  EXPECT_EQ(grid.SortKey(), 1u);
  EXPECT_EQ(grid.Direction(), SortDirection::Ascending);
  grid.InsertAtTop(MakeRow("X", "b", "", ""));
  grid.InsertAtTop(MakeRow("Y", "a", "", ""));
  EXPECT_EQ(Column(grid, 0), (Names{"Y", "X"}));
}

TEST(ResultGrid, HeadersOutsideTheFourColumnsAreIgnored) {
  ResultGrid grid;
  grid.ColumnClick(0);
  grid.ColumnClick(5);
  EXPECT_FALSE(grid.Sorted());
  EXPECT_EQ(grid.Direction(), SortDirection::Descending);
}

// Many rows through the block index against a plain sorted reference, in
// both directions, with positions read after every insert.
TEST(ResultGrid, LargeSortedGridMatchesAReferenceOrder) {
  std::mt19937 rng(7);
  for (int clicks : {1, 2}) {
    ResultGrid grid;
    for (int c = 0; c < clicks; ++c) grid.ColumnClick(1);
    std::vector<std::string> reference;  // keys in shown order
    for (int i = 0; i < 5000; ++i) {
      std::string key = "PC" + std::to_string(rng() % 700);
      if (rng() % 2) std::transform(key.begin(), key.end(), key.begin(), ::tolower);
      grid.InsertAtTop(MakeRow(key, "", "", ""));
      auto before = [&](const std::string& e) {
        const int cmp = CompareNoCase(e, key);
        return clicks == 1 ? cmp < 0 : cmp > 0;
      };
      reference.insert(std::partition_point(reference.begin(), reference.end(), before), key);
      if (i % 97 == 0) {
        const std::size_t p = 1 + rng() % grid.RowCount();
        ASSERT_EQ(grid.RowAt(p).cells[0], reference[p - 1]);
      }
    }
    EXPECT_EQ(Column(grid, 0), reference);
    EXPECT_EQ(ByPosition(grid, 0), reference);
  }
}

// Clicks on every header and rows arriving between them, against a plain
// model of the shown rows: a stable sort per click, and each new row placed
// ahead of the first row not strictly before it (at the top while unsorted).
TEST(ResultGrid, ClicksAndArrivalsMatchAModelOnEveryColumn) {
  std::mt19937 rng(5);
  const std::vector<std::string> groups = {"Administrators", "administrators", "Remote Desktop Users", "Users"};
  auto randomRow = [&] {
    std::string computer = (rng() % 2 ? "ws" : "WS") + std::to_string(rng() % 3000);
    std::string member = "CORP\\a member name longer than sixteen bytes " + std::to_string(rng() % 1500);
    return MakeRow(computer, groups[rng() % groups.size()], member, rng() % 3 ? "Added" : "No Connection");
  };
  ResultGrid grid;
  std::vector<ResultRow> model;  // shown order
  bool sorted = false;
  std::size_t key = 0;
  bool ascending = false;
  auto before = [&](const ResultRow& a, const ResultRow& b) {
    const int c = CompareNoCase(a.cells[key], b.cells[key]);
    return ascending ? c < 0 : c > 0;
  };
  for (int step = 0; step < 14; ++step) {
    for (int i = 0; i < 700; ++i) {
      ResultRow row = randomRow();
      auto ahead = [&](const ResultRow& e) { return before(e, row); };
      auto at = sorted ? std::partition_point(model.begin(), model.end(), ahead) : model.begin();
      model.insert(at, row);
      grid.InsertAtTop(std::move(row));
    }
    const int header = 1 + static_cast<int>(rng() % 4);
    grid.ColumnClick(header);
    sorted = true;
    key = static_cast<std::size_t>(header - 1);
    ascending = !ascending;
    std::stable_sort(model.begin(), model.end(), before);
    for (std::size_t col = 0; col < kColumnCount; ++col) {
      std::vector<std::string> expected;
      for (const auto& r : model) expected.push_back(r.cells[col]);
      ASSERT_EQ(Column(grid, col), expected) << "step " << step << ", column " << col;
      ASSERT_EQ(ByPosition(grid, col), expected) << "step " << step << ", column " << col;
    }
  }
}

TEST(BlockIndex, AssignInsertAndReadBack) {
  BlockIndex index;
  std::vector<std::uint32_t> ids(3000);
  for (std::uint32_t i = 0; i < ids.size(); ++i) ids[i] = i * 2;
  index.Assign(ids);
  index.InsertBefore(1001, [](std::uint32_t e) { return e < 1001; });
  index.InsertBefore(99999, [](std::uint32_t e) { return e < 99999; });
  index.InsertBefore(7, [](std::uint32_t) { return false; });
  ASSERT_EQ(index.size(), 3003u);
  EXPECT_EQ(index.At(0), 7u);
  EXPECT_EQ(index.At(502), 1001u);
  EXPECT_EQ(index.At(3002), 99999u);
  index.Clear();
  EXPECT_EQ(index.size(), 0u);
}

}  // namespace
}  // namespace rosterly
