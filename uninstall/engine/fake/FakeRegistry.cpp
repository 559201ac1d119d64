#include "FakeRegistry.h"

#include "files/PathText.h"

namespace scrubber {

FakeRegistry::FakeRegistry() : faults_({"QueryValue"}) {}

std::string FakeRegistry::Key(RegRoot root, std::string_view subKey, std::string_view valueName) {
  std::string key = std::to_string(static_cast<int>(root)) + "\\";
  while (!subKey.empty() && subKey.back() == '\\') subKey.remove_suffix(1);
  for (char c : subKey) key += AsciiUpper(c);
  key += '\0';
  for (char c : valueName) key += AsciiUpper(c);
  return key;
}

std::optional<RegValue> FakeRegistry::QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) {
  if (faults_.Check("QueryValue")) return std::nullopt;
  auto it = values_.find(Key(root, subKey, valueName));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void FakeRegistry::SetValue(RegRoot root, std::string_view subKey, std::string_view valueName, RegValue value) {
  values_[Key(root, subKey, valueName)] = std::move(value);
}

void FakeRegistry::SetString(RegRoot root, std::string_view subKey, std::string_view valueName, std::string_view text) {
  std::string data(text);
  data += '\0';
  SetValue(root, subKey, valueName, {1, std::move(data)});
}

void FakeRegistry::SetDword(RegRoot root, std::string_view subKey, std::string_view valueName, std::uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
  SetValue(root, subKey, valueName, {4, std::move(data)});
}

}  // namespace scrubber
