// The command line as the platform hands it over, after the program name.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace scrubber {
namespace {

struct Case {
  const char* line;
  std::int32_t silent, autoMode, rollback, helper;
  const char* logPath;
  const char* caption;
};

TEST(CommandLineTest, SwitchesPathAndCaption) {
  const Case cases[] = {
      {"", 0, 0, 0, 0, "", ""},
      {"C:\\APP\\INSTALL.LOG", 0, 0, 0, 0, "C:\\APP\\INSTALL.LOG", ""},
      {"/a /r C:\\A.LOG", 0, 1, 1, 0, "C:\\A.LOG", ""},
      {"/S/R   C:\\A.LOG", 1, 1, 1, 0, "C:\\A.LOG", ""},
      {"/A", 0, 1, 0, 0, "", ""},
      {"/Z C:\\A.LOG", 0, 0, 0, 0, "C:\\A.LOG", ""},
      {"/A /Q.LOG My App", 0, 1, 0, 0, "/Q.LOG", "My App"},
      {"C:\\A.LOG \"My App\"", 0, 0, 0, 0, "C:\\A.LOG", "My App"},
      {"C:\\A.LOG My \"App\"", 0, 0, 0, 0, "C:\\A.LOG", "My \"App"},
      {"C:\\A.LOG \"", 0, 0, 0, 0, "C:\\A.LOG", ""},
      {"\"C:\\Program Files\\App\\INSTALL.LOG\" \"My App\"", 0, 0, 0, 0, "C:\\Program Files\\App\\INSTALL.LOG", "My App"},
      {"\"C:\\My Dir\\A.LOG\"  \"\"50% off\"", 0, 0, 0, 0, "C:\\My Dir\\A.LOG", "50% off"},
      {"\"C:\\My Dir\\A.LOG Caption", 0, 0, 0, 0, "C:\\My Dir\\A.LOG Caption", ""},
      {"\"\"", 0, 0, 0, 0, "", ""},
      {"/", 0, 0, 0, 0, "/", ""},
      {"/A /", 0, 1, 0, 0, "/", ""},
      {"/z \"C:\\APP\\U.EXE\" \"C:\\APP\\\"", 0, 0, 0, 1, "\"C:\\APP\\U.EXE\" \"C:\\APP\\\"", ""},
      {"/z", 0, 0, 0, 1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const CommandLine parsed = ParseCommandLine(c.line);
    EXPECT_EQ(parsed.silent, c.silent);
    EXPECT_EQ(parsed.autoMode, c.autoMode);
    EXPECT_EQ(parsed.rollback, c.rollback);
    EXPECT_EQ(parsed.removalHelperMode, c.helper);
    EXPECT_EQ(parsed.logPath, c.logPath);
    EXPECT_EQ(parsed.captionArg, c.caption);
  }
}

TEST(CommandLineTest, OnlyALeadingZSwitchSkipsTheTemporaryCopy) {
  for (const char* line : {"/Z", "/z", "/z C:\\APP\\U.EXE C:\\APP\\", "/Zed"}) EXPECT_TRUE(SkipsTempCopy(line)) << line;
  for (const char* line : {"", "/", "Z", "/A /Z", " /Z", "C:\\Z.LOG"}) EXPECT_FALSE(SkipsTempCopy(line)) << line;
}

}  // namespace
}  // namespace scrubber
