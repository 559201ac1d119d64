#include "FakeRegistry.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "files/PathText.h"

namespace scrubber {

struct FakeRegistry::Key {
  std::string name;
  std::map<std::string, std::shared_ptr<Key>> subKeys;   // by upper-case name
  std::vector<std::pair<std::string, RegValue>> values;  // in creation order
  Key* parent = nullptr;
  bool denied = false;
  bool deleted = false;  // an open RegKey may still hold it

  auto FindValue(std::string_view valueName) {
    return std::find_if(values.begin(), values.end(), [&](const auto& v) { return EqualsNoCase(v.first, valueName); });
  }
};

namespace {

// Key ERROR_KEY_DELETED: the calls of a handle whose key was deleted.
constexpr std::uint32_t kKeyDeleted = 1018;


// The components of a key path. Trailing backslashes are ignored; a leading
// backslash or an empty component in the middle makes the path invalid
// (nullopt), as the platform refuses such paths. Empty: the root itself.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::vector<std::string> parts;
  if (path.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    std::size_t cut = path.find('\\', start);
    std::string_view part = path.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start);
    if (part.empty()) return std::nullopt;
    parts.emplace_back(part);
    if (cut == std::string_view::npos) break;
    start = cut + 1;
  }
  return parts;
}

// A name the 256-character buffer of RegEnumValue / RegEnumKeyEx can hold.
std::optional<std::string> Fitting(const std::string& name) {
  if (name.size() >= kRegNameBuffer) return std::nullopt;
  return name;
}

class FakeRegKey : public RegKey {
 public:
  FakeRegKey(std::shared_ptr<FakeRegistry::Key> key, FaultTable& faults, bool readOnly = false)
      : key_(std::move(key)), faults_(faults), readOnly_(readOnly) {}

  std::optional<RegValue> Query(std::string_view valueName) override {
    if (faults_.Check("Query") || key_->deleted) return std::nullopt;
    auto it = key_->FindValue(valueName);
    if (it == key_->values.end()) return std::nullopt;
    return it->second;
  }

  Status Set(std::string_view valueName, const RegValue& value) override {
    if (auto e = faults_.Check("Set")) return Status::Fail(*e);
    if (readOnly_) return Status::Fail(SysError::AccessDenied);
    if (key_->deleted) return Status::Fail(SysError::Other, kKeyDeleted);
    auto it = key_->FindValue(valueName);
    if (it != key_->values.end()) {
      it->second = value;
    } else {
      key_->values.emplace_back(std::string(valueName), value);
    }
    return Status::Ok();
  }

  Status DeleteValue(std::string_view valueName) override {
    if (auto e = faults_.Check("DeleteValue")) return Status::Fail(*e);
    if (readOnly_) return Status::Fail(SysError::AccessDenied);
    if (key_->deleted) return Status::Fail(SysError::Other, kKeyDeleted);
    auto it = key_->FindValue(valueName);
    if (it == key_->values.end()) return Status::Fail(SysError::NotFound);
    key_->values.erase(it);
    return Status::Ok();
  }

  std::optional<std::string> EnumValue(std::uint32_t index) override {
    if (faults_.Check("EnumValue") || key_->deleted) return std::nullopt;
    if (index >= key_->values.size()) return std::nullopt;
    return Fitting(key_->values[index].first);
  }

  std::optional<std::string> EnumSubKey(std::uint32_t index) override {
    if (faults_.Check("EnumSubKey") || key_->deleted) return std::nullopt;
    if (index >= key_->subKeys.size()) return std::nullopt;
    auto it = key_->subKeys.begin();
    std::advance(it, index);
    return Fitting(it->second->name);
  }

  std::optional<bool> HoldsAnything() override {
    if (faults_.Check("HoldsAnything") || key_->deleted) return std::nullopt;
    return !key_->values.empty() || !key_->subKeys.empty();
  }
  std::optional<std::uint32_t> ValueCount() override {
    if (faults_.Check("ValueCount") || key_->deleted) return std::nullopt;
    return static_cast<std::uint32_t>(key_->values.size());
  }

 private:
  std::shared_ptr<FakeRegistry::Key> key_;
  FaultTable& faults_;
  bool readOnly_;
};

}  // namespace

