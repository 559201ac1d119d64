#include "PathText.h"

#include "platform/FileSystem.h"

namespace scrubber {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

std::size_t FindBackslash(std::string_view path, std::size_t from, const LeadBytes& lead) {
  for (std::size_t i = from; i < path.size(); i += lead.CharLength(path.data(), path.size(), i)) {
    if (path[i] == '\\') return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastBackslash(std::string_view path, const LeadBytes& lead) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += lead.CharLength(path.data(), path.size(), i)) {
    if (path[i] == '\\') last = i;
  }
  return last;
}

bool EndsWithBackslash(std::string_view path, const LeadBytes& lead) {
  return !path.empty() && FindLastBackslash(path, lead) == path.size() - 1;
}

std::string WithBackslash(std::string dir, const LeadBytes& lead) {
  if (!EndsWithBackslash(dir, lead)) dir += '\\';
  return dir;
}

std::string DirectoryOf(std::string_view path, const LeadBytes& lead) {
  const std::size_t slash = FindLastBackslash(path, lead);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FullPath::Text() const {
  std::string text = root;
  if (!isUnc() && parts.empty()) text += '\\';
  for (const auto& part : parts) {
    text += '\\';
    text += part;
  }
  return text;
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits at separators (both slashes), stepping over double-byte characters.
std::vector<std::string> SplitComponents(std::string_view text, const LeadBytes& lead) {
  std::vector<std::string> parts;
  std::string current;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = lead.CharLength(text.data(), text.size(), i);
    if (len == 1 && IsSeparator(text[i])) {
      parts.push_back(std::move(current));
      current.clear();
    } else {
      current.append(text.substr(i, len));
    }
    i += len;
  }
  parts.push_back(std::move(current));
  return parts;
}

// Applies the components of `relative` to `parts`. The last component loses
// its trailing dots and blanks, any other a single trailing dot, as Win32
// ignores them.
void ApplyComponents(std::vector<std::string>& parts, std::string_view relative, const LeadBytes& lead) {
  std::vector<std::string> pieces = SplitComponents(relative, lead);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::string& piece = pieces[i];
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    bool last = i + 1 == pieces.size();
    if (last) {
      while (!piece.empty() && (piece.back() == '.' || piece.back() == ' ')) piece.pop_back();
    } else if (piece.back() == '.' && piece.find_first_not_of('.') != std::string::npos) {
      piece.pop_back();
    }
    if (!piece.empty()) parts.push_back(std::move(piece));
  }
}

// Root of a network path: "\\server\share"; the rest follows in `rest`.
std::optional<std::string> UncRoot(std::string_view path, std::string_view& rest, const LeadBytes& lead) {
  std::vector<std::string> pieces = SplitComponents(path.substr(2), lead);
  if (pieces.size() < 2 || pieces[0].empty() || pieces[1].empty()) return std::nullopt;
  std::size_t used = 2 + pieces[0].size() + 1 + pieces[1].size();
  rest = path.substr(std::min(used, path.size()));
  return "\\\\" + pieces[0] + "\\" + pieces[1];
}

}  // namespace

std::optional<FullPath> SplitFullPath(std::string_view path, std::string_view currentDir, const LeadBytes& lead) {
  if (path.empty() || path.size() >= kMaxPath || path.find('\0') != std::string_view::npos) return std::nullopt;
  FullPath full;
  std::string_view rest;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    auto root = UncRoot(path, rest, lead);
    if (!root) return std::nullopt;
    full.root = *root;
  } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    full.root = {AsciiUpper(path[0]), ':'};
    rest = path.substr(2);
    if (rest.empty() || !IsSeparator(rest[0])) {
      // Drive-relative: below the current directory when it is on that drive.
      auto cwd = SplitFullPath(currentDir, "", lead);
      if (cwd && EqualsNoCase(cwd->root, full.root)) full.parts = cwd->parts;
    }
  } else {
    auto cwd = SplitFullPath(currentDir, "", lead);
    if (!cwd) return std::nullopt;
    full.root = cwd->root;
    if (!IsSeparator(path[0])) full.parts = cwd->parts;
    rest = path;
  }
  ApplyComponents(full.parts, rest, lead);
  if (full.Text().size() >= kMaxPath) return std::nullopt;
  return full;
}

std::optional<std::string> NormalizePath(std::string_view path, std::string_view currentDir, const LeadBytes& lead) {
  auto full = SplitFullPath(path, currentDir, lead);
  if (!full) return std::nullopt;
  return full->Text();
}

}  // namespace scrubber
