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

std::vector<LogLine> ReadIni(std::string_view bytes, bool* endedWithLineEnd = nullptr) {
  MemoryReader source(bytes);
  LineReader reader(source, LineMode::Ini);
  std::vector<LogLine> lines;
  while (auto line = reader.Next()) lines.push_back(*line);
  if (endedWithLineEnd) *endedWithLineEnd = reader.EndedWithLineEnd();
  return lines;
}

std::vector<std::string> IniTexts(std::string_view bytes) {
  std::vector<std::string> texts;
  for (const LogLine& line : ReadIni(bytes)) texts.push_back(line.text);
  return texts;
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

TEST(LineReader, TheLogModeTellsWhereLinesEndToo) {
  bool ended = false;
  const std::string bytes = "a\r\n" + std::string(kMaxLineLength + 1, 'x');
  MemoryReader source(bytes);
  LineReader reader(source);
  auto a = reader.Next();
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->endsLine);
  EXPECT_TRUE(a->hadLineEnd);
  auto first = reader.Next();
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->endsLine);
  auto rest = reader.Next();
  ASSERT_TRUE(rest);
  EXPECT_TRUE(rest->endsLine);
  EXPECT_FALSE(rest->hadLineEnd);
  EXPECT_FALSE(reader.Next());
  ended = reader.EndedWithLineEnd();
  EXPECT_FALSE(ended);
}

TEST(LineReaderIni, EmptyLinesAreReturned) {
  EXPECT_EQ(IniTexts("[386Enh]\r\n\r\ndevice=A.386\r\n\r\n"),
            (std::vector<std::string>{"[386Enh]", "", "device=A.386", ""}));
  EXPECT_EQ(IniTexts("a\r\rb\r"), (std::vector<std::string>{"a", "", "b"})) << "a lone CR ends a line too";
  EXPECT_EQ(IniTexts("a\nb\r\n"), (std::vector<std::string>{"ab"})) << "a lone LF still ends nothing";
  EXPECT_TRUE(IniTexts("").empty());
  EXPECT_EQ(IniTexts("\r\n"), (std::vector<std::string>{""}));
  const auto lines = ReadIni("ab\r\n\r\ncd");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].offset, 4u) << "an empty line is where its line end is";
  EXPECT_EQ(lines[2].offset, 6u);
}

TEST(LineReaderIni, ALongLineComesInPiecesThatSayWhetherTheyEndIt) {
  const std::string longLine = "device=" + std::string(600, 'x');  // 607 characters
  const auto lines = ReadIni("[386Enh]\r\n" + longLine + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[0].endsLine);
  EXPECT_EQ(lines[1].text, longLine.substr(0, kMaxIniLineLength));
  EXPECT_FALSE(lines[1].endsLine);
  EXPECT_FALSE(lines[1].hadLineEnd);
  EXPECT_EQ(lines[2].text, longLine.substr(kMaxIniLineLength, kMaxIniLineLength));
  EXPECT_FALSE(lines[2].endsLine);
  EXPECT_EQ(lines[2].offset, 10u + kMaxIniLineLength);
  EXPECT_EQ(lines[3].text, longLine.substr(2 * kMaxIniLineLength));
  EXPECT_TRUE(lines[3].endsLine);
  EXPECT_TRUE(lines[3].hadLineEnd);
  EXPECT_EQ(lines[4].text, "next");

  std::string whole;
  for (std::size_t i = 1; i <= 3; ++i) whole += lines[i].text;
  EXPECT_EQ(whole, longLine) << "the pieces join to the line";

  // Exactly 259 characters is one piece that ends its line.
  const auto exact = ReadIni(std::string(kMaxIniLineLength, 'y') + "\r\nz");
  ASSERT_EQ(exact.size(), 2u);
  EXPECT_TRUE(exact[0].endsLine);
  EXPECT_TRUE(exact[0].hadLineEnd);
  EXPECT_EQ(ReadIni(std::string(kMaxIniLineLength + 1, 'y')).size(), 2u);
}

TEST(LineReaderIni, TheLastLineTellsWhetherItHadALineEnd) {
  bool ended = false;
  auto lines = ReadIni("a\r\nlast", &ended);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[1].endsLine) << "the end of the file ends the line";
  EXPECT_FALSE(lines[1].hadLineEnd);
  EXPECT_FALSE(ended);

  lines = ReadIni("a\r\nlast\r\n", &ended);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[1].hadLineEnd);
  EXPECT_TRUE(ended);

  lines = ReadIni(std::string(kMaxIniLineLength, 'z'), &ended);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].endsLine);
  EXPECT_FALSE(lines[0].hadLineEnd);
  EXPECT_FALSE(ended);

  ReadIni("", &ended);
  EXPECT_TRUE(ended) << "no line, so none without its end";
}

TEST(LineReaderIni, PiecesCrossTheReadBlocks) {
  // 300-character lines: every one splits into 259 and 41, across the blocks.
  std::string bytes;
  for (int i = 0; i < 20; ++i) bytes += std::string(300, static_cast<char>('a' + i)) + "\r\n";
  const auto lines = ReadIni(bytes);
  ASSERT_EQ(lines.size(), 40u);
  for (std::size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(lines[2 * i].text, std::string(kMaxIniLineLength, static_cast<char>('a' + i)));
    EXPECT_FALSE(lines[2 * i].endsLine);
    EXPECT_EQ(lines[2 * i + 1].text, std::string(300 - kMaxIniLineLength, static_cast<char>('a' + i)));
    EXPECT_TRUE(lines[2 * i + 1].endsLine);
    EXPECT_EQ(lines[2 * i].offset, i * 302);
  }
}

TEST(MemoryReader, SeeksFromTheStart) {
  MemoryReader reader("0123456789");
  char buffer[4];
  EXPECT_TRUE(reader.Seek(6));
  EXPECT_EQ(reader.Read(buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_TRUE(reader.Seek(60));
  EXPECT_EQ(reader.Read(buffer), 0u);
  EXPECT_TRUE(reader.Seek(0));
  EXPECT_EQ(reader.Read(buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
}

}  // namespace
}  // namespace scrubber
