#include "RecordingRegistry.h"

#include <cstdio>
#include <vector>

#include "PlanText.h"

namespace scrubber {
namespace {

// Bound on the names one merged enumeration reads from the real key.
constexpr std::uint32_t kEnumLimit = 65536;

std::string_view TrimSlashes(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  return key;
}

std::string FullKeyName(RegRoot root, std::string_view subKey) {
  std::string name(RootName(root));
  subKey = TrimSlashes(subKey);
  if (!subKey.empty()) name.append("\\").append(subKey);
  return name;
}

}  // namespace

std::string_view RootName(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users: return "HKEY_USERS";
    case RegRoot::CurrentConfig: return "HKEY_CURRENT_CONFIG";
  }
  return "HKEY_?";
}

std::string_view RegTypeName(std::uint32_t type) {
  switch (type) {
    case kRegTypeSz: return "REG_SZ";
    case kRegTypeExpandSz: return "REG_EXPAND_SZ";
    case kRegTypeBinary: return "REG_BINARY";
    case kRegTypeDword: return "REG_DWORD";
    case kRegTypeMultiSz: return "REG_MULTI_SZ";
  }
  return "REG_?";
}

std::string RegDataText(const RegValue& value) {
  const std::string& data = value.data;
  switch (value.type) {
    case kRegTypeSz:
    case kRegTypeExpandSz:
      return data.substr(0, data.find('\0'));
    case kRegTypeDword:
      if (data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
        return std::to_string(n);
      }
      break;
    case kRegTypeMultiSz: {
      std::string out;
      std::size_t pos = 0;
      while (pos < data.size() && data[pos] != '\0') {
        std::size_t end = data.find('\0', pos);
        if (end == std::string::npos) end = data.size();
        if (!out.empty()) out += '|';
        out.append(data, pos, end - pos);
        pos = end + 1;
      }
      return out;
    }
  }
  std::string hex;
  char two[4];
  for (unsigned char c : data) {
    std::snprintf(two, sizeof two, "%02X", c);
    if (!hex.empty()) hex += ' ';
    hex += two;
  }
  return hex;
}

// A key of the real registry seen through the overlay.
class RecordingRegistry::Key final : public RegKey {
 public:
  Key(RecordingRegistry& owner, RegRoot root, std::string subKey, std::unique_ptr<RegKey> real)
      : owner_(owner), root_(root), subKey_(std::move(subKey)), key_(KeyOf(root_, subKey_)), real_(std::move(real)) {}

  std::optional<RegValue> Query(std::string_view valueName) override {
    if (owner_.Gone(key_)) return std::nullopt;
    if (const ValueState* state = Overlaid(valueName)) return state->value;
    return real_->Query(valueName);
  }

  Status Set(std::string_view valueName, const RegValue& value) override {
    if (owner_.Gone(key_)) return Status::Fail(SysError::NotFound);
    PlanStep step;
    step.op = PlanOp::SetValue;
    step.target = FullKeyName(root_, subKey_);
    step.key = FoldKey(step.target);
    step.With("value", std::string(valueName)).With("type", std::string(RegTypeName(value.type))).With("data", RegDataText(value));
    owner_.Record(std::move(step));
    ValueState& state = owner_.values_[key_][FoldKey(valueName)];
    if (!state.value && state.name.empty()) state.name = std::string(valueName);
    state.value = value;
    return Status::Ok();
  }

  Status DeleteValue(std::string_view valueName) override {
    if (!Query(valueName)) return Status::Fail(SysError::NotFound);
    PlanStep step;
    step.op = PlanOp::DeleteValue;
    step.target = FullKeyName(root_, subKey_);
    step.key = FoldKey(step.target);
    step.With("value", std::string(valueName));
    owner_.Record(std::move(step));
    ValueState& state = owner_.values_[key_][FoldKey(valueName)];
    state.name = std::string(valueName);
    state.value.reset();
    return Status::Ok();
  }

