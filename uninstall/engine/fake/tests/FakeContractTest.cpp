// The FileSystem and Profile contract, run against the in-memory fakes.
#include "ContractWorld.h"
#include "FakeFileSystem.h"
#include "FakeProfile.h"

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

}  // namespace
}  // namespace scrubber::contract
