#pragma once
// What the console's timed tools share: where ping.exe is looked for, and
// one timed run of the add action.
#include <chrono>
#include <string>
#include <vector>

#include "Win32System.h"
#include "logic/Form1.h"

namespace rosterly {

// The system's environment, except that ping.exe is looked for in a folder
// of the tool's choosing: the stand-in that answers by the host's name.
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

struct TimedRun {
  double seconds = 0;
  std::vector<std::string> rows;  // top to bottom, cells joined by " | "
};

// The add action of every computer and group, into "Administrators".
inline TimedRun TimeAddAction(Form1& form, const std::vector<std::string>& computers,
                              const std::vector<std::string>& groups) {
  form.lstComps.AddMany(computers);
  form.lstComps.SelectAll(true);
  form.lstGroups.AddMany(groups);
  form.lstGroups.SelectAll(true);
  form.txtLocalGroup.text = "Administrators";
  const auto start = std::chrono::steady_clock::now();
  form.AddMemberstoGroups();
  TimedRun run{std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), {}};
  form.lvGroups.ForEachRow([&](const ResultRow& r) {
    run.rows.push_back(r.cells[0] + " | " + r.cells[1] + " | " + r.cells[2] + " | " + r.cells[3]);
  });
  return run;
}

}  // namespace rosterly
