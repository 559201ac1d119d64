// FindFirstFile's pattern rules, which the fake must share with the platform
// so that pattern deletion is tested against the real semantics.
#include <gtest/gtest.h>

#include "ShortNames.h"
#include "Wildcard.h"

namespace scrubber {
namespace {

TEST(Wildcard, StarDotStarAndStarMatchEveryName) {
  for (const char* name : {"a.txt", "noext", "many.dots.here", ".", ".."}) {
    EXPECT_TRUE(MatchesPattern("*.*", name)) << name;
    EXPECT_TRUE(MatchesPattern("*", name)) << name;
  }
}

TEST(Wildcard, DosRulesForDotsAndQuestionMarks) {
  EXPECT_TRUE(MatchesPattern("*.TXT", "read.me.txt"));
  EXPECT_FALSE(MatchesPattern("*.TXT", "a.txt2"));
  EXPECT_TRUE(MatchesPattern("*.", "noext")) << "*. names files without an extension";
  EXPECT_FALSE(MatchesPattern("*.", "a.txt"));
  EXPECT_TRUE(MatchesPattern("abc.*", "ABC")) << "NAME.* also names NAME";
  EXPECT_TRUE(MatchesPattern("a??.txt", "ab.txt")) << "? may match nothing before the dot";
  EXPECT_FALSE(MatchesPattern("a?.txt", "abc.txt"));
  EXPECT_TRUE(MatchesPattern("file?", "file"));
  EXPECT_FALSE(MatchesPattern("?", "ab"));
  EXPECT_TRUE(MatchesPattern("A*Z", "aBcz"));
  EXPECT_FALSE(MatchesPattern("A*Z", "abcza"));
}

TEST(ShortNames, LongNamesGetNumberedAliases) {
  EXPECT_TRUE(IsShortName("README.TXT"));
  EXPECT_TRUE(IsShortName("readme.txt"));
  EXPECT_FALSE(IsShortName("Program Files"));
  EXPECT_FALSE(IsShortName("page.html"));
  EXPECT_FALSE(IsShortName("a.b.c"));
  EXPECT_EQ(MakeShortName("Program Files", 1), "PROGRA~1");
  EXPECT_EQ(MakeShortName("Long File Name.html", 2), "LONGFI~2.HTM");
  EXPECT_EQ(MakeShortName("archive.tar.gz", 1), "ARCHIV~1.GZ");
  EXPECT_EQ(MakeShortName(".config", 1), "CONFIG~1");
}

}  // namespace
}  // namespace scrubber
