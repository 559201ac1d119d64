// The test directory's fixture format: what it accepts, what it refuses,
// and that storing a change rewrites only the changed group's line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Fixture.h"
#include "Namespace.h"

namespace rosterly::testdir {
namespace {

using ::testing::HasSubstr;

TEST(FixtureTest, RefusesMalformedRecordsNamingTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"domain | CORP\nfrobnicate | x\n", "line 2: unknown record"},
      {"computer | CORP\n", "line 1: too few fields"},
      {"group | | Helpdesk\n", "too few fields"},
      {"fail | WinNT://PC1 | explode | accessdenied\n", "unknown operation"},
      {"fail | WinNT://PC1 | bind | 0xZZ\n", "bad code"},
      {"fail | WinNT://PC1 | bind | 0\n", "bad code"},
      {"break | WinNT://PC1 | add | 1 | fail\n", "break needs"},
      {"break | WinNT://PC1 | enumerate | x | fail\n", "bad count"},
      {"delay | * | soon\n", "bad delay"},
  };
  for (const auto& c : cases) {
    Fixture fixture;
    std::string error;
    EXPECT_FALSE(fixture.Parse(c.text, error)) << c.text;
    EXPECT_THAT(error, HasSubstr(c.error)) << c.text;
  }
}

TEST(FixtureTest, StoringAChangeKeepsEveryOtherLineAndTheLineEnds) {
  const std::string text =
      "# comment | with bars\r\n"
      "domain|CORP\r\n"
      "\r\n"
      "localgroup |  PC1 | Users |WinNT://CORP/alice\r\n"
      "localgroup | PC1 | Guests\r\n";
  Fixture fixture;
  std::string error;
  ASSERT_TRUE(fixture.Parse(text, error)) << error;
  EXPECT_EQ(fixture.Serialize(), text.substr(0, text.find("localgroup")) +
                                     "localgroup | PC1 | Users | WinNT://CORP/alice\r\n"
                                     "localgroup | PC1 | Guests\r\n");
  const int guests = fixture.FindGroup("pc1", "GUESTS", true);
  ASSERT_GE(guests, 0);
  fixture.MutableGroups()[guests].members.push_back("WinNT://CORP/bob");
  EXPECT_THAT(fixture.Serialize(), HasSubstr("\r\nlocalgroup | PC1 | Guests | WinNT://CORP/bob\r\n"));
  EXPECT_THAT(fixture.Serialize(), HasSubstr("# comment | with bars\r\ndomain|CORP\r\n\r\n"));
}

TEST(FixtureTest, PathsResolveLikeTheWinNTProvider) {
  Fixture fixture;
  std::string error;
  ASSERT_TRUE(fixture.Parse("domain | CORP\n"
                            "computer | CORP | PC1 | reachable\n"
                            "group | CORP | Admins\n"
                            "localgroup | PC1 | Admins\n"
                            "user | CORP | alice\n",
                            error));
  const struct {
    const char* path;
    std::uint32_t code;
    const char* adsPath;
  } cases[] = {
      {"WinNT:", 0, "WinNT:"},
      {"WINNT://corp", 0, "WinNT://CORP"},
      {"WinNT://CORP/PC1", 0, "WinNT://CORP/PC1"},
      {"WinNT://PC1,computer", 0, "WinNT://CORP/PC1"},
      {"WinNT://CORP/Admins,group", 0, "WinNT://CORP/Admins"},    // the domain's, not PC1's
      {"WinNT://PC1/Admins,group", 0, "WinNT://CORP/PC1/Admins"},
      {"WinNT://CORP/PC1/admins", 0, "WinNT://CORP/PC1/Admins"},
      {"WinNT://CORP/alice", 0, "WinNT://CORP/alice"},
      {"WinNT://CORP/alice,group", kGroupNotFound, ""},
      {"WinNT://OTHER", kBadNetPath, ""},
      {"WinNT://OTHER/PC1/Admins", kBadNetPath, ""},
      {"WinNT://CORP,computer", kBadNetPath, ""},
      {"WinNT:/CORP", kBadPathName, ""},
      {"WinNT://", kBadPathName, ""},
      {"LDAP://CORP", kBadPathName, ""},
  };
  for (const auto& c : cases) {
    Node node;
    EXPECT_EQ(Resolve(fixture, c.path, node), c.code) << c.path;
    if (c.code == 0) {
      EXPECT_EQ(ADsPathOf(node), c.adsPath) << c.path;
    }
  }
}

}  // namespace
}  // namespace rosterly::testdir
