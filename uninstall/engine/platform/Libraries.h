#pragma once
// Dynamic libraries and their exported entry points (LoadLibrary,
// GetProcAddress, FreeLibrary). The uninstaller calls only entry points of
// two shapes: no argument, or one pointer that it passes as null; both with
// the system's calling convention and a 32-bit result (an HRESULT).
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace scrubber {

enum class EntryArgs { None, NullPointer };

// A loaded library; freed when destroyed.
class Library {
 public:
  virtual ~Library() = default;
  // Whether the library exports the name.
  virtual bool HasExport(std::string_view name) = 0;
  // Looks the name up and calls it; nullopt when it is not exported. For an
  // entry point that returns nothing the result means nothing.
  virtual std::optional<std::int32_t> Call(std::string_view name, EntryArgs args) = 0;
};

class Libraries {
 public:
  virtual ~Libraries() = default;
  // nullptr when the library cannot be loaded.
  virtual std::unique_ptr<Library> Load(std::string_view path) = 0;
};

}  // namespace scrubber
