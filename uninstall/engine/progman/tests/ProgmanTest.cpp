// Icons and groups removed through the fake Program Manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeDde.h"
#include "Progman.h"

namespace scrubber {
namespace {

// Remembers the progress repaints that closing the conversation asks for.
class RepaintUi final : public EngineUi {
 public:
  void BeginProgress(std::string_view) override {}
  void ShowProgress(std::optional<std::string_view> text) override { shown.push_back(text ? std::string(*text) : "<repaint>"); }
  void PumpMessages(std::uint32_t) override {}
  int AskRemoveShared(std::string_view) override { return kSharedNo; }
  int ShowServerRunning(std::string_view, std::string_view) override { return kServerIgnore; }
  void FocusWizard() override {}
  std::vector<std::string> shown;
};

IconItem Icon(std::string group, std::string name, std::string command) {
  IconItem icon;
  icon.group = std::move(group);
  icon.name = std::move(name);
  icon.command = std::move(command);
  return icon;
}

class ProgmanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dde.AddItem("Vendor", "Product", "C:\\APP\\PRODUCT.EXE");
    dde.AddItem("Vendor", "Readme", "NOTEPAD.EXE C:\\APP\\README.TXT");
    dde.AddItem("Main", "Product", "c:\\app\\product.exe");
    dde.AddItem("Main", "Clock", "CLOCK.EXE");
    dde.AddItem("StartUp", "Product Agent", "C:\\APP\\AGENT.EXE");
  }
  std::vector<std::string> ExecutedSince(std::size_t from) {
    const auto& all = dde.Executed();
    return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
  }

  FakeDde dde;
  RepaintUi ui;
  Progman progman{dde, ui};
};

TEST_F(ProgmanTest, OneIconRemovesEveryMatchingItemAndEmptiedGroupsExceptStartup) {
  progman.OpenProgmanConversation();
  ASSERT_TRUE(progman.IsOpen());
  progman.RemoveIcon(Icon("Vendor", "Other name", "C:\\APP\\PRODUCT.EXE"));
  EXPECT_EQ(dde.Executed(), (std::vector<std::string>{
                                "[ShowGroup(Vendor,2)]", "[ShowGroup(Vendor,1)]", "[DeleteItem(Product)]",
                                "[ShowGroup(Main,2)]", "[ShowGroup(Main,1)]", "[DeleteItem(Product)]"}))
      << "the command matches in both groups, letter case ignored";
  EXPECT_TRUE(dde.HasItem("Main", "Clock"));

  std::size_t mark = dde.Executed().size();
  progman.RemoveIcon(Icon("vendor", "README", "WRITE.EXE README.TXT"));
  EXPECT_EQ(ExecutedSince(mark), (std::vector<std::string>{"[ShowGroup(Vendor,2)]", "[ShowGroup(Vendor,1)]",
                                                           "[DeleteItem(Readme)]", "[DeleteGroup(Vendor)]"}))
      << "group and name match although the command differs; the emptied group goes";
  EXPECT_FALSE(dde.HasGroup("Vendor"));

  mark = dde.Executed().size();
  progman.RemoveIcon(Icon("Vendor", "Readme", "NOTEPAD.EXE C:\\APP\\README.TXT"));
  EXPECT_TRUE(ExecutedSince(mark).empty()) << "a deleted group finds nothing later";

  progman.RemoveIcon(Icon("STARTUP", "Product Agent", "C:\\APP\\AGENT.EXE"));
  EXPECT_FALSE(dde.HasItem("StartUp", "Product Agent"));
  EXPECT_TRUE(dde.HasGroup("StartUp")) << "the start-up group stays, empty";
  EXPECT_EQ(dde.Executed().back(), "[DeleteItem(Product Agent)]");

  progman.CloseProgmanConversation();
  EXPECT_FALSE(progman.IsOpen());
  EXPECT_EQ(ui.shown, std::vector<std::string>{"<repaint>"});
  const auto& log = dde.Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "Disconnect");
  EXPECT_EQ(log.back(), "Uninitialize");
  EXPECT_FALSE(dde.ClosedOutOfOrder());
}

TEST_F(ProgmanTest, WithoutAnAnswerNothingIsSentAndTheIconsStay) {
  dde.SetServerRunning(false);
  progman.OpenProgmanConversation();
  EXPECT_FALSE(progman.IsOpen());
  progman.RemoveIcon(Icon("Vendor", "Product", "C:\\APP\\PRODUCT.EXE"));
  progman.SendProgmanCommand("[DeleteGroup(Main)]");
  progman.CloseProgmanConversation();
  EXPECT_TRUE(dde.Executed().empty());
  EXPECT_EQ(ui.shown.size(), 1u) << "the bar is repainted all the same";

  dde.SetServerRunning(true);
  dde.faults().FailCall("Initialize");
  progman.OpenProgmanConversation();
  EXPECT_FALSE(progman.IsOpen());

  dde.SetNoReply("Vendor");
  progman.OpenProgmanConversation();
  progman.RemoveIcon(Icon("Vendor", "Product", "C:\\APP\\PRODUCT.EXE"));
  EXPECT_TRUE(dde.HasItem("Vendor", "Product")) << "a group that did not answer is not searched";
  EXPECT_FALSE(dde.HasItem("Main", "Product"));
}

