#pragma once
// Every registry operation of the uninstall: changed values written back,
// created values deleted with the keys they leave empty, created trees
// deleted, shared-component counts released (asking before a shared file
// that nothing uses any more is given up), and the database engine's
// clean-up. Failures are passed over; only the two questions reach the user.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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
  SharedCount ReleaseSharedCount(std::string_view path);
  SubSystemResult RemoveDatabaseEngine();

 private:
  void DeleteTreeBelow(RegRoot root, const std::string& key);
  bool IsEmptyKey(RegKey& key);
  // The Remove Shared Component question; kSharedNo when none may be asked.
  int AskRemoveShared(std::string_view path);
  // False when the user chose Abort while the server was running.
  bool WaitForServerToStop();

  Registry& registry_;
  System& system_;
  Globals& globals_;
  const MsgStrings& strings_;
  EngineUi& ui_;
  std::unique_ptr<RegKey> sharedDlls_;  // the shared counts' key, once opened
  LeadBytes lead_;
};

}  // namespace scrubber
