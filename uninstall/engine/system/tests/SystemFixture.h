#pragma once
// The system operations over the whole fake platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "SystemOperations.h"

namespace scrubber {

// Remembers the progress lines and the pumping that follows them.
class ProgressUi final : public EngineUi {
 public:
  void BeginProgress(std::string_view) override {}
  void ShowProgress(std::optional<std::string_view> text) override { events.push_back(text ? std::string(*text) : ""); }
  void PumpMessages(std::uint32_t ms) override { events.push_back("pump " + std::to_string(ms)); }
  int AskRemoveShared(std::string_view) override { return kSharedNo; }
  int ShowServerRunning(std::string_view, std::string_view) override { return kServerIgnore; }
  void FocusWizard() override {}
  std::vector<std::string> events;
};

class SystemFixture : public ::testing::Test, protected FakePlatform {
 protected:
  Globals globals;
  FileOperations files{fs, profile, globals};
  ProgressUi ui;
  SystemOperations ops{platform, files, ui};
};

}  // namespace scrubber
