#pragma once
// The registry held in memory as a tree of keys under the five roots. Keys
// exist on their own: an empty key, a key with subkeys and a key that cannot
// be opened are three different things. Key paths and value names compare
// with ASCII letter case ignored; subkeys enumerate in that order (upper-case
// name order), values in the order they were made. A name longer than 255
// characters can be stored but is refused by EnumValue and EnumSubKey, as a
// 256-character buffer would refuse it. Every call of the interface can be
// made to fail; the setting and inspecting calls below bypass the faults.
// Open keys (RegKey) may outlive a deleted key: their calls then fail.
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FaultTable.h"
#include "platform/Registry.h"

namespace scrubber {

class FakeRegistry : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  // Registry
  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) override;
  std::unique_ptr<RegKey> OpenKey(RegRoot root, std::string_view subKey) override;
  std::unique_ptr<RegKey> OpenKeyToRead(RegRoot root, std::string_view subKey) override;
  Status DeleteKey(RegRoot root, std::string_view subKey) override;
  bool MayBeLink(RegRoot, std::string_view) override { return false; }  // the fake has no links

  // Setting the scene; missing keys on the way are made. An empty value name
  // is the key's default value. SetString stores the text with its NUL.
  void AddKey(RegRoot root, std::string_view subKey);
  // The key with everything below it, as a component's own unregistration does.
  void RemoveTree(RegRoot root, std::string_view subKey);
  void SetValue(RegRoot root, std::string_view subKey, std::string_view valueName, RegValue value);
  void SetString(RegRoot root, std::string_view subKey, std::string_view valueName, std::string_view text);
  void SetDword(RegRoot root, std::string_view subKey, std::string_view valueName, std::uint32_t number);
  // The key (made when missing) cannot be opened, read or deleted through the
  // interface any more (access denied); its subkeys still can, and it is
  // still listed by its parent. `deny` false lifts that again.
  void DenyOpen(RegRoot root, std::string_view subKey, bool deny = true);

  // Looking at the result.
  bool KeyExists(RegRoot root, std::string_view subKey) const;
  std::optional<RegValue> ValueOf(RegRoot root, std::string_view subKey, std::string_view valueName) const;
  // 0 when the key does not exist.
  std::size_t SubKeyCount(RegRoot root, std::string_view subKey) const;
  std::size_t ValueCount(RegRoot root, std::string_view subKey) const;

  FaultTable& faults() { return faults_; }

  struct Key;

 private:
  Key* Find(RegRoot root, std::string_view subKey) const;
  std::unique_ptr<RegKey> Open(RegRoot root, std::string_view subKey, bool readOnly);
  Key* Make(RegRoot root, std::string_view subKey);

  std::array<std::shared_ptr<Key>, kRegRootCount> roots_;
  FaultTable faults_;
};

}  // namespace scrubber
