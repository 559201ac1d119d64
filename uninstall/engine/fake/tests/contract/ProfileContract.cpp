// The behaviour of Profile that the uninstaller relies on.
#include "ContractWorld.h"

namespace scrubber::contract {

TEST_P(Contract, ProfileEntriesAreWrittenReadAndDeleted) {
  Profile& profile = world_->profile();
  std::string ini = In("app.ini");
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Color", "dflt"), "dflt") << "a missing file gives the default";
  ASSERT_TRUE(profile.WriteString(ini, "Settings", "Color", "blue"));
  EXPECT_TRUE(fs().GetAttributes(ini)) << "writing creates the file";
  EXPECT_EQ(profile.ReadString(ini, "SETTINGS", "color", ""), "blue") << "letter case is ignored";
  ASSERT_TRUE(profile.WriteString(ini, "Settings", "Size", "  10  "));
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Size", ""), "10") << "blanks around a value are dropped";
  ASSERT_TRUE(profile.WriteString(ini, "Settings", "Color", "red"));
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Color", ""), "red");
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Color", "", 3), "re") << "cut to the buffer with its terminator";
  ASSERT_TRUE(profile.WriteString(ini, "Other", "Color", "green"));
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Color", ""), "red");
  ASSERT_TRUE(profile.WriteString(ini, "Settings", "Color", std::nullopt));
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Color", "gone"), "gone");
  EXPECT_EQ(profile.ReadString(ini, "Settings", "Size", ""), "10");
  EXPECT_EQ(profile.ReadString(ini, "Other", "Color", ""), "green");
}

TEST_P(Contract, ProfileValuesKeepTheirTextButLoseEnclosingQuotes) {
  Profile& profile = world_->profile();
  std::string ini = In("q.ini");
  ASSERT_TRUE(profile.WriteString(ini, "rename", "C:\\APP\\A.DLL", "C:\\APP\\~KVZ0000.TMP"));
  EXPECT_EQ(profile.ReadString(ini, "rename", "C:\\APP\\A.DLL", ""), "C:\\APP\\~KVZ0000.TMP");
  ASSERT_TRUE(profile.WriteString(ini, "Language", "4", "\"quoted text\""));
  EXPECT_EQ(profile.ReadString(ini, "Language", "4", ""), "quoted text");
  ASSERT_TRUE(profile.WriteString(ini, "Language", "5", "a|b"));
  EXPECT_EQ(profile.ReadString(ini, "Language", "5", ""), "a|b");
}

}  // namespace scrubber::contract
