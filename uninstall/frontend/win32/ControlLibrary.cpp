#include "ControlLibrary.h"

namespace scrubber {
namespace {

// SEM_NOOPENFILEERRORBOX: a missing library is not worth a system message.
constexpr UINT kQuietErrorMode = SEM_NOOPENFILEERRORBOX;
static_assert(kQuietErrorMode == 0x8000);

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void ControlLibrary::Load(HINSTANCE instance, bool autoSubclass) {
  const UINT previous = SetErrorMode(kQuietErrorMode);
  library_.Reset(LoadLibraryA("CTL3D32.DLL"));
  SetErrorMode(previous);
  if (!library_.valid()) return;
  auto reg = Lookup<RegisterFn>(library_.get(), "Ctl3dRegister");
  unregister_ = Lookup<RegisterFn>(library_.get(), "Ctl3dUnregister");
  auto autoSub = Lookup<RegisterFn>(library_.get(), "Ctl3dAutoSubclass");
  subclassDlgEx_ = Lookup<SubclassFn>(library_.get(), "Ctl3dSubclassDlgEx");
  if (!reg || !reg(instance)) {
    subclassDlgEx_ = nullptr;  // absent for the rest of the run
    unregister_ = nullptr;
    return;
  }
  instance_ = instance;
  active_ = true;
  if (autoSubclass && autoSub) (void)autoSub(instance);
}

void ControlLibrary::Unload() {
  if (unregister_ && active_) (void)unregister_(instance_);
  active_ = false;
  unregister_ = nullptr;
  subclassDlgEx_ = nullptr;
  library_.Reset();
}

bool ControlLibrary::SubclassDialog(HWND dialog, DWORD flags) const {
  if (!active_ || !subclassDlgEx_) return false;
  (void)subclassDlgEx_(dialog, flags);
  return true;
}

}  // namespace scrubber
