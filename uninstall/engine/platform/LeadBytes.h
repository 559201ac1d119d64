#pragma once
// Which bytes of the ANSI code page start a double-byte character. A
// backslash (or vertical bar) that is the second byte of such a character is
// not a separator, so every search for one must step over lead bytes.
#include <array>
#include <cstddef>

namespace scrubber {

class LeadBytes {
 public:
  LeadBytes() { table_.fill(false); }  // single-byte code page
  bool operator()(unsigned char c) const { return table_[c]; }
  void Set(unsigned char first, unsigned char last) {
    for (unsigned c = first; c <= last; ++c) table_[c] = true;
  }
  // Length in bytes of the character at `pos`: 2 for a lead byte that has a
  // second byte after it, else 1.
  std::size_t CharLength(const char* text, std::size_t size, std::size_t pos) const {
    return (pos + 1 < size && table_[static_cast<unsigned char>(text[pos])]) ? 2 : 1;
  }

 private:
  std::array<bool, 256> table_{};
};

}  // namespace scrubber
