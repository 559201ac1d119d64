#pragma once
// Registry keys that no uninstall may delete, whatever a log says: a hive's
// root, the branches every program shares (Software, its Classes and the
// Windows keys below Microsoft), the system's configuration and the COM
// tables. A log naming one of them as a created tree or as a key left empty
// would otherwise take the whole branch with it.
#include <string>
#include <string_view>

#include "platform/LeadBytes.h"
#include "platform/Registry.h"

namespace scrubber {

// The key path in one spelling: forward slashes read as backslashes,
// repeated, leading and trailing separators dropped, letters in upper case.
// Double-byte characters are stepped over, never split.
std::string NormalizeKeyPath(std::string_view key, const LeadBytes& lead);

// Whether the key, under the root, is one of the protected keys or the root
// itself. Each root is mapped to the places it shares with the others:
// HKEY_CLASSES_ROOT is Software\Classes, a user below HKEY_USERS is like
// HKEY_CURRENT_USER, the 32-bit view below Wow6432Node is like the native one,
// and a numbered control set is like CurrentControlSet.
bool IsProtectedKey(RegRoot root, std::string_view key, const LeadBytes& lead);

}  // namespace scrubber
