// Shared-component counts and the database engine's use count.
#include <string>

#include "RegistryFixture.h"

namespace scrubber {
namespace {

using namespace std::string_literals;

constexpr char kFile[] = "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL";
constexpr char kEngine[] = "Software\\Borland\\Database Engine";

class SharedCounts : public RegistryFixture {
 protected:
  void SetCount(const char* file, RegValue value) {
    registry.SetValue(RegRoot::LocalMachine, kSharedDllsKey, file, std::move(value));
  }
  std::optional<RegValue> CountOf(const char* file) {
    return registry.ValueOf(RegRoot::LocalMachine, kSharedDllsKey, file);
  }
};

TEST_F(SharedCounts, ACountAboveOneGoesDownAsADwordAndTheFileStays) {
  SetCount(kFile, Raw(kRegTypeSz, "3\0"s));
  EXPECT_EQ(ops.ReleaseSharedCount(kFile), SharedCount::Keep);
  EXPECT_EQ(CountOf(kFile), Dword(2));
  EXPECT_EQ(ops.ReleaseSharedCount("c:\\windows\\system32\\shared.dll"), SharedCount::Keep);
  EXPECT_EQ(CountOf(kFile), Dword(1));

  SetCount("B.DLL", Raw(kRegTypeBinary, "\x02\0\0\0"s));
  EXPECT_EQ(ops.ReleaseSharedCount("B.DLL"), SharedCount::Keep);
  EXPECT_EQ(CountOf("B.DLL"), Dword(1));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(SharedCounts, UnreadableZeroOrMissingCountsAreNotSharedAndStayAsTheyAre) {
  const std::pair<const char*, RegValue> values[] = {
      {"ZERO.DLL", Dword(0)},
      {"NEGATIVE.DLL", Raw(kRegTypeSz, "-4\0"s)},
      {"LETTERS.DLL", Raw(kRegTypeSz, "many\0"s)},
      {"SHORT.DLL", Raw(kRegTypeBinary, "\x01\0"s)},
      {"LIST.DLL", Raw(kRegTypeMultiSz, "1\0\0"s)},
      {"WIDE.DLL", Raw(kRegTypeDword, "\x01\0\0\0\0\0\0\0"s)},
  };
  for (const auto& [file, value] : values) {
    SetCount(file, value);
    EXPECT_EQ(ops.ReleaseSharedCount(file), SharedCount::NotShared) << file;
    EXPECT_EQ(CountOf(file), value) << file;
  }
  EXPECT_EQ(ops.ReleaseSharedCount("MISSING.DLL"), SharedCount::NotShared);

  globals.isVersion4OrLater = 0;
  SetCount(kFile, Dword(2));
  const unsigned opened = registry.faults().CountOf("OpenKey");
  EXPECT_EQ(ops.ReleaseSharedCount(kFile), SharedCount::NotShared);
  EXPECT_EQ(registry.faults().CountOf("OpenKey"), opened) << "before version 4 no count is looked at";
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(SharedCounts, TheLastUserIsAskedAndTheCountGoesWhateverTheAnswer) {
  SetCount(kFile, Raw(kRegTypeSz, "1\0"s));
  ui.sharedAnswers = {kSharedYes};
  EXPECT_EQ(ops.ReleaseSharedCount(kFile), SharedCount::Remove);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_NE(ui.questions[0].find("may be deleted.\n\nC:\\WINDOWS\\SYSTEM32\\SHARED.DLL\n\nIf any"), std::string::npos);
  EXPECT_NE(ui.questions[0].find("not function. Leaving this file"), std::string::npos) << "string 39 follows directly";
  EXPECT_EQ(ui.focusCalls, 1);
  EXPECT_FALSE(CountOf(kFile));

  SetCount("A.DLL", Dword(1));
  SetCount("B.DLL", Dword(1));
  SetCount("C.DLL", Dword(1));
  ui.sharedAnswers = {kSharedNo, kSharedNoToAll, kSharedYes};
  EXPECT_EQ(ops.ReleaseSharedCount("A.DLL"), SharedCount::Keep);
  EXPECT_EQ(ops.ReleaseSharedCount("B.DLL"), SharedCount::Keep);
  EXPECT_EQ(globals.noToAll, 1);
  EXPECT_EQ(ops.ReleaseSharedCount("C.DLL"), SharedCount::Keep) << "after No to All nobody is asked";
  EXPECT_EQ(ui.questions.size(), 3u);
  for (const char* file : {"A.DLL", "B.DLL", "C.DLL"}) EXPECT_FALSE(CountOf(file)) << file;
}

// A user who may read the counts but not change them: the files that other
// programs use are still known as shared, and kept with their counts.
TEST_F(SharedCounts, ACountThatCannotBeLoweredKeepsItsFileAndStaysAsItWas) {
  SetCount("THREE.DLL", Dword(3));
  SetCount("ONE.DLL", Dword(1));
  ui.sharedAnswers = {kSharedYes, kSharedYes};
  registry.faults().FailCall("OpenKey", SysError::AccessDenied, 0, 100);
  EXPECT_EQ(ops.ReleaseSharedCount("THREE.DLL"), SharedCount::Keep);
  EXPECT_EQ(ops.ReleaseSharedCount("ONE.DLL"), SharedCount::Keep);
  EXPECT_EQ(ops.ReleaseSharedCount("MISSING.DLL"), SharedCount::NotShared) << "only a missing count is not shared";
  EXPECT_EQ(CountOf("THREE.DLL"), Dword(3));
  EXPECT_EQ(CountOf("ONE.DLL"), Dword(1));
  EXPECT_TRUE(ui.questions.empty()) << "nobody is asked what cannot be done";

  registry.faults().Clear();
  registry.faults().FailCall("DeleteValue", SysError::AccessDenied);
  EXPECT_EQ(ops.ReleaseSharedCount("ONE.DLL"), SharedCount::Keep) << "the count stayed, so does its file";
  EXPECT_EQ(CountOf("ONE.DLL"), Dword(1));
}

// The names read once answer only where they surely can: a count is found
// whatever the ASCII letter case of the path and a name not in the key costs
// no question; a path, or a name in the key, with other characters (which
// the registry folds by itself, and the code page may not even hold) makes
// every file be asked for, as does a key with more values than files.
TEST_F(SharedCounts, NamesReadOnceStandForTheQuestionsOnlyWhereTheySurelyCan) {
  SetCount("C:\\APP\\ONE.DLL", Dword(2));
  ops.ExpectSharedReleases(10);
  EXPECT_EQ(ops.ReleaseSharedCount("c:\\app\\one.dll"), SharedCount::Keep);
  EXPECT_EQ(CountOf("C:\\APP\\ONE.DLL"), Dword(1));
  unsigned queries = registry.faults().CountOf("Query");
  EXPECT_EQ(ops.ReleaseSharedCount("C:\\APP\\OTHER.DLL"), SharedCount::NotShared);
  EXPECT_EQ(registry.faults().CountOf("Query"), queries) << "a name not in the key is not asked for";
  (void)ops.ReleaseSharedCount("C:\\APP\\\xE9T\xE9.DLL");
  EXPECT_EQ(registry.faults().CountOf("Query"), queries + 1);

  SetCount("C:\\APP\\\xC9T\xC9.DLL", Dword(2));
  RegistryOperations odd(registry, system, globals, strings, ui);
  odd.ExpectSharedReleases(10);
  queries = registry.faults().CountOf("Query");
  EXPECT_EQ(odd.ReleaseSharedCount("C:\\APP\\OTHER.DLL"), SharedCount::NotShared);
  EXPECT_EQ(registry.faults().CountOf("Query"), queries + 1) << "a name of other characters in the key";

  RegistryOperations many(registry, system, globals, strings, ui);
  many.ExpectSharedReleases(1);
  queries = registry.faults().CountOf("Query");
  EXPECT_EQ(many.ReleaseSharedCount("C:\\APP\\OTHER.DLL"), SharedCount::NotShared);
  EXPECT_EQ(registry.faults().CountOf("Query"), queries + 1);
}

TEST_F(SharedCounts, ASilentRunKeepsTheFileWithoutAsking) {
  globals.silent = 1;
  SetCount(kFile, Dword(1));
  ui.sharedAnswers = {kSharedYes};
  EXPECT_EQ(ops.ReleaseSharedCount(kFile), SharedCount::Keep);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(ui.focusCalls, 0);
  EXPECT_FALSE(CountOf(kFile));
}

TEST_F(SharedCounts, ASettingsFileTextCannotTurnThePathIntoFormatDirectives) {
  fs.AddFile("C:\\APP\\UNINST.INI", "[Language]\r\nMsg38=%s uses %d%n%x\r\n");
  SetCount("C:\\100%s.DLL", Dword(1));
  ops.ReleaseSharedCount("C:\\100%s.DLL");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].rfind("C:\\100%s.DLL uses %d%n%xLeaving this file", 0), 0u) << ui.questions[0];
}

class DatabaseEngine : public RegistryFixture {
 protected:
  void SetUp() override {
    registry.SetString(RegRoot::LocalMachine, kEngine, "UseCount", "1");
    registry.SetString(RegRoot::LocalMachine, "Software\\Borland\\BLW32\\Drivers", "x", "y");
  }
  bool EngineKeysExist() {
    return registry.KeyExists(RegRoot::LocalMachine, kEngine) ||
           registry.KeyExists(RegRoot::LocalMachine, "Software\\Borland\\BLW32");
  }
};

TEST_F(DatabaseEngine, ACountAboveOneGoesDownAsText) {
  registry.SetDword(RegRoot::LocalMachine, kEngine, "UseCount", 12);
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  EXPECT_EQ(registry.ValueOf(RegRoot::LocalMachine, kEngine, "UseCount"), Raw(kRegTypeSz, "11\0"s));
  registry.SetString(RegRoot::LocalMachine, kEngine, "UseCount", "0");
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  EXPECT_TRUE(EngineKeysExist());
}

TEST_F(DatabaseEngine, TheLastUserRemovesTheKeysAndAnEmptiedParent) {
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  EXPECT_FALSE(EngineKeysExist());
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Borland"));
  EXPECT_TRUE(ui.serverMessages.empty());

  registry.SetString(RegRoot::LocalMachine, kEngine, "UseCount", "1");
  registry.AddKey(RegRoot::LocalMachine, "Software\\Borland\\Other");
  ops.RemoveDatabaseEngine();
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Borland\\Other")) << "a parent still in use stays";
}

TEST_F(DatabaseEngine, ARunningServerIsWaitedForUntilItGoesOrTheUserAborts) {
  system.AddWindow("IB_Server", 3);
  ui.serverAnswers = {kServerRetry, kServerRetry, kServerRetry, kServerRetry};
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  ASSERT_EQ(ui.serverMessages.size(), 3u) << "Retry looks again until the window has gone";
  EXPECT_EQ(ui.serverMessages[0].substr(0, 34), "Uninstall: The local interbase ser");
  EXPECT_FALSE(EngineKeysExist());

  SetUp();
  system.AddWindow("ib_server");
  ui.serverAnswers = {kServerRetry, kServerAbort};
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::Abort);
  EXPECT_TRUE(EngineKeysExist());
  EXPECT_EQ(registry.ValueOf(RegRoot::LocalMachine, kEngine, "UseCount"), Raw(kRegTypeSz, "1\0"s));

  ui.serverAnswers = {kServerIgnore};
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  EXPECT_FALSE(EngineKeysExist());

  SetUp();
  ui.serverAnswers = {0};  // the message could not be shown
  EXPECT_EQ(ops.RemoveDatabaseEngine(), SubSystemResult::GoOn);
  EXPECT_FALSE(EngineKeysExist());
}

}  // namespace
}  // namespace scrubber
