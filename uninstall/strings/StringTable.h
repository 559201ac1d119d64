#pragma once
// Where the default texts come from: the program's own string table resource
// on Windows, the built-in copy of the same table elsewhere.
#include <string>
#include <string_view>

namespace scrubber {

class StringTable {
 public:
  virtual ~StringTable() = default;
  // The text of string `id`; empty when the table has no such string.
  virtual std::string Load(int id) const = 0;
};

// The texts compiled into the program (the same source as the resource).
std::string_view BuiltinString(int id);

class BuiltinStringTable final : public StringTable {
 public:
  std::string Load(int id) const override { return std::string(BuiltinString(id)); }
};

}  // namespace scrubber
