// Long and short spellings through directory look-ups.
#include <gtest/gtest.h>

#include <cstring>

#include "CanonicalizePath.h"
#include "FakeFileSystem.h"

namespace scrubber {
namespace {

class Canonicalize : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddFile("C:\\Program Files\\APP\\A.DLL");
    fs.AddFile("C:\\Program Files\\App\\setup.exe");
    fs.AddFile("C:\\Program Files\\Common Files\\Shared Thing.dll");
  }
  std::string As(std::string path, PathForm form) {
    CanonicalizePath(fs, path, form);
    return path;
  }
  FakeFileSystem fs;
};

TEST_F(Canonicalize, ExistingComponentsTakeTheAskedForSpelling) {
  EXPECT_EQ(As("C:\\PROGRA~1\\APP\\A.DLL", PathForm::Long), "C:\\Program Files\\APP\\A.DLL");
  EXPECT_EQ(As("C:\\Program Files\\APP\\A.DLL", PathForm::Short), "C:\\PROGRA~1\\APP\\A.DLL");
  EXPECT_EQ(As("c:\\program files\\common files\\shared thing.dll", PathForm::Long),
            "C:\\Program Files\\Common Files\\Shared Thing.dll");
  EXPECT_EQ(As("C:\\Program Files\\Common Files\\Shared Thing.dll", PathForm::Short), "C:\\PROGRA~1\\COMMON~1\\SHARED~1.DLL");
  EXPECT_EQ(As("C:\\Program Files\\", PathForm::Short), "C:\\PROGRA~1\\") << "a trailing backslash stays";
}

TEST_F(Canonicalize, WhatIsNotFoundStaysAsWritten) {
  EXPECT_EQ(As("C:\\Program Files\\App\\setup.exe /x", PathForm::Short), "C:\\PROGRA~1\\APP\\setup.exe /x")
      << "trailing arguments are not a file; found names take their spelling on disk";
  EXPECT_EQ(As("C:\\Program Files\\New Dir\\f.txt", PathForm::Short), "C:\\PROGRA~1\\New Dir\\f.txt");
  EXPECT_EQ(As("C:\\Program Files\\APP\\*.DLL", PathForm::Long), "C:\\Program Files\\APP\\*.DLL")
      << "a pattern is not replaced by its first match";
  EXPECT_EQ(As("C:\\PROGRA~1\\.\\APP", PathForm::Long), "C:\\Program Files\\.\\APP")
      << ". and .. are not looked up, as the lookup would name their directory";
}

TEST_F(Canonicalize, ARelativeNameIsTakenBelowTheCurrentDirectory) {
  fs.SetCurrentDir("C:\\Program Files\\APP");
  EXPECT_EQ(As("a.dll", PathForm::Long), "C:\\Program Files\\APP\\A.DLL");
  EXPECT_EQ(As("a.dll", PathForm::Short), "C:\\PROGRA~1\\APP\\A.DLL");
  fs.SetCurrentDir("C:\\");
  EXPECT_EQ(As("x.txt", PathForm::Long), "C:\\x.txt") << "no second backslash after a root";
  EXPECT_EQ(As("c:/progra~1/app/a.dll", PathForm::Long), "C:/progra~1/app/a.dll")
      << "a path that names its drive is not put below the current directory";
  fs.faults().FailCall("CurrentDirectory");
  EXPECT_EQ(As("x.txt", PathForm::Long), "x.txt");
}

TEST_F(Canonicalize, DriveLettersAndSharesKeepTheirRoot) {
  EXPECT_EQ(As("c:\\nothing", PathForm::Long), "C:\\nothing");
  fs.AddFile("\\\\SERVER\\Share Name\\Long Folder\\f.txt");
  EXPECT_EQ(As("\\\\server\\Share Name\\Long Folder\\f.txt", PathForm::Short),
            "\\\\server\\Share Name\\LONGFO~1\\f.txt")
      << "the server and share are passed over";
}

TEST_F(Canonicalize, ResultsStayWithinTheBufferWidth) {
  std::string huge(600, 'x');
  EXPECT_EQ(As(huge, PathForm::Long), huge) << "a 600-character path is left alone";

  // A short spelling whose long form would pass 259 characters keeps the
  // components that do not fit.
  std::string dir = "C:\\" + std::string(40, 'D') + " x";
  ASSERT_TRUE(fs.AddDir(dir));
  std::string shortDir = "C:\\" + fs.ShortNameOf(dir);
  std::string longName = std::string(215, 'L') + ".txt";
  ASSERT_TRUE(fs.AddFile(shortDir + "\\" + longName)) << "reachable through the short spelling";
  std::string shortFile = fs.ShortNameOf(shortDir + "\\" + longName);
  std::string result = As(shortDir + "\\" + shortFile, PathForm::Long);
  EXPECT_EQ(result, dir + "\\" + shortFile) << "the long file name would pass 259 characters";

  char buffer[24];
  std::memset(buffer, '#', sizeof buffer);
  std::strcpy(buffer, "C:\\PROGRA~1\\APP");
  CanonicalizePath(fs, std::span<char>(buffer, 20), PathForm::Long);
  EXPECT_STREQ(buffer, "C:\\PROGRA~1\\APP") << "the long form does not fit 20 and is not written";
  EXPECT_EQ(std::string(buffer + 20, 4), "####");
  char roomy[kMaxPath] = "C:\\PROGRA~1\\APP";
  CanonicalizePath(fs, roomy, PathForm::Long);
  EXPECT_STREQ(roomy, "C:\\Program Files\\APP");
}

TEST_F(Canonicalize, DoubleByteNamesAreSplitOnlyAtRealBackslashes) {
  LeadBytes shiftJis;
  shiftJis.Set(0x81, 0x9F);
  fs.SetLeadBytes(shiftJis);
  std::string name = "\x95\\ Long Name";  // 0x95 0x5C is one character
  ASSERT_TRUE(fs.AddDir("C:\\" + name));
  EXPECT_EQ(As("C:\\" + name, PathForm::Short), "C:\\" + fs.ShortNameOf("C:\\" + name));
}

TEST_F(Canonicalize, ComparablePathJoinsSpellings) {
  auto a = ComparablePath(fs, "c:/progra~1/app/./");
  auto b = ComparablePath(fs, "C:\\Program Files\\Common Files\\..\\APP");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a, "C:\\Program Files\\APP");
  EXPECT_EQ(*b, *a);
  EXPECT_FALSE(ComparablePath(fs, std::string(600, 'p')));
}

}  // namespace
}  // namespace scrubber
