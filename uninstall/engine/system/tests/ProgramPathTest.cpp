// Command lines whose program path still holds a blank, and Win32 images.
#include <gtest/gtest.h>

#include <string>

#include "FakeFileSystem.h"
#include "PeImage.h"
#include "ProgramPath.h"

namespace scrubber {
namespace {

TEST(QuoteProgramPath, TheLongestExistingProgramWithABlankIsQuotedAndNothingElse) {
  FakeFileSystem fs;
  fs.AddFile("C:\\Program Files\\Vendor App\\unins.exe");
  fs.AddFile("C:\\Program Files\\Vendor App\\setup");
  fs.AddFile("C:\\Program.exe");
  fs.AddDir("C:\\Program Files\\Vendor App\\dir x");
  fs.AddFile("C:\\TOOLS\\RUN.EXE");
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Vendor App\\unins.exe", "\"C:\\Program Files\\Vendor App\\unins.exe\""},
      {"C:\\Program Files\\Vendor App\\unins.exe /S  /LOG x", "\"C:\\Program Files\\Vendor App\\unins.exe\" /S  /LOG x"},
      {"C:\\Program Files\\Vendor App\\unins /S", "\"C:\\Program Files\\Vendor App\\unins\" /S"},
      {"C:\\Program Files\\Vendor App\\setup -r", "\"C:\\Program Files\\Vendor App\\setup\" -r"},
      {"C:\\Program Files\\Vendor App\\dir x", "C:\\Program Files\\Vendor App\\dir x"},
      {"\"C:\\Program Files\\Vendor App\\unins.exe\" /S", "\"C:\\Program Files\\Vendor App\\unins.exe\" /S"},
      {"C:\\TOOLS\\RUN.EXE C:\\Program Files\\Vendor App\\unins.exe", "C:\\TOOLS\\RUN.EXE C:\\Program Files\\Vendor App\\unins.exe"},
      {"C:\\Missing Dir\\x.exe /a", "C:\\Missing Dir\\x.exe /a"},
      {"", ""},
      {" leading", " leading"},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(QuoteProgramPath(fs, line), expected) << line;
}

TEST(IsPeImage, OnlyMzWithPeAtTheOffsetItNames) {
  FakeFileSystem fs;
  std::string image(0x90, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[60] = static_cast<char>(0x80);
  image[0x80] = 'P';
  image[0x81] = 'E';
  fs.AddFile("C:\\A\\GOOD.DLL", image);
  EXPECT_TRUE(IsPeImage(fs, "C:\\A\\GOOD.DLL"));

  std::string notPe = image;
  notPe[0x81] = 'X';
  fs.AddFile("C:\\A\\NE.DLL", notPe);
  std::string beyond = image;
  beyond[61] = 0x10;  // offset 0x1080, past the end
  fs.AddFile("C:\\A\\BEYOND.DLL", beyond);
  fs.AddFile("C:\\A\\TINY.DLL", "MZ");
  fs.AddFile("C:\\A\\TEXT.DLL", "just text");
  for (const char* path : {"C:\\A\\NE.DLL", "C:\\A\\BEYOND.DLL", "C:\\A\\TINY.DLL", "C:\\A\\TEXT.DLL", "C:\\A\\NONE.DLL"}) {
    EXPECT_FALSE(IsPeImage(fs, path)) << path;
  }
  fs.faults().FailCall("Read", SysError::Other, 1);
  EXPECT_FALSE(IsPeImage(fs, "C:\\A\\GOOD.DLL")) << "a read error is no image";
}

}  // namespace
}  // namespace scrubber
