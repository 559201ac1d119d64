#include "Wildcard.h"

#include <string>

#include "files/PathText.h"

namespace scrubber {
namespace {

// The pattern rewritten into the DOS wildcard forms the platform matches
// with: '<' a star that stops at the name's last dot, '>' a question mark
// that may match nothing before a dot or at the end, '"' a dot that may
// match the end of the name.
std::string Translate(std::string_view pattern) {
  if (pattern == "*.*") return "*";
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '?') {
      out += '>';
    } else if (c == '*' && next == '.') {
      out += '<';
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      out += '"';
    } else {
      out += AsciiUpper(c);
    }
  }
  return out;
}

bool Match(std::string_view expr, std::string_view name, std::size_t lastDot) {
  if (expr.empty()) return name.empty();
  char e = expr[0];
  std::string_view restExpr = expr.substr(1);
  switch (e) {
    case '*':
      for (std::size_t n = 0; n <= name.size(); ++n) {
        if (Match(restExpr, name.substr(n), lastDot == std::string_view::npos || lastDot < n ? std::string_view::npos : lastDot - n)) return true;
      }
      return false;
    case '<': {
      // May not swallow the name's last dot.
      std::size_t limit = lastDot == std::string_view::npos ? name.size() : lastDot;
      for (std::size_t n = 0; n <= limit; ++n) {
        if (Match(restExpr, name.substr(n), lastDot == std::string_view::npos ? lastDot : lastDot - n)) return true;
      }
      return false;
    }
    case '>':
      if (name.empty() || name[0] == '.') {
        std::size_t skip = expr.find_first_not_of('>');
        return Match(skip == std::string_view::npos ? std::string_view{} : expr.substr(skip), name, lastDot);
      }
      return Match(restExpr, name.substr(1), lastDot == std::string_view::npos || lastDot == 0 ? std::string_view::npos : lastDot - 1);
    case '"':
      if (name.empty()) return Match(restExpr, name, lastDot);
      if (name[0] != '.') return false;
      return Match(restExpr, name.substr(1), lastDot == 0 ? std::string_view::npos : lastDot - 1);
    default:
      if (name.empty() || AsciiUpper(name[0]) != e) return false;
      return Match(restExpr, name.substr(1), lastDot == std::string_view::npos || lastDot == 0 ? std::string_view::npos : lastDot - 1);
  }
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  std::string expr = Translate(pattern);
  return Match(expr, name, name.rfind('.'));
}

}  // namespace scrubber
