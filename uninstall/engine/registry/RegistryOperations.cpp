#include "RegistryOperations.h"

#include <algorithm>
#include <set>

#include "FillText.h"
#include "PathText.h"
#include "ProtectedKeys.h"
#include "RegistryData.h"
#include "RegistryTables.h"
#include "TextRules.h"

namespace scrubber {
namespace {

constexpr int kSharedQuestion = 38;      // the file is no longer used ... (%s: the path)
constexpr int kSharedQuestionEnd = 39;   // ... do you want to remove the shared file?
constexpr int kServerRunning = 28;       // the server must be stopped first
constexpr int kUninstallCaption = 25;

constexpr std::string_view kEngineKey = "Software\\Borland\\Database Engine";
constexpr std::string_view kEngineSecondKey = "Software\\Borland\\BLW32";
constexpr std::string_view kEngineParentKey = "Software\\Borland";
constexpr std::string_view kUseCount = "UseCount";
constexpr std::string_view kServerWindowClass = "IB_Server";

std::optional<std::int32_t> UseCountOf(RegKey& key, std::string_view valueName) {
  const auto value = key.Query(valueName);
  if (!value) return std::nullopt;
  return ReadUseCount(*value);
}

}  // namespace

RegistryOperations::RegistryOperations(Registry& registry, System& system, Globals& globals, const MsgStrings& strings,
                                       EngineUi& ui, LeadBytes lead)
    : registry_(registry), system_(system), globals_(globals), strings_(strings), ui_(ui), lead_(lead) {}

void RegistryOperations::RestoreRegistryValue(const RegEditItem& item) {
  const auto root = RootFromIndex(item.root);
  const auto value = ValueFromOldData(item.type, item.oldData);
  if (!root || !value) return;
  // The key is not made again when it has gone.
  const auto key = registry_.OpenKey(*root, item.key);
  if (!key) return;
  (void)key->Set(item.valueName, *value);
}

bool RegistryOperations::IsEmptyKey(RegKey& key) { return key.HoldsAnything() == false; }

void RegistryOperations::RemoveRegistryValue(const RegKeyItem& item) {
  const auto root = RootFromIndex(item.root);
  if (!root) return;
  std::string path = item.key;
  bool valueDeleted = false;
  for (;;) {
    bool gone = false;
    {
      const auto key = registry_.OpenKey(*root, path);
      // A key already gone (an earlier run stopped while pruning) leaves its
      // parent to be looked at, as its deletion would have.
      gone = !key && !registry_.OpenKeyToRead(*root, path);
      if (!key && !gone) return;
      if (key && !valueDeleted) (void)key->DeleteValue(item.valueName);
      valueDeleted = true;
      if (key && !IsEmptyKey(*key)) return;
    }
    // Every ancestor of a protected key is protected too: the walk ends here.
    if (IsProtectedKey(*root, path, lead_)) return;
    if (!gone) (void)registry_.DeleteKey(*root, path);
    const std::size_t cut = FindLastBackslash(path, lead_);
    if (cut == std::string::npos) return;
    path.resize(cut);
    if (path.empty()) return;
  }
}

bool RegistryOperations::DeleteRegistryTree(std::int32_t rootIndex, std::string_view key) {
  const auto root = RootFromIndex(rootIndex);
  if (!root || IsProtectedKey(*root, key, lead_)) return false;
  DeleteTreeBelow(*root, std::string(key));
  return true;
}

void RegistryOperations::DeleteTreeBelow(RegRoot root, const std::string& key) {
  // A link is removed as a link, never walked into: what it points to
  // belongs to another key.
  if (registry_.MayBeLink(root, key)) {
    (void)registry_.DeleteKey(root, key);
    return;
  }
  // A subkey that survives its deletion is tried once and then stepped over,
  // so that its siblings still go and nested survivors cannot multiply the
  // rounds of every level above them.
  std::set<std::string> tried;
  std::uint32_t index = 0;
  for (int round = 0; round < kMaxTreeRounds; ++round) {
    std::optional<std::string> name;
    {
      const auto open = registry_.OpenKey(root, key);
      if (!open) break;
      name = open->EnumSubKey(index);
    }
    if (!name || name->empty()) break;
    if (!tried.insert(UpperKey(*name)).second) {
      ++index;
      continue;
    }
    DeleteTreeBelow(root, key + "\\" + *name);
  }
  (void)registry_.DeleteKey(root, key);
}

int RegistryOperations::AskRemoveShared(std::string_view path) {
  if (globals_.silent != 0 || globals_.noToAll != 0) return kSharedNo;
  const std::string text = FillText(strings_.Get(kSharedQuestion), path) + strings_.Get(kSharedQuestionEnd);
  const int answer = ui_.AskRemoveShared(text);
  ui_.FocusWizard();
  if (answer == kSharedNoToAll) globals_.noToAll = 1;
  return answer;
}

SharedCount RegistryOperations::ReleaseSharedCount(std::string_view path, const BeforeLowering& beforeLowering) {
  if (globals_.isVersion4OrLater == 0) return SharedCount::NotShared;
  // Opened once for the run: a shared file per record makes this the busiest key.
  if (!sharedCountsOpened_) OpenSharedCounts();
  RegKey* key = sharedDlls_.get();
  if (!key || SurelyNotShared(path)) return SharedCount::NotShared;
  const auto value = key->Query(path);
  const auto count = value ? ReadUseCount(*value) : std::nullopt;
  if (!count || *count <= 0) return SharedCount::NotShared;
  if (!sharedWritable_) return SharedCount::Keep;
  if (*count > 1) {
    if (beforeLowering && !beforeLowering(SharedCount::Keep)) return SharedCount::Keep;
    (void)key->Set(path, DwordValue(static_cast<std::uint32_t>(*count - 1)));
    return SharedCount::Keep;
  }
  const SharedCount outcome = AskRemoveShared(path) == kSharedYes ? SharedCount::Remove : SharedCount::Keep;
  if (beforeLowering && !beforeLowering(outcome)) return SharedCount::Keep;
  // This uninstall was the last user: the count goes whatever the answer,
  // and a count that stays keeps its file.
  if (!key->DeleteValue(path).ok()) return SharedCount::Keep;
  return outcome;
}

namespace {

bool IsPlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void RegistryOperations::OpenSharedCounts() {
  sharedCountsOpened_ = true;
  sharedDlls_ = registry_.OpenKey(RegRoot::LocalMachine, kSharedDllsKey);
  sharedWritable_ = sharedDlls_ != nullptr;
  // A key that may be read but not written (a user without the rights to
  // change it) still tells which files are shared: only a missing count
  // means not shared, and a count that cannot be lowered keeps its file.
  if (!sharedDlls_) sharedDlls_ = registry_.OpenKeyToRead(RegRoot::LocalMachine, kSharedDllsKey);
  if (sharedDlls_) ReadSharedNames();
}

void RegistryOperations::ReadSharedNames() {
  // One call per value against one call per file: whichever is fewer.
  const auto count = sharedDlls_->ValueCount();
  if (!count || *count > expectedReleases_) return;
  std::unordered_set<std::string> names;
  names.reserve(*count);
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto name = sharedDlls_->EnumValue(i);
    // A name that cannot be read, or that the code page may have changed
    // ("?" for what it cannot hold): ask file by file.
    if (!name || !IsPlainAscii(*name) || name->find('?') != std::string::npos) return;
    names.insert(AsciiUpperCase(*name));
  }
  sharedNames_ = std::move(names);
}

bool RegistryOperations::SurelyNotShared(std::string_view path) const {
  if (!sharedNames_) return false;
  // The registry folds more than ASCII letters; other paths are asked for.
  return IsPlainAscii(path) && sharedNames_->count(AsciiUpperCase(path)) == 0;
}

bool RegistryOperations::WaitForServerToStop() {
  while (system_.TopLevelWindowExists(kServerWindowClass)) {
    const int answer = ui_.ShowServerRunning(strings_.Get(kServerRunning), strings_.Get(kUninstallCaption));
    if (answer == kServerAbort) return false;
    // Only Retry looks again; Ignore, or a message that could not be shown,
    // goes on as if the server had stopped rather than asking forever.
    if (answer != kServerRetry) return true;
  }
  return true;
}

SubSystemResult RegistryOperations::RemoveDatabaseEngine(const std::function<bool()>& beforeLowering) {
  std::optional<std::int32_t> count;
  {
    const auto key = registry_.OpenKey(RegRoot::LocalMachine, kEngineKey);
    if (!key) return SubSystemResult::GoOn;
    count = UseCountOf(*key, kUseCount);
    if (!count || *count < 1) return SubSystemResult::GoOn;
    if (*count > 1) {
      if (beforeLowering && !beforeLowering()) return SubSystemResult::GoOn;
      (void)key->Set(kUseCount, TextValue(std::to_string(*count - 1)));
      return SubSystemResult::GoOn;
    }
    if (!WaitForServerToStop()) return SubSystemResult::Abort;
  }
  (void)DeleteRegistryTree(kLocalMachine, kEngineKey);
  (void)DeleteRegistryTree(kLocalMachine, kEngineSecondKey);
  {
    const auto parent = registry_.OpenKey(RegRoot::LocalMachine, kEngineParentKey);
    if (!parent || !IsEmptyKey(*parent)) return SubSystemResult::GoOn;
  }
  (void)registry_.DeleteKey(RegRoot::LocalMachine, kEngineParentKey);
  return SubSystemResult::GoOn;
}

}  // namespace scrubber
