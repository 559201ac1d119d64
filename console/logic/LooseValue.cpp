#include "LooseValue.h"

namespace rosterly {

bool LooseValue::IsEmptyText() const {
  const auto* text = std::get_if<std::string>(&value_);
  return text != nullptr && text->empty();
}

std::optional<std::uint32_t> LooseValue::AsCount() const {
  constexpr unsigned long long kMax = 0xFFFFFFFFull;
  if (const auto* number = std::get_if<long long>(&value_)) {
    if (*number < 0 || static_cast<unsigned long long>(*number) > kMax) return std::nullopt;
    return static_cast<std::uint32_t>(*number);
  }
  const auto& text = std::get<std::string>(value_);
  if (text.empty() || text.size() > 10) return std::nullopt;
  unsigned long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<unsigned long long>(c - '0');
  }
  if (n > kMax) return std::nullopt;
  return static_cast<std::uint32_t>(n);
}

}  // namespace rosterly
