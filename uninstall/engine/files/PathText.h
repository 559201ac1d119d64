#pragma once
// Text rules for Windows paths: letter case ignored (ASCII letters, as the
// uninstaller's comparisons do), backslashes searched with double-byte
// characters respected, and the full-path normalisation that Win32 applies
// before it looks at the disk (GetFullPathName).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LeadBytes.h"

namespace scrubber {

char AsciiUpper(char c);
std::string AsciiUpperCase(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
bool HasWildcard(std::string_view text);

// Position of the first backslash at or after `from` that is not the second
// byte of a double-byte character; npos when there is none.
std::size_t FindBackslash(std::string_view path, std::size_t from, const LeadBytes& lead);
std::size_t FindLastBackslash(std::string_view path, const LeadBytes& lead);
// The path ends in a backslash of its own, not in the second byte of a
// double-byte character.
bool EndsWithBackslash(std::string_view path, const LeadBytes& lead);
// `dir` with a closing backslash ("C:\A" -> "C:\A\"); unchanged when it has one.
std::string WithBackslash(std::string dir, const LeadBytes& lead);
// The directory part of a path with its backslash ("C:\A\B.EXE" ->
// "C:\A\"); empty when the path has no backslash.
std::string DirectoryOf(std::string_view path, const LeadBytes& lead);

// A path taken apart as Win32 resolves it. `root` is "C:" for a drive or
// "\\server\share" for a network share; `parts` are the components below it
// with "." and ".." applied and the trailing dots and blanks dropped that the
// platform ignores.
struct FullPath {
  std::string root;
  std::vector<std::string> parts;
  bool isUnc() const { return root.size() > 2 && root[0] == '\\'; }
  // "C:\", "C:\A\B", "\\server\share", "\\server\share\A".
  std::string Text() const;
};

// Resolves `path` against `currentDir` (itself a full path) the way
// GetFullPathName does: forward slashes, ".", "..", repeated and trailing
// separators, drive-relative and root-relative forms. nullopt for an empty
// path, a path or result of kMaxPath characters or more, or a malformed root.
std::optional<FullPath> SplitFullPath(std::string_view path, std::string_view currentDir, const LeadBytes& lead);
std::optional<std::string> NormalizePath(std::string_view path, std::string_view currentDir, const LeadBytes& lead);

}  // namespace scrubber
