#pragma once
// A Registry that shows the real one plus the changes recorded so far:
// values set or deleted, keys deleted. Keys are never created by the
// uninstall, so the overlay holds only values and deleted keys. Keys of the
// real registry are opened as the real run opens them (which tells whether
// the run could), and nothing is ever written through them.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "PlanStep.h"
#include "platform/Registry.h"

namespace scrubber {

// "HKEY_LOCAL_MACHINE" and so on; "HKEY_?" outside the table.
std::string_view RootName(RegRoot root);

class RecordingRegistry final : public Registry {
 public:
  RecordingRegistry(Registry& real, PlanLog& log);

  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) override;
  std::unique_ptr<RegKey> OpenKey(RegRoot root, std::string_view subKey) override;
  // Reads through to the real key: nothing is ever written through a key
  // opened only to read, so no change of the run can be hidden behind it.
  std::unique_ptr<RegKey> OpenKeyToRead(RegRoot root, std::string_view subKey) override {
    return Gone(KeyOf(root, subKey)) ? nullptr : real_.OpenKeyToRead(root, subKey);
  }
  Status DeleteKey(RegRoot root, std::string_view subKey) override;
  bool MayBeLink(RegRoot root, std::string_view subKey) override { return real_.MayBeLink(root, subKey); }

 private:
  class Key;
  struct ValueState {
    std::string name;  // as first written
    std::optional<RegValue> value;  // nullopt: deleted
  };
  using Values = std::map<std::string, ValueState>;  // by upper-case name

  static std::string KeyOf(RegRoot root, std::string_view subKey);
  bool Gone(const std::string& key) const;
  bool HasDeletedChildren(const std::string& key) const;
  void Record(PlanStep step);

  Registry& real_;
  PlanLog& log_;
  std::set<std::string> deletedKeys_;
  std::map<std::string, Values> values_;
};

// The value's data as a line of text: strings as they are, numbers in
// decimal, lists joined by "|", anything else in hexadecimal.
std::string RegDataText(const RegValue& value);
std::string_view RegTypeName(std::uint32_t type);

}  // namespace scrubber
