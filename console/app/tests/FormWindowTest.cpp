// A form's handlers may throw (memory for a huge list file, a failing
// library call): the window procedure reports it and the window goes on, and
// nothing unwinds through the system's frames.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "App.h"
#include "FormWindow.h"
#include "fake/FakeDirectory.h"
#include "fake/FakeDirectoryWorkers.h"
#include "fake/FakeFiles.h"
#include "fake/FakeProcess.h"
#include "fake/FakeRegistry.h"
#include "logic/Texts.h"

namespace rosterly {
namespace {

constexpr char kClass[] = "RosterlyThrowingForm";
constexpr WORD kOutOfMemoryCommand = 101;
constexpr WORD kFailingCommand = 102;
constexpr WORD kQuietCommand = 103;

class ThrowingForm : public FormWindow {
 public:
  ThrowingForm(App& app, bool failCreation) : FormWindow(app), failCreation_(failCreation) {}

  bool Create() {
    static const bool registered = RegisterFormClass(GetModuleHandleA(nullptr), kClass, nullptr);
    return registered && CreateForm(0, kClass, "Throwing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}, nullptr, nullptr);
  }

  std::vector<std::string> reports;
  int quietCommands = 0;

 protected:
  LRESULT OnCreate() override {
    if (failCreation_) throw std::runtime_error("creation failed");
    return 0;
  }
  LRESULT OnCommand(WORD id, WORD) override {
    if (id == kOutOfMemoryCommand) throw std::bad_alloc();
    if (id == kFailingCommand) throw std::runtime_error("command failed");
    ++quietCommands;
    return 0;
  }
  void OnFailure(std::string_view text) override {
    reports.emplace_back(text);
    if (text == text::kCommandFailed) throw std::runtime_error("the report failed too");
  }

 private:
  bool failCreation_;
};

struct AppFixture {
  FakeDirectory directory;
  FakeFileStore files;
  FakeRegistry registry;
  FakeProcessRunner runner{files};
  FakeEnvironment environment;
  Probe probe{runner, environment, files};
  FakeDirectoryWorkers workers{directory};
  App app{GetModuleHandleA(nullptr), AppServices{directory, files, registry, probe, workers}};
};

TEST(FormWindow, AThrowingHandlerIsReportedAndTheWindowGoesOn) {
  AppFixture fixture;
  ThrowingForm form(fixture.app, false);
  ASSERT_TRUE(form.Create());
  const HWND window = form.handle();

  EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(kOutOfMemoryCommand, 0), 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(kFailingCommand, 0), 0), 0);  // its report throws too
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(kQuietCommand, 0), 0);
  EXPECT_EQ(form.reports,
            (std::vector<std::string>{std::string(text::kOutOfMemory), std::string(text::kCommandFailed)}));
  EXPECT_EQ(form.quietCommands, 1);
  EXPECT_TRUE(IsWindow(window));

  DestroyWindow(window);
  EXPECT_EQ(form.handle(), nullptr);
}

TEST(FormWindow, ACreationThatThrowsFailsTheCreation) {
  AppFixture fixture;
  ThrowingForm form(fixture.app, true);
  EXPECT_FALSE(form.Create());
  EXPECT_EQ(form.handle(), nullptr);
  EXPECT_EQ(form.reports, std::vector<std::string>{std::string(text::kCommandFailed)});
  MSG quit;  // the last open window closing asks the loop to end
  (void)PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace rosterly
