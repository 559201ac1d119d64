#pragma once
// Registry keys and values held in memory; keys can be made read-only so that
// asking for write rights fails, and any key can refuse to open.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Registry.h"

namespace rosterly {

class FakeRegistry : public Registry {
 public:
  void SetValue(RegRoot root, const std::string& key, const std::string& name, std::uint32_t type, std::string bytes);
  // Stored as the platform stores strings: with a terminating zero byte.
  void SetString(RegRoot root, const std::string& key, const std::string& name, const std::string& text) {
    SetValue(root, key, name, kRegSz, text + '\0');
  }
  void SetReadOnly(RegRoot root, const std::string& key) { keys_[{root, key}].readOnly = true; }
  const std::vector<std::uint32_t>& AccessRequested() const { return access_; }

  Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view subKey, std::uint32_t access) override;

 private:
  struct Key {
    bool readOnly = false;
    std::map<std::string, RegData> values;
  };
  std::map<std::pair<RegRoot, std::string>, Key> keys_;
  std::vector<std::uint32_t> access_;
};

}  // namespace rosterly
