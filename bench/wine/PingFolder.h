#pragma once
// The system's environment, except that ping.exe is looked for in a folder
// of the tool's choosing: the stand-in that answers by the host's name.
#include <string>

#include "Win32System.h"

namespace rosterly {

class PingFolder : public Win32Environment {
 public:
  // `dir` empty: the system's own. A host path (/...) goes through Wine's Z: drive.
  explicit PingFolder(std::string dir) : dir_(std::move(dir)) {
    if (!dir_.empty() && dir_[0] == '/') {
      dir_ = "Z:" + dir_;
      for (char& c : dir_)
        if (c == '/') c = '\\';
    }
  }
  Result<std::string> SystemDirectory() override {
    if (dir_.empty()) return Win32Environment::SystemDirectory();
    return dir_;
  }

 private:
  std::string dir_;
};

}  // namespace rosterly
