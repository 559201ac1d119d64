#pragma once
// Registry values held in memory; key paths and value names compare with
// letter case ignored.
#include <map>
#include <string>

#include "FaultTable.h"
#include "platform/Registry.h"

namespace scrubber {

class FakeRegistry : public Registry {
 public:
  FakeRegistry();

  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) override;

  void SetValue(RegRoot root, std::string_view subKey, std::string_view valueName, RegValue value);
  void SetString(RegRoot root, std::string_view subKey, std::string_view valueName, std::string_view text);
  void SetDword(RegRoot root, std::string_view subKey, std::string_view valueName, std::uint32_t number);

  FaultTable& faults() { return faults_; }

 private:
  static std::string Key(RegRoot root, std::string_view subKey, std::string_view valueName);
  std::map<std::string, RegValue> values_;
  FaultTable faults_;
};

}  // namespace scrubber
