#pragma once
// Runs ParseInstallLog on a log written by the test, over LogTestPlatform.
#include <gtest/gtest.h>

#include <initializer_list>

#include "LogTestPlatform.h"

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

class ParseTest : public ::testing::Test {
 protected:
  static constexpr char kLogPath[] = "C:\\APP\\INSTALL.LOG";

  int Parse(std::string bytes, std::string logPath = kLogPath) {
    fs.files[Upper(logPath)] = std::move(bytes);
    ParseEnvironment env{fs, profile, registry, system, paths, strings, ui, globals, caption};
    return ParseInstallLog(env, logPath, model);
  }

  LogFileSystem fs;
  LogProfile profile;
  LogRegistry registry;
  LogSystem system;
  LogPathNames paths;
  BuiltinStringTable table;
  MsgStrings strings{profile, "C:\\SCRUB\\UNINST.INI", table};
  LogUi ui;
  Globals globals;
  std::string caption;
  UninstallModel model;
};

}  // namespace scrubber::test
