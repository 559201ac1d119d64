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
#include "platform/Registry.h"

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

// The registry contract (RegistryContract.cpp) needs only a registry and a
// key of its own to work under: the interface cannot create keys, so the
// world makes them. One world per test.
class RegistryWorld {
 public:
  virtual ~RegistryWorld() = default;
  virtual Registry& registry() = 0;
  // The root the scratch key lives under (HKEY_CURRENT_USER on Win32).
  virtual RegRoot ScratchRoot() = 0;
  // A key path below ScratchRoot, made empty for this test and existing,
  // without a trailing backslash, e.g. "Software\ScrubberContract\T1". The
  // world removes it, with everything below it, when it is destroyed.
  virtual std::string ScratchKey() = 0;
  // Makes the key `path` below ScratchRoot, and missing keys on the way.
  virtual bool MakeKey(const std::string& path) = 0;
};

struct RegistryWorldMaker {
  std::string name;
  std::function<std::unique_ptr<RegistryWorld>()> make;
};

inline std::string PrintToString(const RegistryWorldMaker& maker) { return maker.name; }
inline void PrintTo(const RegistryWorldMaker& maker, std::ostream* os) { *os << maker.name; }

class RegistryContract : public ::testing::TestWithParam<RegistryWorldMaker> {
 protected:
  void SetUp() override {
    world_ = GetParam().make();
    ASSERT_TRUE(world_);
    root_ = world_->ScratchRoot();
    key_ = world_->ScratchKey();
    ASSERT_FALSE(key_.empty());
  }
  void TearDown() override { world_.reset(); }

  Registry& registry() { return world_->registry(); }
  // A path below the scratch key.
  std::string Below(const std::string& relative) const { return key_ + "\\" + relative; }

  std::unique_ptr<RegistryWorld> world_;
  RegRoot root_ = RegRoot::CurrentUser;
  std::string key_;
};

// Instantiate with: INSTANTIATE_TEST_SUITE_P(Name, RegistryContract,
//   ::testing::Values(maker), RegistryContractName);
std::string RegistryContractName(const ::testing::TestParamInfo<RegistryWorldMaker>& info);

}  // namespace scrubber::contract
