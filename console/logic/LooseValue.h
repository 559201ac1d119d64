#pragma once
// A loosely typed argument: a number or a text, as the probe's counts are.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace rosterly {

class LooseValue {
 public:
  LooseValue(long long number) : value_(number) {}                 // NOLINT: implicit on purpose
  LooseValue(int number) : value_(static_cast<long long>(number)) {}  // NOLINT
  LooseValue(std::string text) : value_(std::move(text)) {}          // NOLINT
  LooseValue(const char* text) : value_(std::string(text)) {}        // NOLINT

  bool IsEmptyText() const;
  // The value as a count from 0 to 4294967295: a number, or a text of decimal
  // digits only. Anything else has no count.
  std::optional<std::uint32_t> AsCount() const;

 private:
  std::variant<long long, std::string> value_;
};

}  // namespace rosterly
