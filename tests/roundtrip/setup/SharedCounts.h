#pragma once
// The shared-component counts under HKLM\...\SharedDLLs: one value per file,
// named by its full path, holding how many installed products use it.
#include <windows.h>

#include <string>
#include <string_view>

#include "Status.h"

namespace sample {

// Adds one user, keeping the form of an existing count; a new count is 1 in
// the given form ("dword" or "sz").
[[nodiscard]] Status AddSharedUse(const std::string& path, std::string_view newForm);
// Sets a count outright, as another product would have left it.
[[nodiscard]] Status SetSharedCount(const std::string& path, DWORD count, std::string_view form);
bool HasSharedCount(const std::string& path);

}  // namespace sample
