#include "ShortNames.h"

#include "files/PathText.h"

namespace scrubber {
namespace {

bool IsForbidden(char c) {
  static constexpr std::string_view kForbidden = "\"*+,/:;<=>?[\\]| .";
  return static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
}

std::string Cleaned(std::string_view text, std::size_t limit) {
  std::string out;
  for (char c : text) {
    if (out.size() == limit) break;
    if (!IsForbidden(c)) out += AsciiUpper(c);
  }
  return out;
}

}  // namespace

bool IsShortName(std::string_view name) {
  if (name == "." || name == "..") return true;
  std::size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  for (char c : base) {
    if (IsForbidden(c)) return false;
  }
  for (char c : ext) {
    if (IsForbidden(c)) return false;
  }
  return true;
}

std::string MakeShortName(std::string_view longName, unsigned ordinal) {
  std::size_t dot = longName.rfind('.');
  std::string_view stem = dot == std::string_view::npos || dot == 0 ? longName : longName.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos || dot == 0 ? std::string_view{} : longName.substr(dot + 1);
  std::string tail = "~" + std::to_string(ordinal);
  std::string base = Cleaned(stem, 8 - tail.size());
  if (base.empty()) base = "_";
  std::string shortName = base + tail;
  std::string extension = Cleaned(ext, 3);
  if (!extension.empty()) shortName += "." + extension;
  return shortName;
}

}  // namespace scrubber
