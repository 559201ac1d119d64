#pragma once
// The steps a description can name, one function each. An action makes its
// change and then records it in the log; without a log (--prepare) only the
// unrecorded actions may run.
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "InstallLog.h"
#include "Status.h"

namespace sample {

class ProgmanConversation;

struct Context {
  explicit Context(InstallLog* installLog);
  ~Context();
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  InstallLog* log;                      // null while preparing
  std::set<std::string> newIniFiles;    // upper case; their entries need no restoring
  std::string group;                    // the Program Manager group of the next icons
  std::unique_ptr<ProgmanConversation> progman;
};

using Fields = std::vector<std::string>;
using ActionFunction = Status (*)(Context&, const Fields&);

struct Action {
  std::string_view keyword;
  std::string_view usage;  // the fields, for messages
  std::size_t minFields, maxFields;
  bool records;  // false: it changes the system without a log record
  ActionFunction run;
};

// Null for an unknown keyword.
const Action* FindAction(std::string_view keyword);

// File actions (FileActions.cpp).
Status MakeDirectory(Context&, const Fields&);
Status CopyFileRecorded(Context&, const Fields&);
Status CopyShellLink(Context&, const Fields&);
Status OverwriteFile(Context&, const Fields&);
Status PutFile(Context&, const Fields&);
Status RecordFileTree(Context&, const Fields&);
Status EditFile(Context&, const Fields&);
// INI actions (IniActions.cpp).
Status CreateIniEntry(Context&, const Fields&);
Status WriteIniEntry(Context&, const Fields&);
Status PutIniEntry(Context&, const Fields&);
Status AddDevice(Context&, const Fields&);
// Registry actions (RegistryActions.cpp).
Status WriteRegistryValue(Context&, const Fields&);
Status PutRegistryValue(Context&, const Fields&);
Status RecordRegistryTree(Context&, const Fields&);
Status PutSharedCount(Context&, const Fields&);
Status InstallDatabaseEngine(Context&, const Fields&);
// Program Manager actions (ProgmanActions.cpp).
Status CreateGroup(Context&, const Fields&);
Status AddIcon(Context&, const Fields&);
// Services, components and programs (SystemActions.cpp).
Status CreateServiceRecorded(Context&, const Fields&);
Status RegisterComponent(Context&, const Fields&);
Status RecordUninstallProgram(Context&, const Fields&);

}  // namespace sample
