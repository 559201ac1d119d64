// Loading a computer-list file into the sorted computer list.
#include <benchmark/benchmark.h>

#include "BenchData.h"
#include "logic/ComputerListReader.h"
#include "logic/SortedList.h"

namespace rosterly::bench {
namespace {

void BM_LoadComputerList(benchmark::State& state) {
  const std::string file = MakeComputerListFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    SortedList list;
    list.AddMany(ReadComputerList(file));
    benchmark::DoNotOptimize(list.Text(0));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadComputerList)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace rosterly::bench
