#include "FakeSystem.h"

#include <algorithm>

#include "files/PathText.h"

namespace scrubber {

FakeSystem::FakeSystem() : faults_({"OemTextToAnsi", "CanOpenServiceManager", "TopLevelWindowExists"}) {
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


bool FakeSystem::TopLevelWindowExists(std::string_view className) {
  ++looks_[AsciiUpperCase(className)];
  if (faults_.Check("TopLevelWindowExists")) return false;
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const Window& w) { return EqualsNoCase(w.className, className); });
  if (it == windows_.end()) return false;
  if (it->looksLeft) {
    if (*it->looksLeft == 0) {
      windows_.erase(it);
      return false;
    }
    --*it->looksLeft;
  }
  return true;
}

void FakeSystem::AddWindow(std::string_view className, std::optional<unsigned> closesAfterLooks) {
  CloseWindow(className);
  windows_.push_back({std::string(className), closesAfterLooks});
}

void FakeSystem::CloseWindow(std::string_view className) {
  std::erase_if(windows_, [&](const Window& w) { return EqualsNoCase(w.className, className); });
}

unsigned FakeSystem::LooksFor(std::string_view className) const {
  auto it = looks_.find(AsciiUpperCase(className));
  return it == looks_.end() ? 0 : it->second;
}

}  // namespace scrubber
