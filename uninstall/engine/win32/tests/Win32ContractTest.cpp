// The FileSystem, Profile and Registry contracts, run against Win32 on real
// files and the real registry.
#include <windows.h>

#include "ContractWorld.h"
#include "Scratch.h"
#include "Win32FileSystem.h"
#include "Win32Profile.h"
#include "Win32Registry.h"

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

// Each world works in a key of its own below HKEY_CURRENT_USER and removes it.
class Win32RegistryWorld : public RegistryWorld {
 public:
  Win32RegistryWorld() {
    static int counter = 0;
    key_ = "Software\\ScrubberContract\\W" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    (void)RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    if (!MakeKey(key_)) key_.clear();
  }
  ~Win32RegistryWorld() override {
    if (key_.empty()) return;
    (void)RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    (void)RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ScrubberContract");  // only once it is empty
  }
  Registry& registry() override { return registry_; }
  RegRoot ScratchRoot() override { return RegRoot::CurrentUser; }
  std::string ScratchKey() override { return key_; }
  bool MakeKey(const std::string& path) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

 private:
  Win32Registry registry_;
  std::string key_;
};

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryWorldMaker{"Win32",
                                                              [] { return std::make_unique<Win32RegistryWorld>(); }}),
                         RegistryContractName);

}  // namespace
}  // namespace scrubber::contract
