// Bounds: list sizes, field widths and the line length. A value that does
// not fit its field drops its record; display texts are cut instead.
#include "ParseFixture.h"

namespace scrubber::test {
namespace {

using LimitsTest = ParseTest;

TEST_F(LimitsTest, BoundedListsStopAt4096Records) {
  std::string log = Log({});
  for (int i = 0; i < 4100; ++i) {
    const std::string path = "C:\\APP\\F" + std::to_string(i) + ".DAT";
    Exist(path);
    log += "File Copy: " + path + "\r\nRegDB Key: K" + std::to_string(i) + "\r\nRegDB Val: v\r\n";
    log += "Create Service: S" + std::to_string(i) + "\r\nRegDB Tree: T" + std::to_string(i) + "\r\n";
  }
  log += "Create Service: Last\r\n";
  ASSERT_EQ(Parse(log), 0);
  EXPECT_EQ(model.PrivateFiles.size(), kMaxListItems);
  EXPECT_EQ(model.PrivateFiles.back().path, "C:\\APP\\F4095.DAT");
  EXPECT_EQ(model.RegKeys.size(), kMaxListItems);
  EXPECT_EQ(model.Services.size(), kMaxListItems);
  EXPECT_EQ(model.RegTrees.size(), kMaxListItems);
}

TEST_F(LimitsTest, OverlongValuesDropTheirRecord) {
  const std::string longPath = "C:\\APP\\" + std::string(593, 'P');  // 600 characters
  const std::string fitting = "C:\\APP\\" + std::string(252, 'P');   // 259: the widest that fits
  Exist(fitting);
  std::string oldRun;
  for (int i = 0; i < 50; ++i) oldRun += "RegDB Old: " + std::string(100, 'o') + "\r\n";  // 5,000 bytes of value
  ASSERT_EQ(Parse(Log({"File Copy: " + longPath, "File Copy: " + fitting, "Backup Copy: " + longPath,
                       "File Copy: " + fitting, "Made Dir: " + fitting,
                       "Made Dir: " + fitting.substr(0, 258), "RegDB Key: " + std::string(256, 'K'), "RegDB Val: x",
                       "RegDB Key: Software\\Big", "RegDB Val: x"}) +
                      oldRun +
                      Lines({"RegDB Key: Software\\Small", "RegDB Val: x", "RegDB Old: " + std::string(1000, 'o'), "RegDB Old: " + std::string(1045, 'o'),
                             "Icon Group: G", "Icon Name: " + std::string(300, 'N'), "Icon Cmd: C",
                             "Create Service: After"}),
                  "D:\\LOGS\\INSTALL.LOG"),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 1u);
  EXPECT_EQ(model.PrivateFiles[0].path, fitting);
  ASSERT_EQ(model.Directories.size(), 2u);  // the log's own and the 258-character one
  EXPECT_EQ(model.Directories[1].path.size(), 259u);
  EXPECT_TRUE(model.RegKeys.empty());
  ASSERT_EQ(model.RegEdits.size(), 1u);
  EXPECT_EQ(model.RegEdits[0].key, "Software\\Small");
  EXPECT_EQ(model.RegEdits[0].oldData.size(), kOldDataWidth);
  EXPECT_TRUE(model.Icons.empty());
  EXPECT_EQ(model.Services.size(), 1u);
}

TEST_F(LimitsTest, DisplayTextsAreCutToTheirField) {
  ASSERT_EQ(Parse("*** I\r\nTitle: " + std::string(400, 'T') + "\r\nProduct: " + std::string(200, 'P') +
                  "\r\nExecute Path: X.EXE\r\nExecute Name: " + std::string(300, 'N') + "\r\n"),
            0);
  EXPECT_EQ(model.LogHeader.title.size(), kTitleWidth - 1);
  EXPECT_EQ(model.LogHeader.product.size(), kHeaderWidth - 1);
  ASSERT_EQ(model.ExternalPrograms.size(), 1u);
  EXPECT_EQ(model.ExternalPrograms[0].name.size(), kNameWidth - 1);
}

TEST_F(LimitsTest, LineOver2047CharactersContinuesAsTheNextRecord) {
  // 2047 characters of a comment, then a record in the same physical line.
  std::string line = "Comment: " + std::string(2047 - 9, 'c') + "Create Service: Split";
  ASSERT_EQ(Parse(Log({line, "File Copy: C:\\APP\\" + std::string(3000, 'x')})), 0);
  ASSERT_EQ(model.Services.size(), 1u);
  EXPECT_EQ(model.Services[0].name, "Split");
  EXPECT_TRUE(model.PrivateFiles.empty());
}

TEST_F(LimitsTest, NulInALineEndsItsText) {
  Exist("C:\\APP\\A.EXE");
  ASSERT_EQ(Parse(Log({std::string("File Copy: C:\\APP\\A.EXE\0junk", 28), std::string("\0Backup Copy: X", 15),
                       "Create Service: S"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 1u);
  EXPECT_EQ(model.PrivateFiles[0].path, "C:\\APP\\A.EXE");
  EXPECT_EQ(model.PrivateFiles[0].backupPath, "");
  EXPECT_EQ(model.Services.size(), 1u);
}

}  // namespace
}  // namespace scrubber::test
