#include "ProtectedKeys.h"

#include <algorithm>
#include <array>

#include "PathText.h"

namespace scrubber {
namespace {

// All spelt as NormalizeKeyPath spells them.

// Below the Software key of the machine, of every user and of a hardware
// profile.
constexpr std::array<std::string_view, 15> kSoftwareKeys = {
    "SOFTWARE",
    "SOFTWARE\\CLASSES",
    "SOFTWARE\\MICROSOFT",
    "SOFTWARE\\MICROSOFT\\WINDOWS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCE",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNSERVICES",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APP PATHS",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION",
    "SOFTWARE\\POLICIES",
    "SOFTWARE\\WOW6432NODE",
};

// Directly below Software\Classes: the COM tables and the classes the shell
// itself depends on.
constexpr std::array<std::string_view, 11> kClassesKeys = {
    "CLSID", "INTERFACE", "TYPELIB", "APPID", "INSTALLER", "*", ".EXE", "EXEFILE", "DIRECTORY", "FOLDER", "DRIVE",
};

// The machine's configuration (also below a hardware profile).
constexpr std::array<std::string_view, 7> kMachineKeys = {
    "SYSTEM",   "SYSTEM\\CURRENTCONTROLSET", "SYSTEM\\CURRENTCONTROLSET\\SERVICES", "SYSTEM\\CURRENTCONTROLSET\\CONTROL",
    "HARDWARE", "SAM",                       "SECURITY",
};

// A user's own settings outside Software.
constexpr std::array<std::string_view, 3> kUserKeys = {"CONTROL PANEL", "ENVIRONMENT", "SYSTEM"};

constexpr std::string_view kSoftwarePrefix = "SOFTWARE\\";
constexpr std::string_view kWowPrefix = "SOFTWARE\\WOW6432NODE\\";
constexpr std::string_view kClassesPrefix = "SOFTWARE\\CLASSES\\";
constexpr std::string_view kWowComponent = "WOW6432NODE";
constexpr std::string_view kControlSetPrefix = "SYSTEM\\CONTROLSET";
constexpr std::string_view kUserClassesSuffix = "_CLASSES";

template <std::size_t N>
bool Listed(const std::array<std::string_view, N>& list, std::string_view key) {
  return std::find(list.begin(), list.end(), key) != list.end();
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// "A\B\C" -> "A" and "B\C".
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view key) {
  const std::size_t at = key.find('\\');
  if (at == std::string_view::npos) return {key, {}};
  return {key.substr(0, at), key.substr(at + 1)};
}

// Relative to Software\Classes; its 32-bit view below Wow6432Node is alike.
bool IsProtectedClassesKey(std::string_view key) {
  if (key.empty()) return true;
  const auto [first, rest] = SplitFirst(key);
  if (first == kWowComponent) return IsProtectedClassesKey(rest);
  return Listed(kClassesKeys, key);
}

bool IsProtectedSoftwareKey(std::string_view key) {
  if (StartsWith(key, kWowPrefix)) {
    return IsProtectedSoftwareKey(std::string(kSoftwarePrefix) + std::string(key.substr(kWowPrefix.size())));
  }
  if (Listed(kSoftwareKeys, key)) return true;
  return StartsWith(key, kClassesPrefix) && IsProtectedClassesKey(key.substr(kClassesPrefix.size()));
}

// "SYSTEM\CONTROLSET001\..." is looked at as "SYSTEM\CURRENTCONTROLSET\...".
std::string AsCurrentControlSet(std::string_view key) {
  if (!StartsWith(key, kControlSetPrefix)) return std::string(key);
  std::size_t end = kControlSetPrefix.size();
  while (end < key.size() && key[end] >= '0' && key[end] <= '9') ++end;
  if (end == kControlSetPrefix.size() || (end < key.size() && key[end] != '\\')) return std::string(key);
  return "SYSTEM\\CURRENTCONTROLSET" + std::string(key.substr(end));
}

bool IsProtectedMachineKey(std::string_view key) {
  return key.empty() || IsProtectedSoftwareKey(key) || Listed(kMachineKeys, AsCurrentControlSet(key));
}

bool IsProtectedUserKey(std::string_view key) {
  return key.empty() || IsProtectedSoftwareKey(key) || Listed(kUserKeys, key);
}

// Below HKEY_USERS the first component names a user's hive ("S-1-5-21-...",
// ".DEFAULT") or that user's classes ("S-1-5-21-..._Classes").
bool IsProtectedUsersKey(std::string_view key) {
  const auto [hive, rest] = SplitFirst(key);
  if (hive.empty() || rest.empty()) return true;
  if (hive.size() > kUserClassesSuffix.size() && hive.ends_with(kUserClassesSuffix)) return IsProtectedClassesKey(rest);
  return IsProtectedUserKey(rest);
}

}  // namespace

std::string NormalizeKeyPath(std::string_view key, const LeadBytes& lead) {
  std::string out;
  out.reserve(key.size());
  bool separatorDue = false;  // written only when another component follows
  for (std::size_t i = 0; i < key.size();) {
    const std::size_t length = lead.CharLength(key.data(), key.size(), i);
    if (length == 1 && (key[i] == '\\' || key[i] == '/')) {
      separatorDue = !out.empty();
    } else {
      if (separatorDue) out += '\\';
      separatorDue = false;
      if (length == 2) out.append(key.substr(i, 2));
      else out += AsciiUpper(key[i]);
    }
    i += length;
  }
  return out;
}

bool IsProtectedKey(RegRoot root, std::string_view key, const LeadBytes& lead) {
  const std::string normal = NormalizeKeyPath(key, lead);
  switch (root) {
    case RegRoot::ClassesRoot:
      return IsProtectedClassesKey(normal);
    case RegRoot::CurrentUser:
      return IsProtectedUserKey(normal);
    case RegRoot::LocalMachine:
    case RegRoot::CurrentConfig:
      return IsProtectedMachineKey(normal);
    case RegRoot::Users:
      return IsProtectedUsersKey(normal);
  }
  return true;
}

}  // namespace scrubber
