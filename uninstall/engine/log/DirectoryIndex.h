#pragma once
// Finds the directory records that a new "Made Dir: " or "File Tree: " value
// merges with, without walking the whole list: records are kept by their
// path in upper case. Every path ends in a backslash, so "agrees over the
// shorter length" means one of the two is the other or lies inside it.
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace scrubber {

class DirectoryIndex {
 public:
  void Add(std::size_t index, std::string_view path);
  void Rename(std::size_t index, std::string_view oldPath, std::string_view newPath);
  // The first record whose path equals `path` (letter case ignored).
  std::optional<std::size_t> FindEqual(std::string_view path) const;
  // The first record whose path and `path` agree over the shorter length.
  std::optional<std::size_t> FindNested(std::string_view path) const;

 private:
  std::map<std::string, std::set<std::size_t>, std::less<>> byPath_;
};

}  // namespace scrubber
