// Results grid: rows arriving at the top (plain and sorted), header-click
// sorts by every column in both directions, and the export.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "BenchData.h"
#include "logic/CsvExport.h"
#include "logic/ResultGrid.h"

namespace rosterly::bench {
namespace {

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
}

void BM_InsertAtTop(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    ResultGrid grid;
    for (const auto& r : rows) grid.InsertAtTop(r);
    benchmark::DoNotOptimize(grid.RowAt(1));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertAtTop)->Apply(Sizes);

// Sorted mode on: every row goes to its sorted place; the top row is read
// after each insert as a repainting window would.
void BM_InsertAtTopSorted(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    ResultGrid grid;
    grid.ColumnClick(1);
    for (const auto& r : rows) {
      grid.InsertAtTop(r);
      benchmark::DoNotOptimize(grid.RowAt(grid.RowCount() / 2 + 1));
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertAtTopSorted)->Apply(Sizes);

// Two clicks on one header per iteration: ascending, then descending.
void BM_SortColumnBothWays(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  const int header = static_cast<int>(state.range(1));
  ResultGrid grid;
  for (const auto& r : rows) grid.InsertAtTop(r);
  for (auto _ : state) {
    grid.ColumnClick(header);
    grid.ColumnClick(header);
    benchmark::DoNotOptimize(grid.RowAt(1));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortColumnBothWays)
    ->ArgsProduct({{10000, 100000}, {1, 2, 3, 4}})
    ->ArgNames({"rows", "header"})
    ->Unit(benchmark::kMillisecond);

// One header click on a grid of 10,000 to 1,000,000 rows, by "Member" (texts
// that tie on their first bytes) and by "Group Name" (five texts in all);
// each click flips the direction.
void BM_HeaderClick(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  const int header = static_cast<int>(state.range(1));
  ResultGrid grid;
  for (const auto& r : rows) grid.InsertAtTop(r);
  for (auto _ : state) {
    grid.ColumnClick(header);
    benchmark::DoNotOptimize(grid.RowAt(1));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_HeaderClick)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 2, 3, 4}})
    ->ArgNames({"rows", "header"})
    ->Unit(benchmark::kMillisecond);

// A header click and the row that arrives right after it: the click leaves
// a plain array of the sorted rows, and that row turns it into the index
// that takes insertions, once.
void BM_ClickThenRow(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  ResultGrid grid;
  for (const auto& r : rows) grid.InsertAtTop(r);
  for (auto _ : state) {
    grid.ColumnClick(1);
    grid.InsertAtTop(rows.front());
    benchmark::DoNotOptimize(grid.RowAt(1));
  }
}
BENCHMARK(BM_ClickThenRow)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The yardstick of a header click: std::sort over as many random 64-bit keys
// as the grid has rows, a fresh unsorted copy each time (copied untimed).
void BM_SortKeysReference(benchmark::State& state) {
  std::mt19937_64 rng(99);
  std::vector<std::uint64_t> keys(static_cast<std::size_t>(state.range(0)));
  for (auto& k : keys) k = rng();
  std::vector<std::uint64_t> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = keys;
    state.ResumeTiming();
    std::sort(work.begin(), work.end());
    benchmark::DoNotOptimize(work.data());
  }
}
BENCHMARK(BM_SortKeysReference)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Export(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  ResultGrid grid;
  for (const auto& r : rows) grid.InsertAtTop(r);
  grid.ColumnClick(2);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = FormatResults(grid);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Export)->Apply(Sizes);

}  // namespace
}  // namespace rosterly::bench
