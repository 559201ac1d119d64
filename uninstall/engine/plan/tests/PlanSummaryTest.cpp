// What the summary makes of the sequences the engine's operations produce,
// and how a plan is printed.
#include <gtest/gtest.h>

#include "FileOperations.h"
#include "PlanOutput.h"
#include "PlanSummary.h"
#include "PlanWorld.h"

namespace scrubber {
namespace {

class Summary : public ::testing::Test {
 protected:
  PlanWorld world;
};

// SYSTEM.INI rewritten as the device removal does it: through a temporary
// file that then takes its place.
void Rewrite(FileSystem& fs, const std::string& text) {
  auto writer = fs.CreateForWriting("C:\\WINDOWS\\~KVRT383.TMP");
  ASSERT_TRUE(writer);
  ASSERT_EQ(writer->Write(std::span<const char>(text.data(), text.size())), text.size());
  writer.reset();
  ASSERT_TRUE(fs.EraseFile("C:\\WINDOWS\\SYSTEM.INI"));
  ASSERT_TRUE(fs.RenameFile("C:\\WINDOWS\\~KVRT383.TMP", "C:\\WINDOWS\\SYSTEM.INI"));
}

TEST_F(Summary, ASystemIniRewriteReadsAsTheLinesItCommentsOut) {
  world.fs.AddFile("C:\\WINDOWS\\SYSTEM.INI", "[boot]\r\nshell=x\r\n[386Enh]\r\ndevice=VXD.386\r\n  device=C:\\APP\\X.386");
  RecordingPlatform plan(world.real);
  FileSystem& fs = plan.platform().fs;
  Rewrite(fs, "[boot]\r\nshell=x\r\n[386Enh]\r\n;device=VXD.386\r\n;  device=C:\\APP\\X.386\r\n");
  EXPECT_EQ(fs.ReadWholeFile("C:\\WINDOWS\\SYSTEM.INI"), "[boot]\r\nshell=x\r\n[386Enh]\r\n;device=VXD.386\r\n;  device=C:\\APP\\X.386\r\n");
  EXPECT_FALSE(fs.GetAttributes("C:\\WINDOWS\\~KVRT383.TMP"));

  // The next removal finds nothing to comment out and drops its temporary file.
  auto writer = fs.CreateForWriting("C:\\WINDOWS\\~KVRT383.TMP");
  writer.reset();
  ASSERT_TRUE(fs.EraseFile("C:\\WINDOWS\\~KVRT383.TMP"));

  const auto steps = SummarizePlan(plan.Steps(), "");
  EXPECT_EQ(PlanToText(steps),
            "comment out line   C:\\WINDOWS\\SYSTEM.INI  line: device=VXD.386\n"
            "comment out line   C:\\WINDOWS\\SYSTEM.INI  line:   device=C:\\APP\\X.386\n");

  // Any other change to the text is a rewrite, said as such.
  plan.platform().fs.SetAttributes("C:\\WINDOWS\\SYSTEM.INI", kAttrNormal);
  Rewrite(fs, "[boot]\r\n");
  const auto again = SummarizePlan(plan.Steps(), "");
  ASSERT_EQ(again.size(), 4u);
  EXPECT_EQ(again[2].op, PlanOp::SetAttributes) << "not followed by a delete: kept, as a minor step";
  EXPECT_EQ(again[3].op, PlanOp::RewriteFile);
}

TEST_F(Summary, FileOperationsReadAsRestoredBackupsAndTheLogAsSuch) {
  world.fs.AddFile("C:\\APP\\B.DLL", "new", kAttrReadOnly);
  world.fs.AddFile("C:\\APP\\BACKUP\\B.DLL", "old");
  world.fs.AddFile("C:\\APP\\HELP\\APP.HLP");
  world.fs.AddFile("C:\\APP\\HELP\\APP.GID");
  world.fs.AddFile("C:\\APP\\INSTALL.LOG", "*** one\r\n*** two\r\n");
  const auto before = world.Snapshot();

  RecordingPlatform plan(world.real);
  Globals globals;
  FileOperations ops(plan.platform().fs, plan.platform().profile, globals);
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\B.DLL", "C:\\APP\\BACKUP\\B.DLL", true));
  EXPECT_EQ(plan.platform().fs.ReadWholeFile("C:\\APP\\B.DLL"), "old");
  EXPECT_TRUE(ops.RemoveFile("C:\\APP\\HELP\\APP.HLP"));
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP\\HELP", false));
  ASSERT_TRUE(plan.platform().fs.TruncateFile("C:\\APP\\INSTALL.LOG", 9));
  EXPECT_TRUE(ops.DeleteOneFile("C:\\APP\\INSTALL.LOG"));

  const auto steps = SummarizePlan(plan.Steps(), plan.files().KeyOf("c:\\app\\install.log"));
  EXPECT_EQ(PlanToText(steps),
            "delete file        C:\\APP\\B.DLL\n"
            "restore backup     C:\\APP\\B.DLL  <- C:\\APP\\BACKUP\\B.DLL\n"
            "delete file        C:\\APP\\HELP\\APP.GID\n"
            "delete file        C:\\APP\\HELP\\APP.HLP\n"
            "remove directory   C:\\APP\\HELP\n"
            "cut log            C:\\APP\\INSTALL.LOG  to 9 bytes\n"
            "delete log         C:\\APP\\INSTALL.LOG\n");
  EXPECT_EQ(world.Snapshot(), before);
}

TEST(PlanOutput, JsonLinesCarryEveryFieldAndEscapeText) {
  PlanStep value;
  value.op = PlanOp::SetValue;
  value.target = "HKEY_LOCAL_MACHINE\\Software\\Demo";
  value.With("value", "").With("type", "REG_SZ").With("data", "say \"hi\"\n\x01");
  PlanStep write;
  write.op = PlanOp::WriteFile;
  write.target = "C:\\M\xFCller\\A.TXT";
  write.WithNumber("size", 12);
  PlanStep attributes;
  attributes.op = PlanOp::SetAttributes;
  attributes.target = "C:\\A";
  attributes.minor = true;
  attributes.WithNumber("attributes", 128);

  const std::string json = PlanToJsonLines({value, write, attributes}, [](std::string_view text) {
    std::string out;
    for (char c : text) {
      if (static_cast<unsigned char>(c) == 0xFC) out += "\xC3\xBC";
      else out += c;
    }
    return out;
  });
  EXPECT_EQ(json,
            "{\"op\": \"set-value\", \"target\": \"HKEY_LOCAL_MACHINE\\\\Software\\\\Demo\", \"value\": \"\", "
            "\"type\": \"REG_SZ\", \"data\": \"say \\\"hi\\\"\\n\\u0001\"}\n"
            "{\"op\": \"write-file\", \"target\": \"C:\\\\M\xC3\xBCller\\\\A.TXT\", \"size\": 12}\n"
            "{\"op\": \"set-attributes\", \"target\": \"C:\\\\A\", \"attributes\": 128, \"minor\": true}\n");
  EXPECT_EQ(PlanStepText(value), "set value          HKEY_LOCAL_MACHINE\\Software\\Demo  [(default)] = REG_SZ say \"hi\"");
  EXPECT_EQ(PlanStepText(attributes), "set attributes     C:\\A  (0x80)");
}

}  // namespace
}  // namespace scrubber
