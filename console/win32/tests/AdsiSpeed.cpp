// Fills the two lists' worth of names from a domain of 20,000 computers and
// 5,000 groups through AdsiDirectory and prints how long each step took.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "AdsiDirectory.h"
#include "TestDirSession.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::string BigDomain(int computers, int groups) {
  std::string text = "domain | BIG\n";
  for (int i = 0; i < computers; ++i) text += "computer | BIG | PC" + std::to_string(i) + " | reachable\n";
  for (int i = 0; i < groups; ++i) text += "group | BIG | Group " + std::to_string(i) + "\n";
  return text;
}

// Returns the number of names read, or -1.
long Walk(rosterly::DirObject& domain, const char* cls) {
  if (!domain.SetFilter({cls}).ok()) return -1;
  auto items = domain.Enumerate();
  if (!items.ok()) return -1;
  long count = 0;
  for (;;) {
    auto next = items.value()->Next();
    if (!next.ok()) return -1;
    if (!next.value()) return count;
    if (next.value()->Name().ok()) ++count;
  }
}

}  // namespace

int main() {
  if (!rosterly::testing::StartTestDirectory()) return 1;
  rosterly::testing::FixtureFile fixture(BigDomain(20000, 5000));
  rosterly::AdsiDirectory directory;
  for (int round = 1; round <= 3; ++round) {
    const auto start = Clock::now();
    auto domain = directory.Bind("WinNT://BIG", rosterly::BindAs::Container);
    if (!domain.ok()) return 1;
    const double bound = Ms(start);
    const auto computersStart = Clock::now();
    const long computers = Walk(*domain.value(), "Computer");
    const double computersMs = Ms(computersStart);
    const auto groupsStart = Clock::now();
    const long groups = Walk(*domain.value(), "Group");
    const double groupsMs = Ms(groupsStart);
    std::printf("round %d: bind %.1f ms, %ld computers %.1f ms, %ld groups %.1f ms, total %.1f ms\n", round, bound,
                computers, computersMs, groups, groupsMs, Ms(start));
  }
  return 0;
}
