#include "Actions.h"

#include "ProgmanConversation.h"

namespace sample {

Context::Context(InstallLog* installLog) : log(installLog) {}
Context::~Context() = default;

namespace {

constexpr std::size_t kAny = 16;

constexpr Action kActions[] = {
    {"dir", "PATH", 1, 1, true, MakeDirectory},
    {"file", "SOURCE | PATH [| shared=dword|shared=sz|nocount|nonsystem ...]", 2, kAny, true, CopyFileRecorded},
    {"link", "SOURCE | PATH", 2, 2, true, CopyShellLink},
    {"overwrite", "SOURCE | PATH | BACKUP or - [| options as for file]", 3, kAny, true, OverwriteFile},
    {"put-file", "SOURCE | PATH", 2, 2, false, PutFile},
    {"tree", "DIRECTORY", 1, 1, true, RecordFileTree},
    {"edit", "PATH | BACKUP | LINE TO ADD", 3, 3, true, EditFile},
    {"ini-new", "FILE | SECTION | KEY | VALUE", 4, 4, true, CreateIniEntry},
    {"ini", "FILE | SECTION | KEY | VALUE", 4, 4, true, WriteIniEntry},
    {"put-ini", "FILE | SECTION | KEY | VALUE", 4, 4, false, PutIniEntry},
    {"device", "PATH", 1, 1, true, AddDevice},
    {"reg", "ROOT\\KEY | NAME | TYPE | DATA", 4, 4, true, WriteRegistryValue},
    {"put-value", "ROOT\\KEY | NAME | TYPE | DATA", 4, 4, false, PutRegistryValue},
    {"reg-tree", "ROOT\\KEY", 1, 1, true, RecordRegistryTree},
    {"put-shared", "PATH | COUNT | dword or sz", 3, 3, false, PutSharedCount},
    {"database-engine", "NAME", 1, 1, true, InstallDatabaseEngine},
    {"group", "NAME", 1, 1, true, CreateGroup},
    {"icon", "NAME | COMMAND", 2, 2, true, AddIcon},
    {"service", "NAME | DISPLAY NAME | PROGRAM", 3, 3, true, CreateServiceRecorded},
    {"selfreg", "PATH", 1, 1, true, RegisterComponent},
    {"uninstall-program", "COMMAND LINE | NAME", 2, 2, true, RecordUninstallProgram},
};

}  // namespace

const Action* FindAction(std::string_view keyword) {
  for (const Action& action : kActions) {
    if (action.keyword == keyword) return &action;
  }
  return nullptr;
}

}  // namespace sample
