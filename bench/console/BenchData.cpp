#include "BenchData.h"

#include <random>

namespace rosterly::bench {

namespace {
const char* const kGroups[] = {"Administrators", "Users", "Power Users", "Remote Desktop Users", "Guests"};
const char* const kActions[] = {"Lookup", "Added", "Removed", "No Connection", "Failed: Access is denied."};
}  // namespace

RowMaker::RowMaker() : rng_(12345) {}

ResultRow RowMaker::Next() {
  std::string computer = (rng_() % 2 ? "ws" : "WS") + std::to_string(rng_() % 1000000);
  std::string group = kGroups[rng_() % 5];
  std::string member = "CORP\\user" + std::to_string(rng_() % 50000);
  return MakeRow(std::move(computer), std::move(group), std::move(member), kActions[rng_() % 5]);
}

std::vector<ResultRow> MakeRows(std::size_t count) {
  RowMaker maker;
  std::vector<ResultRow> rows;
  rows.reserve(count);
  for (std::size_t i = 0; i < count; ++i) rows.push_back(maker.Next());
  return rows;
}

std::string MakeComputerListFile(std::size_t count) {
  std::mt19937 rng(777);
  std::string file;
  for (std::size_t i = 0; i < count; ++i) {
    file += (i % 7 == 0) ? "\"pc-" + std::to_string(rng() % 10000000) + "\"" : "PC-" + std::to_string(rng() % 10000000);
    file += (i % 3 == 0) ? "," : "\r\n";
  }
  return file;
}

}  // namespace rosterly::bench
