#pragma once
// Runs ParseInstallLog on a log written by the test, over the in-memory
// platform: files exist when the test made them, INI values live in INI
// files, and short names are the fake file system's own.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "CanonicalPathNames.h"
#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "ParseInstallLog.h"
#include "TextRules.h"

namespace scrubber::test {

// Lines joined with CR LF, as the installer writes them.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// A valid start: an ANSI header (blank after "*** ") and a title.
inline std::string Log(std::initializer_list<std::string_view> records) {
  return "***  Installation started\r\nTitle: Demo App\r\n" + Lines(records);
}

class CountingSystem final : public FakeSystem {
 public:
  int serviceManagerOpens = 0;
  bool CanOpenServiceManager() override {
    ++serviceManagerOpens;
    return FakeSystem::CanOpenServiceManager();
  }
};

class RecordingUi final : public ParseUi {
 public:
  struct Message {
    int textId;
    int captionId;
    std::string text;
    std::string caption;
  };
  std::vector<Message> messages;
  std::vector<std::string> titles;
  void ShowMessage(int textId, int captionId, std::string_view text, std::string_view caption) override {
    messages.push_back({textId, captionId, std::string(text), std::string(caption)});
  }
  void SetMainTitle(std::string_view title) override { titles.emplace_back(title); }
};

class ParseTest : public ::testing::Test {
 protected:
  static constexpr char kLogPath[] = "C:\\APP\\INSTALL.LOG";
  static constexpr char kSettings[] = "C:\\SCRUB\\UNINST.INI";

  ParseTest() {
    fs.AddDrive('D', DriveType::Fixed);
    fs.AddDir("C:\\WORK");
    fs.SetCurrentDir("C:\\WORK");
  }

  int Parse(std::string bytes, std::string logPath = kLogPath) {
    EXPECT_TRUE(fs.AddFile(logPath, bytes)) << logPath;
    return ParseAt(logPath);
  }
  int ParseAt(std::string_view logPath) {
    ParseEnvironment env{fs, profile, registry, system, paths, strings, ui, globals, caption};
    return ParseInstallLog(env, logPath, model);
  }

  void Exist(std::string_view path) { ASSERT_TRUE(fs.AddFile(path, "x")) << path; }
  void SetIni(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
    ASSERT_TRUE(profile.WriteString(file, section, key, value).ok());
  }
  void RegisterShared(std::string_view path) {
    registry.SetDword(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", path, 1);
  }

  FakeFileSystem fs;
  FakeProfile profile{fs};
  FakeRegistry registry;
  CountingSystem system;
  CanonicalPathNames paths{fs};
  BuiltinStringTable table;
  MsgStrings strings{profile, kSettings, table};
  RecordingUi ui;
  Globals globals;
  std::string caption;
  UninstallModel model;
};

}  // namespace scrubber::test
