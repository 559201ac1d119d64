#include "RegistryData.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace sample {
namespace {

constexpr std::size_t kDwordBytes = 4;
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kMultiSeparator = ';';

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// A log line ends at a carriage return, so old data may hold none.
bool FitsOnALine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

int HexValue(char c) {
  const char* at = std::strchr(kHexDigits, std::tolower(static_cast<unsigned char>(c)));
  return c != '\0' && at ? static_cast<int>(at - kHexDigits) : -1;
}

}  // namespace

std::optional<KeyPath> ParseKeyPath(std::string_view text) {
  static constexpr const char* kRoots[][2] = {{"HKCR", "HKEY_CLASSES_ROOT"},
                                              {"HKCU", "HKEY_CURRENT_USER"},
                                              {"HKLM", "HKEY_LOCAL_MACHINE"},
                                              {"HKU", "HKEY_USERS"},
                                              {"HKCC", "HKEY_CURRENT_CONFIG"}};
  std::size_t slash = text.find('\\');
  if (slash == std::string_view::npos || slash + 1 == text.size()) return std::nullopt;
  std::string_view root = text.substr(0, slash);
  for (int i = 0; i < 5; ++i) {
    if (SameText(root, kRoots[i][0]) || SameText(root, kRoots[i][1])) {
      return KeyPath{i, std::string(text.substr(slash + 1))};
    }
  }
  return std::nullopt;
}

std::optional<ValueType> ParseValueType(std::string_view text) {
  static constexpr const char* kNames[] = {"sz", "expand", "multi", "dword", "binary"};
  for (int i = 0; i < 5; ++i) {
    if (SameText(text, kNames[i])) return static_cast<ValueType>(i);
  }
  return std::nullopt;
}

Status EncodeValue(ValueType type, std::string_view text, std::string& bytes) {
  bytes.clear();
  switch (type) {
    case ValueType::Sz:
    case ValueType::ExpandSz:
      bytes.assign(text);
      bytes += '\0';
      return Status::Ok();
    case ValueType::MultiSz:
      for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find(kMultiSeparator, at);
        if (end == std::string_view::npos) end = text.size();
        bytes.append(text.substr(at, end - at));
        bytes += '\0';
        at = end + 1;
      }
      bytes += '\0';
      return Status::Ok();
    case ValueType::Dword: {
      std::string number(text);
      char* end = nullptr;
      const long long value = std::strtoll(number.c_str(), &end, 0);
      if (number.empty() || *end != '\0') return Status::Fail("not a number: " + number);
      const auto word = static_cast<std::uint32_t>(value);
      for (std::size_t i = 0; i < kDwordBytes; ++i) bytes += static_cast<char>((word >> (8 * i)) & 0xFF);
      return Status::Ok();
    }
    case ValueType::Binary: {
      int high = -1;
      for (char c : text) {
        if (c == ' ') continue;
        int digit = HexValue(c);
        if (digit < 0) return Status::Fail("not hexadecimal: " + std::string(text));
        if (high < 0) {
          high = digit;
        } else {
          bytes += static_cast<char>(high * 16 + digit);
          high = -1;
        }
      }
      return high < 0 ? Status::Ok() : Status::Fail("odd number of hexadecimal digits: " + std::string(text));
    }
  }
  return Status::Fail("unknown type");
}

Status OldValueLines(ValueType type, std::string_view bytes, std::vector<std::string>& lines) {
  lines.clear();
  switch (type) {
    case ValueType::Sz:
    case ValueType::ExpandSz: {
      // Written back as the text and one NUL: anything else would not come back.
      std::string_view text = bytes.substr(0, bytes.find('\0'));
      if (bytes.size() != text.size() + 1 || !FitsOnALine(text)) {
        return Status::Fail("the old text cannot be logged so that it comes back unchanged");
      }
      lines.emplace_back(text);
      return Status::Ok();
    }
    case ValueType::MultiSz: {
      // One line per string; an empty string would end the list early.
      std::string_view rest = bytes;
      while (!rest.empty() && rest.front() != '\0') {
        std::size_t end = rest.find('\0');
        if (end == std::string_view::npos) return Status::Fail("the old string list is not terminated");
        if (!FitsOnALine(rest.substr(0, end))) return Status::Fail("an old string holds a line end");
        lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
      }
      if (rest.size() > 1) return Status::Fail("the old string list holds an empty string");
      return Status::Ok();
    }
    case ValueType::Dword: {
      if (bytes.size() != kDwordBytes) return Status::Fail("the old number is not 4 bytes long");
      std::uint32_t word = 0;
      for (std::size_t i = 0; i < kDwordBytes; ++i) word |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
      // Read back as a signed decimal number.
      lines.push_back(std::to_string(static_cast<std::int32_t>(word)));
      return Status::Ok();
    }
    case ValueType::Binary: {
      std::string hex;
      for (unsigned char byte : bytes) {
        if (!hex.empty()) hex += ' ';
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0xF];
      }
      lines.push_back(hex);
      return Status::Ok();
    }
  }
  return Status::Fail("unknown type");
}

}  // namespace sample
