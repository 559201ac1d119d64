// The FileSystem and Profile contract, run against Win32 on real files.
#include <windows.h>

#include "ContractWorld.h"
#include "Scratch.h"
#include "Win32FileSystem.h"
#include "Win32Profile.h"

namespace scrubber::contract {
namespace {

class Win32World : public World {
 public:
  ~Win32World() override { ReleaseAll(); }
  FileSystem& fs() override { return fs_; }
  Profile& profile() override { return profile_; }
  std::string ScratchDir() override { return scratch_.path(); }
  bool HoldOpen(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    held_.push_back(h);
    return true;
  }
  void ReleaseAll() override {
    for (HANDLE h : held_) CloseHandle(h);
    held_.clear();
  }
  std::optional<LinkCase> Link(int number) override {
    auto setup = testing::LinkCase(number);
    if (!setup) return std::nullopt;
    return LinkCase{setup->link, setup->outside};
  }
  std::vector<RestartMoveSeen> RestartMoves() override {
    std::vector<RestartMoveSeen> seen;
    for (auto& [from, to] : testing::PendingRenames()) seen.push_back({from, to});
    return seen;
  }

 private:
  Win32FileSystem fs_;
  Win32Profile profile_;
  testing::ScratchDir scratch_{"scrubber-contract"};
  std::vector<HANDLE> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, Contract,
                         ::testing::Values(WorldMaker{"Win32", [] { return std::make_unique<Win32World>(); }}),
                         ContractName);

}  // namespace
}  // namespace scrubber::contract
