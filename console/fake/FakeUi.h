#pragma once
// Recording stand-ins for the windows: message boxes, file dialogs, the main
// window's view and a program starter.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "logic/MainView.h"
#include "platform/Dialogs.h"
#include "platform/ProgramStarter.h"

namespace rosterly {

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string title;
    MsgIcon icon;
  };
  std::vector<Shown> shown;
  void Show(std::string_view text, std::string_view title, MsgIcon icon) override {
    shown.push_back({std::string(text), std::string(title), icon});
  }
};

class FakeFileDialogs : public FileDialogs {
 public:
  struct Asked {
    bool save;
    std::string title;
    std::string filter;
  };
  std::deque<std::string> answers;  // one per showing; empty means cancelled
  std::optional<Status> failure;     // set: the next showing fails with it
  std::vector<Asked> asked;

  Result<std::string> AskOpenName(std::string_view title, std::string_view filter) override {
    return Answer(false, title, filter);
  }
  Result<std::string> AskSaveName(std::string_view title, std::string_view filter) override {
    return Answer(true, title, filter);
  }

 private:
  Result<std::string> Answer(bool save, std::string_view title, std::string_view filter) {
    asked.push_back({save, std::string(title), std::string(filter)});
    if (failure) {
      Status failed = *failure;
      failure.reset();
      return failed;
    }
    if (answers.empty()) return std::string();
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
};

class FakeMainView : public MainView {
 public:
  std::function<std::string()> readStatus;  // set by the test to record texts
  std::vector<std::string> statusHistory;
  std::vector<bool> pointerHistory;
  int pumps = 0;
  int gridChanges = 0;
  int timerChanges = 0;
  int commandChanges = 0;
  std::function<void(int pump)> onPump;
  int waits = 0;
  int wakes = 0;
  std::function<void()> onWait;  // what arrives while the logic waits

  void StatusTextChanged() override {
    if (readStatus) statusHistory.push_back(readStatus());
  }
  void ListChanged(ListId) override {}
  void LocalGroupFieldChanged() override {}
  void GridChanged() override { ++gridChanges; }
  void TimerChanged() override { ++timerChanges; }
  void CommandsChanged() override { ++commandChanges; }
  void SetBusyPointer(bool busy) override { pointerHistory.push_back(busy); }
  void ProcessPendingEvents() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  void WaitForEvents() override {
    ++waits;
    if (onWait) onWait();
  }
  std::function<void()> Waker() override {
    return [this] { ++wakes; };
  }
};

class FakeProgramStarter : public ProgramStarter {
 public:
  std::vector<std::string> started;
  std::vector<std::pair<std::string, std::string>> opened;
  Status startFailure;
  Status StartProgram(std::string_view path) override {
    if (!startFailure.ok()) return startFailure;
    started.emplace_back(path);
    return Status::Ok();
  }
  Status OpenWithShell(std::string_view verb, std::string_view target) override {
    opened.emplace_back(verb, target);
    return Status::Ok();
  }
};

}  // namespace rosterly
