#pragma once
// The registry operations over the fake registry and a recording UI.
#include <gtest/gtest.h>

#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "RecordingUi.h"
#include "RegistryOperations.h"

namespace scrubber {

class RegistryFixture : public ::testing::Test {
 protected:
  static RegValue Raw(std::uint32_t type, std::string_view bytes) { return RegValue{type, std::string(bytes)}; }
  static RegValue Dword(std::uint32_t n) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return RegValue{kRegTypeDword, bytes};
  }

  FakeRegistry registry;
  FakeSystem system;
  FakeFileSystem fs;
  FakeProfile profile{fs};
  BuiltinStringTable table;
  MsgStrings strings{profile, "C:\\APP\\UNINST.INI", table};
  Globals globals;
  RecordingUi ui;
  RegistryOperations ops{registry, system, globals, strings, ui};
};

inline bool operator==(const RegValue& a, const RegValue& b) { return a.type == b.type && a.data == b.data; }
inline std::ostream& operator<<(std::ostream& os, const RegValue& v) {
  os << "type " << v.type << " [";
  for (unsigned char c : v.data) os << ' ' << static_cast<int>(c);
  return os << " ]";
}

}  // namespace scrubber
