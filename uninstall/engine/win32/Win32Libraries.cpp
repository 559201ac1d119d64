#include "Win32Libraries.h"

#include <windows.h>

#include <string>

#include "Handles.h"

namespace scrubber {
namespace {

// The two shapes of entry point the uninstaller calls. WINAPI matters on the
// 32-bit platform, where the callee removes its own arguments.
using NoArgEntry = HRESULT(WINAPI*)();
using PointerArgEntry = HRESULT(WINAPI*)(void*);

class Win32Library : public Library {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}

  bool HasExport(std::string_view name) override { return Find(name) != nullptr; }

  std::optional<std::int32_t> Call(std::string_view name, EntryArgs args) override {
    FARPROC entry = Find(name);
    if (!entry) return std::nullopt;
    // Through void (*)() first: the one function pointer type that any other
    // converts to without a cast warning.
    auto untyped = reinterpret_cast<void (*)()>(entry);
    HRESULT result = args == EntryArgs::None ? reinterpret_cast<NoArgEntry>(untyped)()
                                             : reinterpret_cast<PointerArgEntry>(untyped)(nullptr);
    return static_cast<std::int32_t>(result);
  }

 private:
  FARPROC Find(std::string_view name) {
    std::string text(name);
    return GetProcAddress(module_.get(), text.c_str());
  }

  win32::Library module_;
};

}  // namespace

std::unique_ptr<Library> Win32Libraries::Load(std::string_view path) {
  std::string text(path);
  HMODULE module = LoadLibraryA(text.c_str());
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module);
}

}  // namespace scrubber
