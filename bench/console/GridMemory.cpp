// The memory a results grid of many rows takes: the rows arrive one by one
// at the top, as an action inserts them, then every header is clicked twice.
// Prints the process's resident size after the inserts and its peak, and
// what the heap holds for the grid.
//
//   bench_grid_memory [ROWS] [--sorted]
//       ROWS rows (default 1,000,000); --sorted clicks a header first, so
//       that every row is placed in sorted order as it arrives
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "BenchData.h"
#include "logic/ResultGrid.h"

namespace {

// A "Vm...:" line of /proc/self/status, in MB.
double StatusMb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::strtod(line.c_str() + std::strlen(field), nullptr) / 1024.0;
  }
  return -1;
}

// Small blocks in use plus the large ones mapped on their own.
double HeapMb() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t rows = 1000000;
  bool sorted = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--sorted") == 0)
      sorted = true;
    else
      rows = std::strtoul(argv[i], nullptr, 10);
  }
  const double heapBefore = HeapMb();
  const double rssBefore = StatusMb("VmRSS:");
  rosterly::ResultGrid grid;
  if (sorted) grid.ColumnClick(1);
  rosterly::bench::RowMaker maker;
  for (std::size_t i = 0; i < rows; ++i) grid.InsertAtTop(maker.Next());
  const double heapInserted = HeapMb() - heapBefore;
  const double rssInserted = StatusMb("VmRSS:") - rssBefore;
  const double peakInserted = StatusMb("VmHWM:");
  for (int header = 1; header <= 4; ++header) {
    grid.ColumnClick(header);
    grid.ColumnClick(header);
  }
  std::printf(
      "%zu rows%s: heap %.1f MB, resident %.1f MB after the inserts (peak %.1f MB); heap %.1f MB after the "
      "clicks; peak resident %.1f MB (%.1f MB before the grid)\n",
      grid.RowCount(), sorted ? " (sorted as they arrive)" : "", heapInserted, rssInserted, peakInserted,
      HeapMb() - heapBefore, StatusMb("VmHWM:"), rssBefore);
  return 0;
}
