#pragma once
// Dynamic libraries on LoadLibraryA / GetProcAddress / FreeLibrary.
#include "platform/Libraries.h"

namespace scrubber {

class Win32Libraries : public Libraries {
 public:
  std::unique_ptr<Library> Load(std::string_view path) override;
};

}  // namespace scrubber
