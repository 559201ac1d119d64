#pragma once
// The program's STRINGTABLE resource, on Windows.
#include "StringTable.h"

namespace scrubber {

class ResourceStringTable final : public StringTable {
 public:
  // `module` is the HINSTANCE holding the table; nullptr means the program.
  explicit ResourceStringTable(void* module = nullptr) : module_(module) {}
  std::string Load(int id) const override;

 private:
  void* module_;
};

}  // namespace scrubber
