#include "FakeRegistry.h"

namespace rosterly {

namespace {

constexpr std::uint32_t kWriteRights = 0x2 | 0x4 | 0x20;  // set value, create sub-key, create link

Status NotFound() { return Status::Fail(kErrFileNotFound, "The system cannot find the file specified."); }

class FakeRegistryKey : public RegistryKey {
 public:
  explicit FakeRegistryKey(std::map<std::string, RegData> values) : values_(std::move(values)) {}
  Result<RegData> QueryValue(std::string_view name, std::size_t bufferBytes) override {
    auto it = values_.find(std::string(name));
    if (it == values_.end()) return NotFound();
    if (it->second.bytes.size() > bufferBytes) return Status::Fail(kErrMoreData, "More data is available.");
    return it->second;
  }

 private:
  std::map<std::string, RegData> values_;
};

}  // namespace

void FakeRegistry::SetValue(RegRoot root, const std::string& key, const std::string& name, std::uint32_t type,
                            std::string bytes) {
  keys_[{root, key}].values[name] = RegData{type, std::move(bytes)};
}

Result<std::unique_ptr<RegistryKey>> FakeRegistry::OpenKey(RegRoot root, std::string_view subKey,
                                                           std::uint32_t access) {
  access_.push_back(access);
  auto it = keys_.find({root, std::string(subKey)});
  if (it == keys_.end()) return NotFound();
  if (it->second.readOnly && (access & kWriteRights) != 0)
    return Status::Fail(kErrAccessDenied, "Access is denied.");
  return std::unique_ptr<RegistryKey>(std::make_unique<FakeRegistryKey>(it->second.values));
}

}  // namespace rosterly
