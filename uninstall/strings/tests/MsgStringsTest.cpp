#include "FillText.h"
#include "MsgStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <tuple>

namespace scrubber {
namespace {

// Answers like GetPrivateProfileString: the value cut to capacity - 1.
class MapProfile final : public Profile {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> entries;
  int reads = 0;

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t capacity) override {
    ++reads;
    auto it = entries.find({std::string(file), std::string(section), std::string(key)});
    std::string value(it == entries.end() ? fallback : std::string_view(it->second));
    if (capacity == 0) return {};
    return value.substr(0, capacity - 1);
  }
  Status WriteString(std::string_view, std::string_view, std::string_view,
                     std::optional<std::string_view>) override {
    return Status::Ok();
  }
};


constexpr char kIni[] = "C:\\APP\\UNINST.INI";

class MsgStringsTest : public ::testing::Test {
 protected:
  void Set(int id, std::string value) { profile.entries[{kIni, "Language", "Msg" + std::to_string(id)}] = value; }

  MapProfile profile;
  BuiltinStringTable table;
  MsgStrings strings{profile, kIni, table};
};

TEST(BuiltinStrings, HoldExactlyTheNumberedTexts) {
  int present = 0;
  for (int id = 0; id <= 90; ++id) present += BuiltinString(id).empty() ? 0 : 1;
  EXPECT_EQ(present, 72);
  for (int id : {0, 3, 5, 43, 69, 70, 72, 73, 77, 81}) EXPECT_TRUE(BuiltinString(id).empty()) << id;

  EXPECT_EQ(BuiltinString(2), "Packwright Uninstall");
  EXPECT_EQ(BuiltinString(29), "Removing File:\r\n");
  EXPECT_EQ(BuiltinString(74), " INSTALLATION");
  EXPECT_EQ(BuiltinString(75), "0");
  EXPECT_EQ(BuiltinString(38).back(), ' ');
  EXPECT_EQ(BuiltinString(7).substr(0, 39), "Welcome to the %s uninstall program.\n\nY");
}

TEST(SettingsFile, ReplacesTheLastThreeCharacters) {
  EXPECT_EQ(SettingsFileFor("C:\\APP\\UNINST.EXE"), "C:\\APP\\UNINST.INI");
  EXPECT_EQ(SettingsFileFor("C:\\APP\\uninst.exe"), "C:\\APP\\uninst.INI");
}

TEST_F(MsgStringsTest, MissingKeyGivesTheTableTextAndReturnsTheMarkerLength) {
  char buffer[256];
  EXPECT_EQ(strings.GetMsgString(25, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Uninstall");

  // A value that is just the marker character counts as missing.
  Set(25, "\x7F");
  EXPECT_EQ(strings.GetMsgString(25, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Uninstall");
}

TEST_F(MsgStringsTest, OverrideTurnsBarsIntoLineBreaks) {
  Set(25, "Ent|fernen");
  char buffer[256];
  EXPECT_EQ(strings.GetMsgString(25, buffer, sizeof buffer), 10);
  EXPECT_STREQ(buffer, "Ent\r\nfernen");
  EXPECT_EQ(strings.Get(25), "Ent\r\nfernen");
}

TEST_F(MsgStringsTest, EmptyOverrideStaysEmpty) {
  Set(46, "");
  char buffer[64] = "junk";
  EXPECT_EQ(strings.GetMsgString(46, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(MsgStringsTest, InstanceStringsIgnoreTheSettingsFile) {
  Set(79, "Replaced");
  Set(80, "Replaced");
  EXPECT_EQ(strings.Get(79), "Application is already running - Terminating this instance");
  EXPECT_EQ(strings.Get(80), "Multiple Instance");
  EXPECT_EQ(profile.reads, 0);
}

TEST_F(MsgStringsTest, NeverWritesPastTheCapacity) {
  char buffer[8];
  std::memset(buffer, 'X', sizeof buffer);
  strings.GetMsgString(2, buffer, 6);  // table text cut
  EXPECT_STREQ(buffer, "Packw");
  EXPECT_EQ(buffer[6], 'X');

  Set(2, "ab||cd");  // 8 characters once expanded, 6 bytes of room
  std::memset(buffer, 'X', sizeof buffer);
  strings.GetMsgString(2, buffer, 6);
  EXPECT_STREQ(buffer, "ab\r\n\r");
  EXPECT_EQ(buffer[6], 'X');

  EXPECT_EQ(strings.GetMsgString(2, buffer, 0), 0);
  EXPECT_EQ(buffer[0], 'a');
}

TEST_F(MsgStringsTest, BarAsSecondByteOfADoubleByteCharacterStays) {
  LeadBytes dbcs;
  dbcs.Set(0x81, 0x9F);  // as the Japanese code page has them
  MsgStrings japanese{profile, kIni, table, dbcs};
  Set(48, "\x81|x|y");
  EXPECT_EQ(japanese.Get(48), "\x81|x\r\ny");
}

}  // namespace
}  // namespace scrubber

namespace scrubber {
namespace {

TEST(FillText, OnlyPercentSAndDoublePercentAreSpecial) {
  EXPECT_EQ(FillText("Performing uninstall of the %s...", "Foo"), "Performing uninstall of the Foo...");
  // An edited message must not reach printf: %d, %n and a lone % stay text.
  EXPECT_EQ(FillText("%d %n 100%% %s %", "x"), "%d %n 100% x %");
  EXPECT_EQ(FillText("%s and %s", "a"), "a and a");
}

}  // namespace
}  // namespace scrubber
