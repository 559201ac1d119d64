// Full-path resolution and separator search, on which the directory guards
// and the fake's path lookup both rest.
#include <gtest/gtest.h>

#include "PathText.h"
#include "platform/FileSystem.h"

namespace scrubber {
namespace {

std::string Normal(std::string_view path, std::string_view cwd = "C:\\WORK") {
  return NormalizePath(path, cwd, LeadBytes{}).value_or("<none>");
}

TEST(NormalizePath, EverySpellingOfADirectoryComesOutAlike) {
  for (const char* spelling : {"C:\\WINDOWS", "C:\\WINDOWS\\", "C:\\WINDOWS\\.", "C:\\WINDOWS\\..\\WINDOWS",
                               "C:/WINDOWS/", "C:\\\\WINDOWS", "C:\\WINDOWS.", "C:\\WINDOWS\\SYSTEM32\\..",
                               "\\WINDOWS", "..\\WINDOWS", "c:..\\WINDOWS"}) {
    EXPECT_EQ(Normal(spelling), "C:\\WINDOWS") << spelling;
  }
  EXPECT_EQ(Normal("c:\\windows"), "C:\\windows") << "only the drive letter is raised";
}

TEST(NormalizePath, RootsAndRelativeForms) {
  EXPECT_EQ(Normal("C:\\"), "C:\\");
  EXPECT_EQ(Normal("C:\\.."), "C:\\") << ".. stops at the root";
  EXPECT_EQ(Normal("C:"), "C:\\WORK") << "a bare drive is its current directory";
  EXPECT_EQ(Normal("D:"), "D:\\") << "another drive starts at its root";
  EXPECT_EQ(Normal("file.txt"), "C:\\WORK\\file.txt");
  EXPECT_EQ(Normal("\\\\server\\share\\dir\\..\\x"), "\\\\server\\share\\x");
  EXPECT_EQ(Normal("//server/share/"), "\\\\server\\share");
  EXPECT_EQ(Normal("\\\\server"), "<none>") << "a share needs its name";
  EXPECT_EQ(Normal(""), "<none>");
}

TEST(NormalizePath, LengthIsBoundedAtTheBufferWidth) {
  std::string longest = "C:\\" + std::string(256, 'a');
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(Normal(longest), longest);
  EXPECT_EQ(Normal(longest + "b"), "<none>");
  EXPECT_EQ(Normal(std::string(600, 'a')), "<none>") << "600 characters overrun nothing";
  EXPECT_EQ(Normal(std::string(250, 'a'), "C:\\" + std::string(20, 'w')), "<none>")
      << "a relative path that grows beyond the width is refused";
}

TEST(Separators, ASecondByteOfADoubleByteCharacterIsNotABackslash) {
  LeadBytes shiftJis;
  shiftJis.Set(0x81, 0x9F);
  shiftJis.Set(0xE0, 0xFC);
  std::string path = "C:\\\x95\\\\x.txt";  // 0x95 0x5C is one character, then a separator
  EXPECT_EQ(FindBackslash(path, 3, shiftJis), 5u);
  EXPECT_EQ(FindBackslash(path, 3, LeadBytes{}), 4u);
  EXPECT_EQ(FindLastBackslash(path, shiftJis), 5u);
  EXPECT_EQ(NormalizePath("C:\\\x95\\..", "C:\\", shiftJis), "C:\\\x95\\") << "one component, not ..";
  EXPECT_EQ(NormalizePath("C:\\\x95\\..", "C:\\", LeadBytes{}), "C:\\");

  const std::string dir = "C:\\\x95\\";  // ends in a character, not a separator
  EXPECT_FALSE(EndsWithBackslash(dir, shiftJis));
  EXPECT_EQ(WithBackslash(dir, shiftJis), dir + "\\");
  EXPECT_EQ(WithBackslash(dir + "\\", shiftJis), dir + "\\");
  EXPECT_EQ(WithBackslash("", shiftJis), "\\");
  EXPECT_EQ(DirectoryOf(dir + "\\INSTALL.LOG", shiftJis), dir + "\\");
  EXPECT_EQ(DirectoryOf("C:\\A\\\x95\\", shiftJis), "C:\\A\\");
  EXPECT_EQ(DirectoryOf("INSTALL.LOG", shiftJis), "");
}

TEST(CaseRules, AsciiLettersOnly) {
  EXPECT_TRUE(EqualsNoCase("C:\\Windows", "c:\\WINDOWS"));
  EXPECT_FALSE(EqualsNoCase("a", "ab"));
  EXPECT_TRUE(EndsWithNoCase("APP.hlp", ".HLP"));
  EXPECT_FALSE(EndsWithNoCase("HLP", ".HLP"));
  EXPECT_TRUE(StartsWithNoCase("c:\\app\\x", "C:\\APP"));
}

}  // namespace
}  // namespace scrubber
