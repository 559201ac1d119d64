// Registry: values created or changed (the old data recorded so that the
// uninstall writes it back), trees, shared counts and the database engine.
#include <windows.h>

#include <array>
#include <cstdlib>

#include "Actions.h"
#include "RegistryData.h"
#include "SharedCounts.h"
#include "Win32Support.h"

namespace sample {
namespace {

// By the log's indexes.
const std::array<HKEY, 5> kRoots = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                                    HKEY_CURRENT_CONFIG};
constexpr std::array<DWORD, 5> kTypes = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY};
constexpr DWORD kMaxValueBytes = 4096;
constexpr char kEngineKey[] = "Software\\Borland\\Database Engine";
constexpr char kEngineApiKey[] = "Software\\Borland\\BLW32";
constexpr char kEngineCount[] = "UseCount";
constexpr char kEnginePath[] = "C:\\Program Files\\Common Files\\Borland Shared\\BDE";

struct Value {
  KeyPath key;
  std::string name;
  ValueType type = ValueType::Sz;
  std::string bytes;
};

Status ReadValue(const Fields& fields, Value& value) {
  auto key = ParseKeyPath(fields[0]);
  if (!key) return Status::Fail("not a registry key: " + fields[0]);
  auto type = ParseValueType(fields[2]);
  if (!type) return Status::Fail("not a value type: " + fields[2]);
  value = Value{*key, fields[1], *type, {}};
  return EncodeValue(value.type, fields[3], value.bytes);
}

Status OpenKey(const KeyPath& path, HKEY& key) {
  LONG rc = RegCreateKeyExA(kRoots[static_cast<std::size_t>(path.root)], path.subKey.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return rc == ERROR_SUCCESS ? Status::Ok() : Failure("cannot open " + path.subKey, rc);
}

Status SetValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
  LONG rc = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size()));
  return rc == ERROR_SUCCESS ? Status::Ok() : Failure("cannot set value \"" + name + "\"", rc);
}

// The value as it was, when there was one of a type the log can hold.
Status ReadOld(HKEY key, const std::string& name, bool& existed, ValueType& type, std::string& bytes) {
  std::string data(kMaxValueBytes, '\0');
  DWORD size = kMaxValueBytes, rawType = 0;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &rawType, reinterpret_cast<BYTE*>(data.data()), &size);
  existed = rc == ERROR_SUCCESS;
  if (rc == ERROR_FILE_NOT_FOUND) return Status::Ok();
  if (!existed) return Failure("cannot read value \"" + name + "\"", rc);
  for (std::size_t i = 0; i < kTypes.size(); ++i) {
    if (kTypes[i] == rawType) {
      type = static_cast<ValueType>(i);
      bytes = data.substr(0, size);
      return Status::Ok();
    }
  }
  return Status::Fail("value \"" + name + "\" has a type the log cannot restore");
}

}  // namespace

Status WriteRegistryValue(Context& context, const Fields& fields) {
  Value value;
  if (Status read = ReadValue(fields, value); !read.ok()) return read;
  HKEY key = nullptr;
  if (Status opened = OpenKey(value.key, key); !opened.ok()) return opened;
  bool existed = false;
  ValueType oldType = value.type;
  std::string oldBytes;
  std::vector<std::string> oldLines;
  Status done = ReadOld(key, value.name, existed, oldType, oldBytes);
  if (done.ok() && existed) done = OldValueLines(oldType, oldBytes, oldLines);
  if (done.ok()) done = SetValue(key, value.name, kTypes[static_cast<std::size_t>(value.type)], value.bytes);
  RegCloseKey(key);
  if (!done.ok()) return done;
  InstallLog& log = *context.log;
  log.Record("RegDB Key: ", value.key.subKey);
  log.Line("RegDB Val: ", fields[3]);
  if (!value.name.empty()) log.Line("RegDB Name: ", value.name);
  // A changed value is written back with the logged type: the old one.
  log.Line("RegDB Type: ", std::to_string(static_cast<int>(existed ? oldType : value.type)));
  log.Line("RegDB Root: ", std::to_string(value.key.root));
  for (const std::string& line : oldLines) log.Line("RegDB Old: ", line);
  return Status::Ok();
}

Status PutRegistryValue(Context&, const Fields& fields) {
  Value value;
  if (Status read = ReadValue(fields, value); !read.ok()) return read;
  HKEY key = nullptr;
  if (Status opened = OpenKey(value.key, key); !opened.ok()) return opened;
  Status set = SetValue(key, value.name, kTypes[static_cast<std::size_t>(value.type)], value.bytes);
  RegCloseKey(key);
  return set;
}

Status RecordRegistryTree(Context& context, const Fields& fields) {
  auto path = ParseKeyPath(fields[0]);
  if (!path) return Status::Fail("not a registry key: " + fields[0]);
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(kRoots[static_cast<std::size_t>(path->root)], path->subKey.c_str(), 0, KEY_READ, &key);
  if (rc != ERROR_SUCCESS) return Failure("no key " + fields[0], rc);
  RegCloseKey(key);
  context.log->Record("RegDB Tree: ", path->subKey);
  context.log->Line("RegDB Root: ", std::to_string(path->root));
  return Status::Ok();
}

Status PutSharedCount(Context&, const Fields& fields) {
  char* end = nullptr;
  const unsigned long count = std::strtoul(fields[1].c_str(), &end, 10);
  if (fields[1].empty() || *end != '\0') return Status::Fail("not a count: " + fields[1]);
  return SetSharedCount(fields[0], static_cast<DWORD>(count), fields[2]);
}

// The engine's keys with its use count, which this installation raises by one
// (as text, the form the uninstall writes back).
Status InstallDatabaseEngine(Context& context, const Fields& fields) {
  if (fields[0].empty() || fields[0][0] != 'B') return Status::Fail("the sub-system's name begins with B");
  HKEY engine = nullptr;
  if (Status opened = OpenKey({2, kEngineKey}, engine); !opened.ok()) return opened;
  char count[32] = {};
  DWORD size = sizeof count - 1, type = 0;
  const bool known = RegQueryValueExA(engine, kEngineCount, nullptr, &type, reinterpret_cast<BYTE*>(count), &size) ==
                         ERROR_SUCCESS &&
                     type == REG_SZ;
  const std::string users = std::to_string((known ? std::atoi(count) : 0) + 1);
  Status done = SetValue(engine, kEngineCount, REG_SZ, users + '\0');
  if (done.ok() && !known) done = SetValue(engine, "DLLPATH", REG_SZ, std::string(kEnginePath) + '\0');
  RegCloseKey(engine);
  if (!done.ok()) return done;
  HKEY api = nullptr;
  if (Status opened = OpenKey({2, kEngineApiKey}, api); !opened.ok()) return opened;
  done = SetValue(api, "BLAPIPATH", REG_SZ, std::string(kEnginePath) + '\0');
  RegCloseKey(api);
  if (!done.ok()) return done;
  context.log->Record("SubSystem: ", fields[0]);
  return Status::Ok();
}

}  // namespace sample
