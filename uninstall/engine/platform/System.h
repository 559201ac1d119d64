#pragma once
// Facts about the running system and the few calls that fit no other interface.
#include <string>
#include <string_view>

namespace scrubber {

class System {
 public:
  virtual ~System() = default;
  // 1 on the NT family, 2 on any other platform.
  virtual int PlatformKind() = 0;
  virtual unsigned MajorVersion() = 0;
  // OemToChar: OEM code page bytes to ANSI code page bytes, same length.
  // (Not named OemToAnsi: windows.h defines that as a macro.)
  virtual std::string OemTextToAnsi(std::string_view oem) = 0;
  // Whether the service control manager opens with generic read, write and
  // execute access; the administrator check relies on it.
  virtual bool CanOpenServiceManager() = 0;
  // Whether a top-level window of the class exists (FindWindow).
  virtual bool TopLevelWindowExists(std::string_view className) = 0;
};

}  // namespace scrubber
