#include "LineReader.h"

#include <gtest/gtest.h>

#include <vector>

namespace scrubber {
namespace {

std::vector<LogLine> ReadAll(std::string_view bytes) {
  MemoryReader source(bytes);
  LineReader reader(source);
  std::vector<LogLine> lines;
  while (auto line = reader.Next()) lines.push_back(*line);
  return lines;
}

std::vector<std::string> Texts(std::string_view bytes) {
  std::vector<std::string> texts;
  for (const LogLine& line : ReadAll(bytes)) texts.push_back(line.text);
  return texts;
}

TEST(LineReader, CrEndsALineLfIsDroppedEmptyLinesVanish) {
  const std::vector<std::string> expected{"one", "two", "three"};
  EXPECT_EQ(Texts("one\r\ntwo\r\nthree\r\n"), expected);
  EXPECT_EQ(Texts("one\rtwo\rthree"), expected);
  EXPECT_EQ(Texts("\r\n\r\none\r\n\r\n\r\ntwo\r\r\rthree\r\n\r\n"), expected);
  // A lone LF ends nothing: the bytes around it join.
  EXPECT_EQ(Texts("one\ntwo\nthree\n"), std::vector<std::string>{"onetwothree"});
  EXPECT_EQ(Texts("tw\no\r"), std::vector<std::string>{"two"});
  EXPECT_TRUE(Texts("").empty());
  EXPECT_TRUE(Texts("\r\n\n\r").empty());
}

TEST(LineReader, OffsetsCountEveryByteOfTheFile) {
  const auto lines = ReadAll("ab\r\n\r\n\ncd\r\nef");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].offset, 0u);
  EXPECT_EQ(lines[1].offset, 7u);  // after the blank line and the stray LF
  EXPECT_EQ(lines[2].offset, 11u);
}

TEST(LineReader, LongLineContinuesAsTheNextLine) {
  const std::string longLine(3000, 'x');
  const auto lines = ReadAll("head\r\n" + longLine + "\r\ntail");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].text.size(), kMaxLineLength);
  EXPECT_EQ(lines[1].offset, 6u);
  EXPECT_EQ(lines[2].text.size(), 3000u - kMaxLineLength);
  EXPECT_EQ(lines[2].offset, 6u + kMaxLineLength);
  EXPECT_EQ(lines[3].text, "tail");

  // Exactly 2047 characters is one line, and the CR after it ends nothing more.
  EXPECT_EQ(ReadAll(std::string(kMaxLineLength, 'y') + "\r\nz").size(), 2u);
  EXPECT_EQ(ReadAll(std::string(kMaxLineLength + 1, 'y')).size(), 2u);
}

TEST(LineReader, LinesCrossTheReadBlocks) {
  // Lines of 99 characters plus CR LF land on every position of the
  // 1024-byte blocks, including a CR and its LF split between two blocks.
  std::string bytes;
  for (int i = 0; i < 100; ++i) bytes += std::string(99, static_cast<char>('a' + i % 26)) + "\r\n";
  const auto lines = ReadAll(bytes);
  ASSERT_EQ(lines.size(), 100u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].text, std::string(99, static_cast<char>('a' + i % 26)));
    EXPECT_EQ(lines[i].offset, i * 101);
  }
}

}  // namespace
}  // namespace scrubber