FakeRegistry::FakeRegistry()
    : faults_({"QueryValue", "OpenKey", "Query", "Set", "DeleteValue", "EnumValue", "EnumSubKey", "HoldsAnything", "ValueCount",
               "OpenKeyToRead", "DeleteKey"}) {
  static constexpr const char* kRootNames[kRegRootCount] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                            "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
  for (int i = 0; i < kRegRootCount; ++i) {
    roots_[static_cast<std::size_t>(i)] = std::make_shared<Key>();
    roots_[static_cast<std::size_t>(i)]->name = kRootNames[i];
  }
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key* FakeRegistry::Find(RegRoot root, std::string_view subKey) const {
  auto index = static_cast<std::size_t>(root);
  if (index >= roots_.size()) return nullptr;
  auto parts = SplitKeyPath(subKey);
  if (!parts) return nullptr;
  Key* key = roots_[index].get();
  for (const auto& part : *parts) {
    auto it = key->subKeys.find(AsciiUpperCase(part));
    if (it == key->subKeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

FakeRegistry::Key* FakeRegistry::Make(RegRoot root, std::string_view subKey) {
  auto index = static_cast<std::size_t>(root);
  if (index >= roots_.size()) return nullptr;
  Key* key = roots_[index].get();
  std::size_t start = 0;
  while (start <= subKey.size()) {
    std::size_t cut = subKey.find('\\', start);
    if (cut == std::string_view::npos) cut = subKey.size();
    std::string_view part = subKey.substr(start, cut - start);
    start = cut + 1;
    if (part.empty()) continue;
    auto& slot = key->subKeys[AsciiUpperCase(part)];
    if (!slot) {
      slot = std::make_shared<Key>();
      slot->name = part;
      slot->parent = key;
    }
    key = slot.get();
  }
  return key;
}

std::optional<RegValue> FakeRegistry::QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) {
  if (faults_.Check("QueryValue")) return std::nullopt;
  Key* key = Find(root, subKey);
  if (!key || key->denied) return std::nullopt;
  auto it = key->FindValue(valueName);
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

std::unique_ptr<RegKey> FakeRegistry::Open(RegRoot root, std::string_view subKey, bool readOnly) {
  if (faults_.Check(readOnly ? "OpenKeyToRead" : "OpenKey")) return nullptr;
  Key* key = Find(root, subKey);
  if (!key || key->denied) return nullptr;
  std::shared_ptr<Key> held =
      key->parent ? key->parent->subKeys.at(AsciiUpperCase(key->name)) : roots_[static_cast<std::size_t>(root)];
  return std::make_unique<FakeRegKey>(std::move(held), faults_, readOnly);
}

std::unique_ptr<RegKey> FakeRegistry::OpenKey(RegRoot root, std::string_view subKey) {
  return Open(root, subKey, false);
}

std::unique_ptr<RegKey> FakeRegistry::OpenKeyToRead(RegRoot root, std::string_view subKey) {
  return Open(root, subKey, true);
}

Status FakeRegistry::DeleteKey(RegRoot root, std::string_view subKey) {
  if (auto e = faults_.Check("DeleteKey")) return Status::Fail(*e);
  Key* key = Find(root, subKey);
  if (!key) return Status::Fail(SysError::NotFound);
  if (!key->parent || key->denied || !key->subKeys.empty()) return Status::Fail(SysError::AccessDenied);
  Key* parent = key->parent;
  key->deleted = true;  // an open RegKey keeps the object; its calls fail from now on
  key->parent = nullptr;
  key->values.clear();
  parent->subKeys.erase(AsciiUpperCase(key->name));
  return Status::Ok();
}

void FakeRegistry::AddKey(RegRoot root, std::string_view subKey) {
  Make(root, subKey);
}

void FakeRegistry::RemoveTree(RegRoot root, std::string_view subKey) {
  Key* key = Find(root, subKey);
  if (!key || !key->parent) return;
  key->deleted = true;
  key->parent->subKeys.erase(AsciiUpperCase(key->name));
}

void FakeRegistry::SetValue(RegRoot root, std::string_view subKey, std::string_view valueName, RegValue value) {
  Key* key = Make(root, subKey);
  if (!key) return;
  auto it = key->FindValue(valueName);
  if (it != key->values.end()) {
    it->second = std::move(value);
  } else {
    key->values.emplace_back(std::string(valueName), std::move(value));
  }
}

void FakeRegistry::SetString(RegRoot root, std::string_view subKey, std::string_view valueName, std::string_view text) {
  std::string data(text);
  data += '\0';
  SetValue(root, subKey, valueName, {kRegTypeSz, std::move(data)});
}

void FakeRegistry::SetDword(RegRoot root, std::string_view subKey, std::string_view valueName, std::uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
  SetValue(root, subKey, valueName, {kRegTypeDword, std::move(data)});
}

void FakeRegistry::DenyOpen(RegRoot root, std::string_view subKey, bool deny) {
  if (Key* key = Make(root, subKey)) key->denied = deny;
}

bool FakeRegistry::KeyExists(RegRoot root, std::string_view subKey) const {
  return Find(root, subKey) != nullptr;
}

std::optional<RegValue> FakeRegistry::ValueOf(RegRoot root, std::string_view subKey, std::string_view valueName) const {
  Key* key = Find(root, subKey);
  if (!key) return std::nullopt;
  auto it = key->FindValue(valueName);
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

std::size_t FakeRegistry::SubKeyCount(RegRoot root, std::string_view subKey) const {
  Key* key = Find(root, subKey);
  return key ? key->subKeys.size() : 0;
}

std::size_t FakeRegistry::ValueCount(RegRoot root, std::string_view subKey) const {
  Key* key = Find(root, subKey);
  return key ? key->values.size() : 0;
}

}  // namespace scrubber
