#include "FakeSystem.h"

namespace scrubber {

FakeSystem::FakeSystem() : faults_({"OemTextToAnsi", "CanOpenServiceManager"}) {
  for (unsigned i = 0; i < 256; ++i) oemTable_[i] = static_cast<unsigned char>(i);
  // Code page 437 letters and their code page 1252 places.
  static constexpr unsigned char kPairs[][2] = {
      {0x81, 0xFC}, {0x82, 0xE9}, {0x83, 0xE2}, {0x84, 0xE4}, {0x85, 0xE0}, {0x87, 0xE7}, {0x88, 0xEA},
      {0x8A, 0xE8}, {0x8E, 0xC4}, {0x90, 0xC9}, {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0xE1, 0xDF},
  };
  for (const auto& pair : kPairs) oemTable_[pair[0]] = pair[1];
}

std::string FakeSystem::OemTextToAnsi(std::string_view oem) {
  if (faults_.Check("OemTextToAnsi")) return std::string(oem);
  std::string ansi(oem);
  for (char& c : ansi) c = static_cast<char>(oemTable_[static_cast<unsigned char>(c)]);
  return ansi;
}

bool FakeSystem::CanOpenServiceManager() {
  if (faults_.Check("CanOpenServiceManager")) return false;
  return admin_;
}

}  // namespace scrubber
