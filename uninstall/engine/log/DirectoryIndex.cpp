#include "DirectoryIndex.h"

#include "PathText.h"

namespace scrubber {
namespace {

std::string Key(std::string_view path) {
  std::string key(path);
  for (char& c : key) c = AsciiUpper(c);
  return key;
}

void TakeFirst(std::optional<std::size_t>& best, std::size_t candidate) {
  if (!best || candidate < *best) best = candidate;
}

}  // namespace

void DirectoryIndex::Add(std::size_t index, std::string_view path) { byPath_[Key(path)].insert(index); }

void DirectoryIndex::Rename(std::size_t index, std::string_view oldPath, std::string_view newPath) {
  auto it = byPath_.find(Key(oldPath));
  if (it != byPath_.end()) {
    it->second.erase(index);
    if (it->second.empty()) byPath_.erase(it);
  }
  Add(index, newPath);
}

std::optional<std::size_t> DirectoryIndex::FindEqual(std::string_view path) const {
  auto it = byPath_.find(Key(path));
  if (it == byPath_.end()) return std::nullopt;
  return *it->second.begin();
}

std::optional<std::size_t> DirectoryIndex::FindNested(std::string_view path) const {
  const std::string key = Key(path);
  std::optional<std::size_t> best;
  // Records that `path` lies in: its prefixes that end in a backslash.
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i] != '\\') continue;
    auto it = byPath_.find(std::string_view(key).substr(0, i + 1));
    if (it != byPath_.end()) TakeFirst(best, *it->second.begin());
  }
  // Records that lie in `path`: the keys that begin with it, in one run.
  for (auto it = byPath_.lower_bound(key); it != byPath_.end() && it->first.starts_with(key); ++it)
    TakeFirst(best, *it->second.begin());
  return best;
}

}  // namespace scrubber
