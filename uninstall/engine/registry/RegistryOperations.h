#pragma once
// Every registry operation of the uninstall: changed values written back,
// created values deleted with the keys they leave empty, created trees
// deleted, shared-component counts released (asking before a shared file
// that nothing uses any more is given up), and the database engine's
// clean-up. Failures are passed over; only the two questions reach the user.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "Globals.h"
#include "MsgStrings.h"
#include "UninstallModel.h"
#include "platform/LeadBytes.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "run/EngineUi.h"

namespace scrubber {

enum class SharedCount { NotShared, Keep, Remove };
enum class SubSystemResult { GoOn, Abort };

// Where the shared-component counts live, under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// Bound on the subkeys one DeleteRegistryTree call walks: a subkey that
// cannot be deleted would otherwise be found first again and again.
inline constexpr int kMaxTreeRounds = 2048;

class RegistryOperations {
 public:
  // `globals` supplies silent and isVersion4OrLater and receives noToAll.
  // `lead` is the code page's lead bytes, for cutting key paths.
  RegistryOperations(Registry& registry, System& system, Globals& globals, const MsgStrings& strings, EngineUi& ui,
                     LeadBytes lead = {});

  void RestoreRegistryValue(const RegEditItem& item);
  void RemoveRegistryValue(const RegKeyItem& item);
  // False when the key was refused (a root, a well-known system key, an
  // index outside the root table) and nothing was touched.
  bool DeleteRegistryTree(std::int32_t rootIndex, std::string_view key);
  // `beforeLowering`, when given, is told what the release decides right
  // before the count is lowered; when it answers false the count stays and
  // the file is kept.
  using BeforeLowering = std::function<bool(SharedCount outcome)>;
  SharedCount ReleaseSharedCount(std::string_view path, const BeforeLowering& beforeLowering = {});
  // How many files the run may release at most: when the counts' key holds
  // no more values than that, its names are read once instead of asking
  // for each file.
  void ExpectSharedReleases(std::size_t files) { expectedReleases_ = files; }
  // `beforeLowering` as above, for a use count that stays above zero.
  SubSystemResult RemoveDatabaseEngine(const std::function<bool()>& beforeLowering = {});

 private:
  void DeleteTreeBelow(RegRoot root, const std::string& key);
  bool IsEmptyKey(RegKey& key);
  // The Remove Shared Component question; kSharedNo when none may be asked.
  int AskRemoveShared(std::string_view path);
  // False when the user chose Abort while the server was running.
  bool WaitForServerToStop();
  // Opened once for the run, to write or else to read; the names read when
  // that is cheaper than asking file by file.
  void OpenSharedCounts();
  // The counts' names in upper case, when they could all be read.
  void ReadSharedNames();
  bool SurelyNotShared(std::string_view path) const;

  Registry& registry_;
  System& system_;
  Globals& globals_;
  const MsgStrings& strings_;
  EngineUi& ui_;
  std::unique_ptr<RegKey> sharedDlls_;  // the shared counts' key, once opened
  bool sharedWritable_ = false;
  std::size_t expectedReleases_ = 0;
  bool sharedCountsOpened_ = false;
  std::optional<std::unordered_set<std::string>> sharedNames_;
  LeadBytes lead_;
};

}  // namespace scrubber
