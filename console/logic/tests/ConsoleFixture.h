#pragma once
// A main window's logic wired to fakes: a domain CORP with computers, groups
// and local groups, pings that answer as each test says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/FakeDirectory.h"
#include "fake/FakeDirectoryWorkers.h"
#include "fake/FakeFiles.h"
#include "fake/FakeProcess.h"
#include "fake/FakeUi.h"
#include "logic/Form1.h"

namespace rosterly {

// The window's logic and every fake it works on, as one value, so that a
// test can set up two alike and compare them.
struct ConsoleWorld {
  ConsoleWorld() {
    globals.DomainName = "CORP";
    dir.AddDomain("CORP");
    view.readStatus = [this] { return form.StatusText(); };
  }
  ConsoleWorld(const ConsoleWorld&) = delete;
  ConsoleWorld& operator=(const ConsoleWorld&) = delete;

  // The grid top to bottom, one "a|b|c|d" text per row.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    form.lvGroups.ForEachRow([&](const ResultRow& r) {
      out.push_back(r.cells[0] + "|" + r.cells[1] + "|" + r.cells[2] + "|" + r.cells[3]);
    });
    return out;
  }

  Globals globals;
  FakeDirectory dir;
  FakeFileStore files;
  FakeProcessRunner runner{files};
  FakeEnvironment environment;
  FakeMessageBoxes messages;
  FakeFileDialogs dialogs;
  FakeMainView view;
  Probe probe{runner, environment, files};
  FakeDirectoryWorkers workers{dir};
  Form1 form{globals, ConsoleServices{dir, files, messages, dialogs, probe, workers}, view};
};

class ConsoleFixture : public ::testing::Test, protected ConsoleWorld {
 protected:
  // Puts names into a list directly, all selected unless told otherwise.
  static void Fill(SortedList& list, const std::vector<std::string>& names, bool selected = true) {
    list.Clear();
    list.AddMany(names);
    list.SelectAll(selected);
  }
  // A list's entries in their order.
  static std::vector<std::string> Texts(const SortedList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Text(i));
    return out;
  }
  void Select(SortedList& list, const std::string& name) {
    for (std::size_t i = 0; i < list.Count(); ++i)
      if (list.Text(i) == name) list.SetSelected(i, true);
  }
};

}  // namespace rosterly
