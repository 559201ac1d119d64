// The fake Program Manager: its replies in the Program Manager's format,
// raw replies bounded as the interface says, the commands it records and
// applies, and its failures on demand.
#include <gmock/gmock.h>

#include "FakeDde.h"

namespace scrubber {
namespace {

using ::testing::ElementsAre;

TEST(FakeDde, GroupsAndTheirItemsAnswerInTheProgramManagerFormat) {
  FakeDde dde;
  dde.AddItem("Accessories", "Notepad", "NOTEPAD.EXE", "C:\\WINDOWS");
  dde.AddItem("Accessories", "Demo", "C:\\APP\\DEMO.EXE /x");
  dde.AddGroup("StartUp");
  auto instance = dde.Initialize();
  ASSERT_TRUE(instance);
  EXPECT_FALSE(instance->Connect("PROGMAN", "OTHER"));
  auto conversation = instance->Connect("progman", "PROGMAN");
  ASSERT_TRUE(conversation);
  EXPECT_EQ(conversation->Request("GROUPS", 5000), "Accessories\r\nStartUp\r\n");
  EXPECT_EQ(conversation->Request("accessories", 5000),
            "\"Accessories\",\"ACCESSOR.GRP\",2,0\r\n"
            "\"Notepad\",\"NOTEPAD.EXE\",\"\",0,0,0,\"C:\\WINDOWS\",0,0\r\n"
            "\"Demo\",\"C:\\APP\\DEMO.EXE /x\",\"\",0,0,0,\"\",0,0\r\n");
  EXPECT_EQ(conversation->Request("StartUp", 5000), "\"StartUp\",\"STARTUP.GRP\",0,0\r\n");
  EXPECT_FALSE(conversation->Request("No Such Group", 5000));
}

TEST(FakeDde, CommandsAreRecordedAndDeleteFromTheModel) {
  FakeDde dde;
  dde.AddItem("Tools", "One", "ONE.EXE");
  dde.AddItem("Tools", "Two", "TWO.EXE");
  {
    auto instance = dde.Initialize();
    auto conversation = instance->Connect("PROGMAN", "PROGMAN");
    ASSERT_TRUE(conversation);
    EXPECT_TRUE(conversation->Execute("[ShowGroup(Tools,2)]", 1000));
    EXPECT_TRUE(conversation->Execute("[ShowGroup(Tools,1)]", 1000));
    EXPECT_TRUE(conversation->Execute("[DeleteItem(one)]", 1000));
    EXPECT_FALSE(conversation->Execute("[DeleteItem(One)]", 1000)) << "already gone";
    EXPECT_THAT(dde.ItemNames("Tools"), ElementsAre("Two"));
    EXPECT_EQ(*conversation->Request("Tools", 5000),
              "\"Tools\",\"TOOLS.GRP\",1,0\r\n\"Two\",\"TWO.EXE\",\"\",0,0,0,\"\",0,0\r\n");
    EXPECT_TRUE(conversation->Execute("[DeleteGroup(TOOLS)]", 1000));
    EXPECT_FALSE(dde.HasGroup("Tools"));
    EXPECT_FALSE(conversation->Execute("[ShowGroup(Tools,2)]", 1000));
    EXPECT_EQ(conversation->Request("GROUPS", 5000), "");
  }
  EXPECT_THAT(dde.Executed(), ElementsAre("[ShowGroup(Tools,2)]", "[ShowGroup(Tools,1)]", "[DeleteItem(one)]",
                                          "[DeleteItem(One)]", "[DeleteGroup(TOOLS)]", "[ShowGroup(Tools,2)]"));
  EXPECT_EQ(dde.Log().front(), "Initialize");
  EXPECT_EQ(dde.Log()[1], "Connect PROGMAN PROGMAN");
  EXPECT_EQ(dde.Log()[2], "Execute [ShowGroup(Tools,2)] 1000");
  EXPECT_THAT(std::vector<std::string>(dde.Log().end() - 2, dde.Log().end()),
              ElementsAre("Disconnect", "Uninitialize"));
  EXPECT_FALSE(dde.ClosedOutOfOrder());
}

// Both test servers read commands through this; the engine's quoting is
// checked against it, so it must follow the syntax, not the engine.
TEST(ProgmanSyntax, QuotedArgumentsHoldSeparatorsAndMalformedTextsAreRefused) {
  const auto read = ParseProgmanCommands(" [ShowGroup(\"Acme, Inc\", 2)][DeleteItem( Tool (beta) )]");
  EXPECT_FALSE(read) << "an unquoted parenthesis is not part of an argument";
  const auto commands =
      ParseProgmanCommands(std::string("[ShowGroup(\"Acme, Inc\", 2)] [DeleteItem(\"Tool (beta)\")][ExitFixture][X()]") +
                           '\0' + "junk");
  ASSERT_TRUE(commands);
  ASSERT_EQ(commands->size(), 4u);
  EXPECT_EQ((*commands)[0].verb, "ShowGroup");
  EXPECT_THAT((*commands)[0].args, ElementsAre("Acme, Inc", "2"));
  EXPECT_THAT((*commands)[1].args, ElementsAre("Tool (beta)"));
  EXPECT_EQ((*commands)[2].verb, "ExitFixture");
  EXPECT_TRUE((*commands)[2].args.empty());
  EXPECT_THAT((*commands)[3].args, ElementsAre(""));
  for (const char* bad : {"[ShowGroup(\"Acme, Inc,2)]", "[ShowGroup(Acme,2)", "ShowGroup(Acme)", "[(Acme)]",
                          "[DeleteItem(a\"b)]", "[DeleteItem(x]"}) {
    EXPECT_FALSE(ParseProgmanCommands(bad)) << bad;
  }
}

TEST(FakeDde, RawRepliesAreBoundedAsTheInterfaceSays) {
  FakeDde dde;
  dde.AddGroup("Main");
  dde.SetRawReply("GROUPS", std::string(20000, 'G'));
  dde.SetRawReply("Main", std::string("\"Main\"\r\nbefore\0after", 21));
  dde.SetNoReply("Silent");
  dde.SetRawReply("Exact", std::string(kDdeReplyBytes - 1, 'e'));
  auto instance = dde.Initialize();
  auto conversation = instance->Connect("PROGMAN", "PROGMAN");
  ASSERT_TRUE(conversation);
  auto groups = conversation->Request("GROUPS", 5000);
  ASSERT_TRUE(groups);
  EXPECT_EQ(groups->size(), kDdeReplyBytes - 1) << "cut so that it stays terminated";
  EXPECT_EQ(conversation->Request("MAIN", 5000), "\"Main\"\r\nbefore") << "cut at the first NUL";
  EXPECT_FALSE(conversation->Request("Silent", 5000));
  EXPECT_EQ(conversation->Request("Exact", 5000)->size(), kDdeReplyBytes - 1);
  dde.ClearRawReplies();
  EXPECT_EQ(conversation->Request("GROUPS", 5000), "Main\r\n");
}

TEST(FakeDde, EveryStepCanFailAndTheServerCanBeAbsent) {
  FakeDde dde;
  dde.AddGroup("Main");
  dde.SetServerRunning(false);
  auto instance = dde.Initialize();
  ASSERT_TRUE(instance);
  EXPECT_FALSE(instance->Connect("PROGMAN", "PROGMAN"));
  dde.SetServerRunning(true);
  for (const std::string& call : dde.faults().Calls()) {
    dde.faults().Clear();
    dde.faults().FailCall(call);
    bool failed = false;
    auto fresh = dde.Initialize();
    if (!fresh) {
      failed = call == "Initialize";
    } else if (auto conversation = fresh->Connect("PROGMAN", "PROGMAN"); !conversation) {
      failed = call == "Connect";
    } else if (!conversation->Request("GROUPS", 5000)) {
      failed = call == "Request";
    } else {
      failed = call == "Execute" && !conversation->Execute("[ShowGroup(Main,1)]", 1000);
    }
    EXPECT_TRUE(failed) << call;
  }
}

TEST(FakeDde, AnInstanceClosedBeforeItsConversationIsNoticed) {
  FakeDde dde;
  auto instance = dde.Initialize();
  auto conversation = instance->Connect("PROGMAN", "PROGMAN");
  instance.reset();
  EXPECT_TRUE(dde.ClosedOutOfOrder());
}

}  // namespace
}  // namespace scrubber
