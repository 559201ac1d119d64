#pragma once
// ParseInstallLog: reads INSTALL.LOG into an UninstallModel. Reaches the
// platform and the user only through the interfaces below, so it runs the
// same against the real system, an in-memory fake, or a fuzzer.
#include <string>
#include <string_view>

#include "Globals.h"
#include "MsgStrings.h"
#include "UninstallModel.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace scrubber {

// The user-visible side of reading a log.
class ParseUi {
 public:
  virtual ~ParseUi() = default;
  // A message box with an OK button, owned by the main window. The texts are
  // already looked up; the ids say which strings they came from.
  virtual void ShowMessage(int textId, int captionId, std::string_view text, std::string_view caption) = 0;
  virtual void SetMainTitle(std::string_view title) = 0;
};

// Long and short (8.3) spellings of a path, as CanonicalizePath gives them.
class PathNames {
 public:
  virtual ~PathNames() = default;
  virtual std::string Long(std::string_view path) = 0;
  virtual std::string Short(std::string_view path) = 0;
};

struct ParseEnvironment {
  FileSystem& fs;
  Profile& profile;
  Registry& registry;
  System& system;
  PathNames& paths;
  const MsgStrings& strings;
  ParseUi& ui;
  const Globals& globals;  // platformKind, isVersion4OrLater
  // The window caption given on the command line; when it is longer than one
  // character the main window keeps it.
  std::string_view commandLineCaption;
};

// 0 on success; 1 when the log cannot be used, after its message was shown.
// `model` is filled from scratch; model.uninstallDir receives the directory
// the self-removal step may clean up.
int ParseInstallLog(const ParseEnvironment& env, std::string_view logPath, UninstallModel& model);

}  // namespace scrubber
