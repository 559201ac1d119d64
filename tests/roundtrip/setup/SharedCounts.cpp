#include "SharedCounts.h"

#include <cstdlib>
#include <cstring>

#include "Win32Support.h"

namespace sample {
namespace {

constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

Status WriteCount(HKEY key, const std::string& path, DWORD count, DWORD type) {
  LONG rc = ERROR_SUCCESS;
  if (type == REG_SZ) {
    std::string text = std::to_string(count);
    rc = RegSetValueExA(key, path.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
  } else {
    rc = RegSetValueExA(key, path.c_str(), 0, type, reinterpret_cast<const BYTE*>(&count), sizeof count);
  }
  return rc == ERROR_SUCCESS ? Status::Ok() : Failure("cannot write the shared count of " + path, rc);
}

Status OpenCounts(HKEY& key) {
  LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return rc == ERROR_SUCCESS ? Status::Ok() : Failure("cannot open the shared counts", rc);
}

Status FormType(std::string_view form, DWORD& type) {
  if (form == "dword") type = REG_DWORD;
  else if (form == "sz") type = REG_SZ;
  else return Status::Fail("a shared count is \"dword\" or \"sz\", not \"" + std::string(form) + "\"");
  return Status::Ok();
}

}  // namespace

Status AddSharedUse(const std::string& path, std::string_view newForm) {
  DWORD type = 0;
  if (Status form = FormType(newForm, type); !form.ok()) return form;
  HKEY key = nullptr;
  if (Status open = OpenCounts(key); !open.ok()) return open;
  char data[64] = {};
  DWORD size = sizeof data - 1, oldType = 0;
  DWORD count = 0;
  if (RegQueryValueExA(key, path.c_str(), nullptr, &oldType, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
    type = oldType;
    if (oldType == REG_SZ) count = static_cast<DWORD>(std::strtoul(data, nullptr, 10));
    else if ((oldType == REG_DWORD || oldType == REG_BINARY) && size == sizeof count) std::memcpy(&count, data, 4);
    else type = REG_DWORD;  // an unreadable count starts again
  }
  Status written = WriteCount(key, path, count + 1, type);
  RegCloseKey(key);
  return written;
}

Status SetSharedCount(const std::string& path, DWORD count, std::string_view form) {
  DWORD type = 0;
  if (Status checked = FormType(form, type); !checked.ok()) return checked;
  HKEY key = nullptr;
  if (Status open = OpenCounts(key); !open.ok()) return open;
  Status written = WriteCount(key, path, count, type);
  RegCloseKey(key);
  return written;
}

bool HasSharedCount(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  bool found = RegQueryValueExA(key, path.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

}  // namespace sample
