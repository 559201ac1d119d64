#pragma once
// Registry roots, types and data as the description writes them and as the
// log records them (root and type by index, old data by lines).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"

namespace sample {

// Index values of "RegDB Type: ", and of "RegDB Root: " below.
enum class ValueType { Sz = 0, ExpandSz = 1, MultiSz = 2, Dword = 3, Binary = 4 };

struct KeyPath {
  int root = 0;  // 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS, 4 HKEY_CURRENT_CONFIG
  std::string subKey;
};

// "HKCU\Software\X" (short or full root names) into root and subkey.
[[nodiscard]] std::optional<KeyPath> ParseKeyPath(std::string_view text);
// "sz", "expand", "multi", "dword" or "binary".
[[nodiscard]] std::optional<ValueType> ParseValueType(std::string_view text);

// The bytes to store for a description's data: text with its NUL; for multi
// the strings separated by ";", each with its NUL, and the closing NUL; a
// decimal or 0x number; hexadecimal byte pairs, blanks allowed.
[[nodiscard]] Status EncodeValue(ValueType type, std::string_view text, std::string& bytes);

// The "RegDB Old: " lines from which the uninstaller writes back these
// bytes (a string list comes back without its closing NUL: the uninstaller
// counts only the strings), or why no lines can.
[[nodiscard]] Status OldValueLines(ValueType type, std::string_view bytes, std::vector<std::string>& lines);

}  // namespace sample
