#pragma once
// An EngineUi that answers from a script and remembers what it was shown.
#include <deque>
#include <string>
#include <vector>

#include "run/EngineUi.h"

namespace scrubber {

class RecordingUi final : public EngineUi {
 public:
  void BeginProgress(std::string_view) override {}
  void ShowProgress(std::optional<std::string_view>) override {}
  void PumpMessages(std::uint32_t) override {}
  int AskRemoveShared(std::string_view text) override {
    questions.emplace_back(text);
    return Next(sharedAnswers, kSharedNo);
  }
  int ShowServerRunning(std::string_view text, std::string_view caption) override {
    serverMessages.push_back(std::string(caption) + ": " + std::string(text));
    return Next(serverAnswers, kServerIgnore);
  }
  void FocusWizard() override { ++focusCalls; }

  std::deque<int> sharedAnswers;
  std::deque<int> serverAnswers;
  std::vector<std::string> questions;
  std::vector<std::string> serverMessages;
  int focusCalls = 0;

 private:
  static int Next(std::deque<int>& answers, int fallback) {
    if (answers.empty()) return fallback;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace scrubber
