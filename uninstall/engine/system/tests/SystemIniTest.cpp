// Device lines taken out of SYSTEM.INI through its temporary copy.
#include <string>

#include "SystemFixture.h"

namespace scrubber {
namespace {

constexpr char kIni[] = "C:\\WINDOWS\\SYSTEM.INI";
constexpr char kTemp[] = "C:\\WINDOWS\\~KVRT383.TMP";

constexpr char kOriginal[] =
    "[boot]\r\n"
    "device=VXDNAME.386\r\n"
    "\r\n"
    "[386Enh]\r\n"
    "  device=vxdname.386\r\n"
    "device=*vmm\r\n"
    "device=C:\\APP\\X.386\r\n"
    "[Other]\r\n"
    "device=C:\\APP\\X.386\r\n"
    " [386enh] again\r\n"
    "\tdevice=C:\\WINDOWS\\SYSTEM32\\VXDNAME.386";

class SystemIni : public SystemFixture {
 protected:
  void SetUp() override { fs.AddFile(kIni, kOriginal); }
  std::string Ini() { return fs.ContentOf(kIni).value_or("<gone>"); }
};

TEST_F(SystemIni, MatchingDeviceLinesOfTheSectionAreCommentedOut) {
  ops.RemoveDevice("C:\\WINDOWS\\SYSTEM32\\VXDNAME.386");
  EXPECT_EQ(Ini(),
            "[boot]\r\n"
            "device=VXDNAME.386\r\n"
            "\r\n"
            "[386Enh]\r\n"
            ";  device=vxdname.386\r\n"
            "device=*vmm\r\n"
            "device=C:\\APP\\X.386\r\n"
            "[Other]\r\n"
            "device=C:\\APP\\X.386\r\n"
            " [386enh] again\r\n"
            ";\tdevice=C:\\WINDOWS\\SYSTEM32\\VXDNAME.386\r\n")
      << "the name below the System directory and the whole path both match; other sections stay";
  EXPECT_FALSE(fs.Exists(kTemp));

  ops.RemoveDevice("c:\\app\\x.386");
  EXPECT_NE(Ini().find("\r\n;device=C:\\APP\\X.386\r\n[Other]\r\ndevice=C:\\APP\\X.386\r\n"), std::string::npos);
}

TEST_F(SystemIni, WithoutAMatchTheFileIsNotTouched) {
  const unsigned erased = fs.faults().CountOf("EraseFile");
  ops.RemoveDevice("C:\\APP\\OTHER.386");
  ops.RemoveDevice("C:\\WINDOWS\\SYSTEM32\\SUB\\VXDNAME.386");
  EXPECT_EQ(Ini(), kOriginal);
  EXPECT_FALSE(fs.Exists(kTemp));
  EXPECT_EQ(fs.faults().CountOf("RenameFile"), 0u);
  EXPECT_EQ(fs.faults().CountOf("EraseFile") - erased, 2u) << "only the temporary copies were deleted";
}

TEST_F(SystemIni, EveryByteSurvivesLongLinesAndOddLineEnds) {
  const std::string longLine = "Long=" + std::string(5000, 'x') + "device=C:\\APP\\X.386";
  fs.AddFile(kIni, "[386Enh]\n" + longLine + "\rdevice=C:\\APP\\X.386\r\r\ndevice=keep\n\n[End]");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(Ini(), "[386Enh]\r\n" + longLine + "\r\n;device=C:\\APP\\X.386\r\n\r\ndevice=keep\r\n\r\n[End]\r\n");

  const std::string longSection = "[" + std::string(300, 's') + "]";
  fs.AddFile(kIni, "[386Enh]\r\n" + longSection + "\r\ndevice=C:\\APP\\X.386\r\n");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(Ini(), "[386Enh]\r\n" + longSection + "\r\ndevice=C:\\APP\\X.386\r\n") << "a long line can still leave the section";

  // The longest path a driver can have: its device line is longer than the
  // path and still judged.
  const std::string deepest = "C:\\" + std::string(250, 'd') + "\\X.386";
  ASSERT_EQ(deepest.size(), 259u);
  fs.AddFile(kIni, "[386Enh]\r\n  device=" + deepest + "\r\ndevice=keep\r\n");
  ops.RemoveDevice(deepest);
  EXPECT_EQ(Ini(), "[386Enh]\r\n;  device=" + deepest + "\r\ndevice=keep\r\n");
}

TEST_F(SystemIni, AFailedReadOrWriteLeavesTheFileAndNoTemporaryCopy) {
  const std::string big = "[386Enh]\r\ndevice=C:\\APP\\X.386\r\n" + std::string(5000, ';') + "\r\n";
  fs.AddFile(kIni, big);
  for (int round = 0; round < 3; ++round) {
    if (round == 0) fs.faults().FailCall("Write", SysError::Other, 1);
    if (round == 1) fs.SetFreeSpace(3000);
    if (round == 2) fs.faults().FailCall("Read", SysError::Other, 2);
    ops.RemoveDevice("C:\\APP\\X.386");
    fs.SetFreeSpace(std::nullopt);
    EXPECT_EQ(Ini(), big) << "round " << round;
    EXPECT_FALSE(fs.Exists(kTemp)) << "round " << round;
  }

  fs.faults().FailCall("CreateForWriting");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(Ini(), big);
}

TEST_F(SystemIni, TheEditedTextIsNeverLostWhileReplacingTheFile) {
  const std::string edited = ";device=C:\\APP\\X.386\r\n";
  fs.AddFile(kIni, "[386Enh]\r\ndevice=C:\\APP\\X.386\r\n");

  fs.faults().FailCall("EraseFile");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(Ini(), "[386Enh]\r\ndevice=C:\\APP\\X.386\r\n") << "a file that cannot be deleted stays as it was";
  EXPECT_FALSE(fs.Exists(kTemp));

  fs.faults().FailCall("RenameFile");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(Ini(), "[386Enh]\r\n" + edited) << "copied over when the rename fails";
  EXPECT_FALSE(fs.Exists(kTemp));

  fs.AddFile(kIni, "[386Enh]\r\ndevice=C:\\APP\\X.386\r\n");
  fs.faults().FailCall("RenameFile");
  fs.faults().FailCall("CopyOver");
  ops.RemoveDevice("C:\\APP\\X.386");
  EXPECT_EQ(fs.ContentOf(kTemp), "[386Enh]\r\n" + edited) << "the copy is kept as the only text left";
}

}  // namespace
}  // namespace scrubber
