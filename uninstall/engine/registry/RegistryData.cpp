#include "RegistryData.h"

#include <algorithm>

#include "RegistryTables.h"
#include "TextRules.h"
#include "UninstallModel.h"

namespace scrubber {
namespace {

// The next line of packed old data: up to its NUL or the end of the data.
std::string_view NextLine(std::string_view data, std::size_t& pos) {
  const std::size_t start = pos;
  const std::size_t end = std::min(data.find('\0', start), data.size());
  pos = end + 1;
  return data.substr(start, end - start);
}

std::string_view FirstLine(std::string_view data) {
  std::size_t pos = 0;
  return NextLine(data, pos);
}

// Every line up to the empty one that ends the list, each with its NUL, and
// the closing empty string: a string list without it is not the value the
// installation replaced (and readers run past its end). No lines: no data.
std::string MultiStringData(std::string_view data) {
  std::string out;
  for (std::size_t pos = 0; pos < data.size();) {
    const std::string_view line = NextLine(data, pos);
    if (line.empty()) break;
    out.append(line);
    out += '\0';
  }
  if (!out.empty()) out += '\0';
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Pairs of hexadecimal digits, high half first; any other character is
// passed over and an unpaired last digit is dropped.
std::string BinaryData(std::string_view line) {
  std::string out;
  int high = -1;
  for (char c : line) {
    const int digit = HexDigit(AsciiUpper(c));
    if (digit < 0) continue;
    if (high < 0) {
      high = digit;
    } else {
      out += static_cast<char>(high * 16 + digit);
      high = -1;
    }
  }
  return out;
}

std::uint32_t LittleEndian32(std::string_view bytes) {
  std::uint32_t n = 0;
  for (std::size_t i = 0; i < 4; ++i) n |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return n;
}

}  // namespace

RegValue DwordValue(std::uint32_t number) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return RegValue{kRegTypeDword, bytes};
}

RegValue TextValue(std::string_view text, std::uint32_t type) {
  std::string bytes(text);
  bytes += '\0';
  return RegValue{type, bytes};
}

std::optional<RegValue> ValueFromOldData(std::int32_t typeIndex, std::string_view oldData) {
  const auto type = RegTypeFromIndex(typeIndex);
  if (!type) return std::nullopt;
  switch (typeIndex) {
    case kRegSz:
    case kRegExpandSz:
      return TextValue(FirstLine(oldData), *type);
    case kRegMultiSz:
      return RegValue{*type, MultiStringData(oldData)};
    case kRegDword:
      return DwordValue(static_cast<std::uint32_t>(ParseDecimal(FirstLine(oldData))));
    case kRegBinary:
      return RegValue{*type, BinaryData(FirstLine(oldData))};
  }
  return std::nullopt;
}

std::optional<std::int32_t> ReadUseCount(const RegValue& value) {
  switch (value.type) {
    case kRegTypeSz:
      return ParseDecimal(value.data.substr(0, value.data.find('\0')));
    case kRegTypeDword:
    case kRegTypeBinary:
      if (value.data.size() != 4) return std::nullopt;
      return static_cast<std::int32_t>(LittleEndian32(value.data));
  }
  return std::nullopt;
}

}  // namespace scrubber
