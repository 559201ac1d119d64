#pragma once
// Splits the log into lines the way the installer's reader always has: a CR
// ends a line, LF bytes are dropped wherever they are, empty lines are
// skipped, and a line longer than 2047 characters continues as the next line.
// Bytes arrive in blocks of 1024; memory stays bounded whatever the input.
//
// A second mode reads SYSTEM.INI: the same CR and LF rules, but empty lines
// are returned too and a line holds at most 259 characters; a longer line
// continues as the next piece. Each piece tells whether it ends its line,
// so that a caller can copy a long line whole, and whether a CR ended it,
// so that a caller can tell a last line that had no line end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

inline constexpr std::size_t kMaxLineLength = 2047;
inline constexpr std::size_t kMaxIniLineLength = 259;
inline constexpr std::size_t kReadBlock = 1024;

// A log already in memory (tests, benchmarks, fuzzing).
class MemoryReader final : public FileReader {
 public:
  explicit MemoryReader(std::string_view bytes) : bytes_(bytes) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override;
  bool Seek(std::uint64_t offset) override;

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

enum class LineMode {
  Log,  // empty lines skipped, kMaxLineLength
  Ini,  // empty lines returned, kMaxIniLineLength
};

struct LogLine {
  std::string text;          // at most the mode's maximum bytes, no CR or LF
  std::uint64_t offset = 0;  // file offset of the line's first character
                             // (of its line end, for an empty line)
  // False for a piece that the next piece continues (the line was longer
  // than the mode's maximum); true for the last piece of a line.
  bool endsLine = true;
  // True when a CR ended the line in the file; false for a piece that the
  // next continues and for a last line that the end of the file ended.
  bool hadLineEnd = true;
};

class LineReader {
 public:
  explicit LineReader(FileReader& source, LineMode mode = LineMode::Log)
      : source_(source), mode_(mode), maxLength_(mode == LineMode::Ini ? kMaxIniLineLength : kMaxLineLength) {}
  // The next line (or piece of a long line), or nullopt at the end of the
  // file (a read error ends the file too). In the log mode only non-empty
  // lines come.
  std::optional<LogLine> Next();
  // After Next() answered nullopt: whether the file's last line ended with
  // a CR (true for a file without any line, too).
  bool EndedWithLineEnd() const { return lastHadLineEnd_; }

 private:
  bool Fill();

  FileReader& source_;
  LineMode mode_;
  std::size_t maxLength_;
  bool lastHadLineEnd_ = true;
  char block_[kReadBlock];
  std::size_t blockLen_ = 0;
  std::size_t blockPos_ = 0;
  std::uint64_t blockOffset_ = 0;  // file offset of block_[0]
  bool atEnd_ = false;
};

}  // namespace scrubber
