#include "LineReader.h"

#include <algorithm>
#include <cstring>

namespace scrubber {

std::optional<std::size_t> MemoryReader::Read(std::span<char> buffer) {
  const std::size_t n = std::min(buffer.size(), bytes_.size() - pos_);
  std::memcpy(buffer.data(), bytes_.data() + pos_, n);
  pos_ += n;
  return n;
}

bool MemoryReader::Seek(std::uint64_t offset) {
  pos_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size()));
  return true;
}

bool LineReader::Fill() {
  if (blockPos_ < blockLen_) return true;
  if (atEnd_) return false;
  blockOffset_ += blockLen_;
  blockLen_ = source_.Read(std::span<char>(block_, sizeof block_)).value_or(0);
  blockPos_ = 0;
  if (blockLen_ == 0) atEnd_ = true;
  return blockLen_ != 0;
}

std::optional<LogLine> LineReader::Next() {
  LogLine line;
  bool started = false;  // a character or the line end of this line was seen
  while (Fill()) {
    const char c = block_[blockPos_];
    if (c == '\r') {
      if (!started) line.offset = blockOffset_ + blockPos_;
      ++blockPos_;
      if (!line.text.empty() || mode_ == LineMode::Ini) {
        lastHadLineEnd_ = true;
        return line;
      }
      continue;
    }
    if (c == '\n') {
      ++blockPos_;
      continue;
    }
    // A full line ends here; this character starts the next one.
    if (line.text.size() == maxLength_) {
      line.endsLine = false;
      line.hadLineEnd = false;
      lastHadLineEnd_ = false;
      return line;
    }
    if (line.text.empty()) line.offset = blockOffset_ + blockPos_;
    started = true;
    // Take the whole run of ordinary characters at once.
    const std::size_t room = maxLength_ - line.text.size();
    std::size_t end = blockPos_;
    while (end < blockLen_ && end - blockPos_ < room && block_[end] != '\r' && block_[end] != '\n') ++end;
    line.text.append(block_ + blockPos_, end - blockPos_);
    blockPos_ = end;
  }
  if (!line.text.empty()) {
    // The end of the file ended the last line.
    line.hadLineEnd = false;
    lastHadLineEnd_ = false;
    return line;
  }
  return std::nullopt;
}

}  // namespace scrubber