  std::optional<std::string> EnumValue(std::uint32_t index) override {
    if (owner_.Gone(key_)) return std::nullopt;
    auto values = owner_.values_.find(key_);
    if (values == owner_.values_.end()) return real_->EnumValue(index);
    // The real names without the deleted ones, then the names set here.
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::uint32_t i = 0; i < kEnumLimit; ++i) {
      auto name = real_->EnumValue(i);
      if (!name) break;
      const std::string upper = FoldKey(*name);
      seen.insert(upper);
      auto state = values->second.find(upper);
      if (state == values->second.end() || state->second.value) names.push_back(std::move(*name));
    }
    for (const auto& [upper, state] : values->second)
      if (state.value && !seen.count(upper)) names.push_back(state.name);
    if (index >= names.size()) return std::nullopt;
    return names[index];
  }

  std::optional<std::string> EnumSubKey(std::uint32_t index) override {
    if (owner_.Gone(key_)) return std::nullopt;
    if (!owner_.HasDeletedChildren(key_)) return real_->EnumSubKey(index);
    std::uint32_t found = 0;
    for (std::uint32_t i = 0; i < kEnumLimit; ++i) {
      auto name = real_->EnumSubKey(i);
      if (!name) break;
      if (owner_.deletedKeys_.count(key_ + "\\" + FoldKey(*name))) continue;
      if (found++ == index) return name;
    }
    return std::nullopt;
  }

  std::optional<bool> HoldsAnything() override {
    if (owner_.Gone(key_)) return std::nullopt;
    if (EnumValue(0) || EnumSubKey(0)) return true;
    // Nothing nameable is left. Untouched, the real key knows best (it may
    // hold what no enumeration can name); otherwise the changes emptied it.
    const bool changed = owner_.values_.count(key_) != 0 || owner_.HasDeletedChildren(key_);
    if (changed) return false;
    return real_->HoldsAnything();
  }
  // The overlay cannot count cheaply; callers then ask value by value.
  std::optional<std::uint32_t> ValueCount() override { return std::nullopt; }

 private:
  const ValueState* Overlaid(std::string_view valueName) const {
    auto values = owner_.values_.find(key_);
    if (values == owner_.values_.end()) return nullptr;
    auto state = values->second.find(FoldKey(valueName));
    return state == values->second.end() ? nullptr : &state->second;
  }

  RecordingRegistry& owner_;
  RegRoot root_;
  std::string subKey_;
  std::string key_;
  std::unique_ptr<RegKey> real_;
};

RecordingRegistry::RecordingRegistry(Registry& real, PlanLog& log) : real_(real), log_(log) {}

std::string RecordingRegistry::KeyOf(RegRoot root, std::string_view subKey) {
  return std::to_string(static_cast<int>(root)) + ":" + FoldKey(TrimSlashes(subKey));
}

bool RecordingRegistry::Gone(const std::string& key) const {
  if (deletedKeys_.empty()) return false;
  // The key itself or any key above it.
  for (std::string_view k = key;;) {
    if (deletedKeys_.count(std::string(k))) return true;
    const std::size_t slash = k.rfind('\\');
    if (slash == std::string_view::npos) return false;
    k = k.substr(0, slash);
  }
}

bool RecordingRegistry::HasDeletedChildren(const std::string& key) const {
  const std::string prefix = key + "\\";
  auto it = deletedKeys_.lower_bound(prefix);
  return it != deletedKeys_.end() && it->compare(0, prefix.size(), prefix) == 0;
}

void RecordingRegistry::Record(PlanStep step) { log_.Add(std::move(step)); }

std::optional<RegValue> RecordingRegistry::QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) {
  const std::string key = KeyOf(root, subKey);
  if (Gone(key)) return std::nullopt;
  if (auto values = values_.find(key); values != values_.end()) {
    auto state = values->second.find(FoldKey(valueName));
    if (state != values->second.end()) return state->second.value;
  }
  return real_.QueryValue(root, subKey, valueName);
}

std::unique_ptr<RegKey> RecordingRegistry::OpenKey(RegRoot root, std::string_view subKey) {
  if (Gone(KeyOf(root, subKey))) return nullptr;
  auto real = real_.OpenKey(root, subKey);
  if (!real) return nullptr;
  return std::make_unique<Key>(*this, root, std::string(subKey), std::move(real));
}

Status RecordingRegistry::DeleteKey(RegRoot root, std::string_view subKey) {
  if (TrimSlashes(subKey).empty()) return Status::Fail(SysError::AccessDenied);
  auto key = OpenKey(root, subKey);
  if (!key) return Status::Fail(SysError::NotFound);
  // The platform refuses a key that still has subkeys; a link goes as a link.
  if (!MayBeLink(root, subKey) && key->EnumSubKey(0)) return Status::Fail(SysError::AccessDenied);
  key.reset();
  PlanStep step;
  step.op = PlanOp::DeleteKey;
  step.target = FullKeyName(root, subKey);
  step.key = FoldKey(step.target);
  Record(std::move(step));
  const std::string k = KeyOf(root, subKey);
  deletedKeys_.insert(k);
  values_.erase(k);
  return Status::Ok();
}

}  // namespace scrubber
