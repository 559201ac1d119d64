#pragma once
// Splits the log into lines the way the installer's reader always has: a CR
// ends a line, LF bytes are dropped wherever they are, empty lines are
// skipped, and a line longer than 2047 characters continues as the next line.
// Bytes arrive in blocks of 1024; memory stays bounded whatever the input.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

inline constexpr std::size_t kMaxLineLength = 2047;
inline constexpr std::size_t kReadBlock = 1024;

// A log already in memory (tests, benchmarks, fuzzing).
class MemoryReader final : public FileReader {
 public:
  explicit MemoryReader(std::string_view bytes) : bytes_(bytes) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override;

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

struct LogLine {
  std::string text;          // at most kMaxLineLength bytes, no CR or LF
  std::uint64_t offset = 0;  // file offset of the line's first character
};

class LineReader {
 public:
  explicit LineReader(FileReader& source) : source_(source) {}
  // The next non-empty line, or nullopt at the end of the file (a read
  // error ends the file too).
  std::optional<LogLine> Next();

 private:
  bool Fill();

  FileReader& source_;
  char block_[kReadBlock];
  std::size_t blockLen_ = 0;
  std::size_t blockPos_ = 0;
  std::uint64_t blockOffset_ = 0;  // file offset of block_[0]
  bool atEnd_ = false;
};

}  // namespace scrubber
