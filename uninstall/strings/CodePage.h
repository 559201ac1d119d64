#pragma once
// Double-byte awareness of the ANSI code page: a backslash or vertical bar that
// is the second byte of a double-byte character is not a separator.
#include <cstddef>
#include <string_view>

namespace scrubber {

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual bool IsLeadByte(unsigned char byte) const = 0;
};

// Single-byte code pages (the Western ones): no lead bytes.
class SingleByteCodePage final : public CodePage {
 public:
  bool IsLeadByte(unsigned char) const override { return false; }
};

// Position of the last `separator` that is a character of its own, or npos.
std::size_t FindLastSeparator(std::string_view text, char separator, const CodePage& codePage);

}  // namespace scrubber