// A name with a separator of the command syntax goes in quotes, so that the
// command names that group or item and no other.
TEST_F(ProgmanTest, NamesWithSeparatorsAreQuoted) {
  dde.AddItem("Acme, Inc", "Readme", "NOTEPAD.EXE C:\\ACME\\README.TXT");
  dde.AddItem("Acme, Inc", "Tool [beta]", "C:\\ACME\\TOOL.EXE");
  dde.AddItem("Acme, Inc", " Padded ", "C:\\ACME\\PAD.EXE");
  dde.AddItem("Other", "Readme", "NOTEPAD.EXE C:\\OTHER\\README.TXT");
  progman.OpenProgmanConversation();
  progman.RemoveIcon(Icon("Acme, Inc", "Readme", "-"));
  progman.RemoveIcon(Icon("-", "-", "C:\\ACME\\TOOL.EXE"));
  progman.RemoveIcon(Icon("Acme, Inc", "-", "C:\\ACME\\PAD.EXE"));
  EXPECT_EQ(dde.Executed(), (std::vector<std::string>{"[ShowGroup(\"Acme, Inc\",2)]", "[ShowGroup(\"Acme, Inc\",1)]",
                                                      "[DeleteItem(Readme)]", "[ShowGroup(\"Acme, Inc\",2)]",
                                                      "[ShowGroup(\"Acme, Inc\",1)]", "[DeleteItem(\"Tool [beta]\")]",
                                                      "[ShowGroup(\"Acme, Inc\",2)]", "[ShowGroup(\"Acme, Inc\",1)]",
                                                      "[DeleteItem(\" Padded \")]", "[DeleteGroup(\"Acme, Inc\")]"}));
  EXPECT_FALSE(dde.HasGroup("Acme, Inc"));
  EXPECT_TRUE(dde.HasItem("Other", "Readme"));
}

TEST_F(ProgmanTest, AnEmptyLoggedCommandMatchesByGroupAndNameOnly) {
  dde.AddItem("Main", "Notes", "");
  progman.OpenProgmanConversation();
  progman.RemoveIcon(Icon("Vendor", "Product", ""));
  EXPECT_FALSE(dde.HasItem("Vendor", "Product"));
  EXPECT_TRUE(dde.HasItem("Main", "Notes")) << "another program's item without a command stays";
}

TEST_F(ProgmanTest, TheGroupTableAndRepliesStayWithinTheirBounds) {
  FakeDde big;
  for (int i = 0; i < 200; ++i) {
    const std::string name = "G" + std::to_string(1000 + i);
    big.AddItem(name, "Item", "C:\\APP\\" + name + ".EXE");
  }
  RepaintUi quiet;
  Progman many{big, quiet};
  many.OpenProgmanConversation();
  many.RemoveIcon(Icon("G1126", "Item", "-"));
  many.RemoveIcon(Icon("G1127", "Item", "-"));
  EXPECT_FALSE(big.HasGroup("G1126")) << "the 127th group is in the table";
  EXPECT_TRUE(big.HasGroup("G1127")) << "the table keeps its last slot empty";

  // One group's reply longer than the buffer: what fits is read, the rest
  // is cut off, never read past.
  std::string huge = "\"Huge\"\r\n";
  while (huge.size() < kDdeReplyBytes + 4000) huge += "\"Filler\",\"FILL.EXE\"\r\n";
  huge.insert(8, "\"Early\",\"C:\\APP\\EARLY.EXE\"\r\n");
  huge += "\"Late\",\"C:\\APP\\LATE.EXE\"\r\n";
  dde.SetRawReply("Vendor", huge);
  const std::string longName(300, 'L');
  dde.SetRawReply("GROUPS", "Vendor\r\n" + longName + "\r\nMain\r\n");
  progman.OpenProgmanConversation();
  progman.RemoveIcon(Icon("-", "-", "C:\\APP\\EARLY.EXE"));
  progman.RemoveIcon(Icon("-", "-", "C:\\APP\\LATE.EXE"));
  progman.RemoveIcon(Icon("Main", "Clock", "-"));
  const auto& executed = dde.Executed();
  EXPECT_EQ(std::count(executed.begin(), executed.end(), "[DeleteItem(Early)]"), 1);
  EXPECT_EQ(std::count(executed.begin(), executed.end(), "[DeleteItem(Late)]"), 0);
  EXPECT_EQ(std::count(executed.begin(), executed.end(), "[DeleteItem(Clock)]"), 1) << "groups after a long name still count";
  for (const auto& entry : dde.Log()) EXPECT_EQ(entry.find(longName), std::string::npos) << "a name over 255 characters is never asked for";
}

}  // namespace
}  // namespace scrubber
