#pragma once
// What the contract tests need besides the interfaces themselves: a scratch
// directory, a way to hold a file open, a directory link, and a look at the
// restart moves the platform recorded. One world per implementation.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace scrubber::contract {

struct LinkCase {
  std::string link;    // a directory link ...
  std::string target;  // ... to this directory, which holds KEEP.TXT
};

struct RestartMoveSeen {
  std::string from;
  std::string to;
};

class World {
 public:
  virtual ~World() = default;
  virtual FileSystem& fs() = 0;
  virtual Profile& profile() = 0;
  // An empty directory made for this test, without a trailing backslash.
  virtual std::string ScratchDir() = 0;
  // Opens the file without any sharing, until ReleaseAll.
  virtual bool HoldOpen(const std::string& path) = 0;
  virtual void ReleaseAll() = 0;
  // nullopt when this world cannot make links.
  virtual std::optional<LinkCase> Link(int number) = 0;
  virtual std::vector<RestartMoveSeen> RestartMoves() = 0;
};

struct WorldMaker {
  std::string name;
  std::function<std::unique_ptr<World>()> make;
};

inline std::string PrintToString(const WorldMaker& maker) { return maker.name; }
inline void PrintTo(const WorldMaker& maker, std::ostream* os) { *os << maker.name; }

class Contract : public ::testing::TestWithParam<WorldMaker> {
 protected:
  void SetUp() override {
    world_ = GetParam().make();
    ASSERT_TRUE(world_);
    dir_ = world_->ScratchDir();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override {
    if (world_) world_->ReleaseAll();
  }

  FileSystem& fs() { return world_->fs(); }
  std::string In(const std::string& name) const { return dir_ + "\\" + name; }
  void Write(const std::string& name, const std::string& content = "x") {
    ASSERT_TRUE(fs().WriteWholeFile(In(name), content)) << name;
  }
  // Names of the entries that match, in the order the platform gives them.
  std::vector<std::string> Names(const std::string& pattern);

  std::unique_ptr<World> world_;
  std::string dir_;
};

// Instantiate with: INSTANTIATE_TEST_SUITE_P(Name, Contract, ::testing::Values(maker), ContractName);
std::string ContractName(const ::testing::TestParamInfo<WorldMaker>& info);

}  // namespace scrubber::contract
