// The protected-key guard switched off, for the build that proves the
// oracle sees what the guard prevents. Everything else of the file is the
// real one.
#define IsProtectedKey IsProtectedKeyAsBuilt
#include "../../uninstall/engine/registry/ProtectedKeys.cpp"
#undef IsProtectedKey

namespace scrubber {

bool IsProtectedKey(RegRoot, std::string_view, const LeadBytes&) {
  return false;
}

}  // namespace scrubber
