#pragma once
// A whole run over the in-memory platform: the test writes a log, the real
// reader fills the model, and RunUninstall undoes it against the fakes. The
// user side is scripted: every progress line is kept, questions are
// answered from a queue, and a cancel can be pressed at a chosen line.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "CanonicalPathNames.h"
#include "FakePlatform.h"
#include "ParseInstallLog.h"
#include "run/RunUninstall.h"

namespace scrubber::test {

inline constexpr char kShared[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class ScriptedUi final : public EngineUi {
 public:
  explicit ScriptedUi(Globals& globals) : globals_(globals) {}

  void BeginProgress(std::string_view text) override { begun.emplace_back(text); }
  void ShowProgress(std::optional<std::string_view> text) override {
    if (!text) {
      ++repaints;
      return;
    }
    lines.emplace_back(*text);
    pumpsAtLastLine = pumps;
    if (cancelAtLine && lines.size() == cancelAtLine) globals_.cancelRequested = 1;
  }
  void PumpMessages(std::uint32_t milliseconds) override {
    ++pumps;
    if (milliseconds != 0) waits.push_back(milliseconds);
  }
  int AskRemoveShared(std::string_view text) override {
    questions.emplace_back(text);
    if (answerFor) return answerFor(text);
    if (sharedAnswers.empty()) return kSharedNo;
    int answer = sharedAnswers.front();
    sharedAnswers.pop_front();
    return answer;
  }
  int ShowServerRunning(std::string_view text, std::string_view) override {
    serverMessages.emplace_back(text);
    if (onServerMessage) onServerMessage();
    if (serverAnswers.empty()) return kServerIgnore;
    int answer = serverAnswers.front();
    serverAnswers.pop_front();
    return answer;
  }
  void FocusWizard() override { ++focusBacks; }

  std::vector<std::string> begun, lines, questions, serverMessages;
  std::vector<std::uint32_t> waits;
  std::deque<int> sharedAnswers, serverAnswers;
  std::function<void()> onServerMessage;
  std::function<int(std::string_view question)> answerFor;  // instead of the queue
  std::size_t cancelAtLine = 0;  // 1-based; 0 never
  int repaints = 0, pumps = 0, focusBacks = 0;
  int pumpsAtLastLine = 0;  // `pumps` when the last line was shown

 private:
  Globals& globals_;
};

class ParseMessages final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view text, std::string_view) override { ADD_FAILURE() << text; }
  void SetMainTitle(std::string_view) override {}
};

class EngineTest : public ::testing::Test, protected FakePlatform {
 protected:
  static constexpr char kLogPath[] = "C:\\APP\\INSTALL.LOG";

  EngineTest() { globals.method = kAutomatic; }

  // A log of one or more installations; each list is one installation's
  // records after its header and title.
  static std::string Log(std::initializer_list<std::initializer_list<std::string_view>> installations) {
    std::string text;
    for (const auto& records : installations) {
      text += "***  Installation started\r\nTitle: Demo App\r\n";
      for (std::string_view record : records) {
        text += record;
        text += "\r\n";
      }
    }
    return text;
  }

  void Parse(const std::string& log) {
    logText = log;
    ASSERT_TRUE(fs.AddFile(kLogPath, log));
    ParseEnvironment env{fs, profile, registry, system, paths, strings, parseUi, globals, "test"};
    ASSERT_EQ(ParseInstallLog(env, kLogPath, model), 0);
  }

  void Run() { RunUninstall(EngineEnvironment{platform, globals, strings, ui}, model, kLogPath); }

  // Progress lines without their prefixes' line breaks, for compact checks.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (std::string line : ui.lines) {
      for (std::size_t at; (at = line.find("\r\n")) != std::string::npos;) line.replace(at, 2, " ");
      out.push_back(line);
    }
    return out;
  }

  void Shared(std::string_view path, std::uint32_t count) { registry.SetDword(RegRoot::LocalMachine, kShared, path, count); }
  std::optional<std::uint32_t> SharedCountOf(std::string_view path) const {
    auto value = registry.ValueOf(RegRoot::LocalMachine, kShared, path);
    if (!value || value->data.size() != 4) return std::nullopt;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
    return n;
  }

  CanonicalPathNames paths{fs};
  BuiltinStringTable table;
  MsgStrings strings{profile, "C:\\SCRUB\\UNINST.INI", table};
  ParseMessages parseUi;
  Globals globals;
  ScriptedUi ui{globals};
  UninstallModel model;
  std::string logText;
};

}  // namespace scrubber::test
