#pragma once
// Long and short (8.3) spellings of a path, found by looking up each of its
// components in its directory.
#include <span>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

enum class PathForm { Long, Short };

// Rewrites every existing component of `path` in its long name, or in its
// short name where it has one. A path without a backslash is taken below the
// current directory unless it begins with a drive; a drive letter becomes
// upper case; components that are
// not found (trailing arguments of a command line, a file yet to be made),
// "." and "..", and components holding wildcards stay as they are. The
// result never reaches kMaxPath characters: a path that is already that long
// is left alone, and a component whose other spelling would not fit keeps
// its spelling.
void CanonicalizePath(FileSystem& fs, std::string& path, PathForm form);
// The same, with the components within the first `settled` characters (an
// absolute path's directory, up to and with its backslash) already in that
// form and not looked up again. False when some found name kept its
// spelling for lack of room, or the path was left alone.
[[nodiscard]] bool CanonicalizePath(FileSystem& fs, std::string& path, PathForm form, std::size_t settled);

// The same on a NUL-terminated path in a fixed buffer, which is never
// written past its end; the path stays unchanged when the result does not
// fit or the buffer holds no terminator.
void CanonicalizePath(FileSystem& fs, std::span<char> buffer, PathForm form);

// True when the file or directory attributes can be read.
bool FileExists(FileSystem& fs, std::string_view path);

// The key under which two spellings of one directory compare equal: the full
// path with ".", "..", forward slashes and trailing separators resolved, then
// every existing component in its long name. nullopt when the path cannot be
// resolved.
std::optional<std::string> ComparablePath(FileSystem& fs, std::string_view path);

}  // namespace scrubber
