#pragma once
// Small Win32 helpers shared by the actions: error texts, file contents,
// existence tests.
#include <windows.h>

#include <string>
#include <string_view>

#include "Status.h"

namespace sample {

// "what: error N (system text)" for the last Win32 error or the one given.
Status Failure(std::string_view what, DWORD error = GetLastError());

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

[[nodiscard]] Status ReadBytes(const std::string& path, std::string& bytes);
[[nodiscard]] Status WriteBytes(const std::string& path, std::string_view bytes);

// Puts a source at a path: a file copied, or "text:" followed by the
// file's text. Fails when the target exists, unless overwriting.
[[nodiscard]] Status PlaceFile(const std::string& source, const std::string& target, bool overwrite);

// Creates the missing directories above a path, without recording them.
[[nodiscard]] Status CreateParents(const std::string& path);

}  // namespace sample
