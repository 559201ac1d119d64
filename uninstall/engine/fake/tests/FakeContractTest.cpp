// The FileSystem, Profile and Registry contracts, run against the in-memory fakes.
#include "ContractWorld.h"
#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"

namespace scrubber::contract {
namespace {

class FakeWorld : public World {
 public:
  FileSystem& fs() override { return fs_; }
  Profile& profile() override { return profile_; }
  std::string ScratchDir() override {
    fs_.AddDir("C:\\TEMP\\Scratch");
    return "C:\\TEMP\\Scratch";
  }
  bool HoldOpen(const std::string& path) override {
    if (!fs_.HoldOpen(path)) return false;
    held_.push_back(path);
    return true;
  }
  void ReleaseAll() override {
    for (const auto& path : held_) fs_.Release(path);
    held_.clear();
  }
  std::optional<LinkCase> Link(int number) override {
    std::string base = "C:\\LINKS\\case" + std::to_string(number);
    LinkCase made{base + "\\app\\link", base + "\\outside"};
    fs_.AddFile(made.target + "\\KEEP.TXT", "keep");
    fs_.AddLink(made.link, made.target);
    return made;
  }
  std::vector<RestartMoveSeen> RestartMoves() override {
    std::vector<RestartMoveSeen> seen;
    for (const auto& move : fs_.RestartMoves()) seen.push_back({move.from, move.to});
    return seen;
  }

 private:
  FakeFileSystem fs_;
  FakeProfile profile_{fs_};
  std::vector<std::string> held_;
};

INSTANTIATE_TEST_SUITE_P(Fake, Contract,
                         ::testing::Values(WorldMaker{"Fake", [] { return std::make_unique<FakeWorld>(); }}),
                         ContractName);

class FakeRegistryWorld : public RegistryWorld {
 public:
  Registry& registry() override { return registry_; }
  RegRoot ScratchRoot() override { return RegRoot::CurrentUser; }
  std::string ScratchKey() override {
    registry_.AddKey(RegRoot::CurrentUser, "Software\\ScrubberContract");
    return "Software\\ScrubberContract";
  }
  bool MakeKey(const std::string& path) override {
    registry_.AddKey(RegRoot::CurrentUser, path);
    return registry_.KeyExists(RegRoot::CurrentUser, path);
  }

 private:
  FakeRegistry registry_;
};

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistryWorldMaker{"Fake",
                                                              [] { return std::make_unique<FakeRegistryWorld>(); }}),
                         RegistryContractName);

}  // namespace
}  // namespace scrubber::contract
