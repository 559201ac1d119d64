// AdsiDirectory against the test directory provider, through the real
// ADsOpenObject of the platform.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "AdsiDirectory.h"
#include "TestDirSession.h"

namespace rosterly {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr char kDomain[] =
    "# a small domain\n"
    "domain | CORP\n"
    "domain | LAB\n"
    "computer | CORP | PC1 | reachable\n"
    "computer | CORP | PC2 | reachable\n"
    "computer | CORP | GONE.invalid | unreachable\n"
    "computer | LAB | LAB1 | reachable\n"
    "group | CORP | Domain Admins\n"
    "group | CORP | Helpdesk\n"
    "user | CORP | alice\n"
    "localgroup | PC1 | Administrators | WinNT://CORP/Domain Admins | WinNT://PC1/Administrator\n"
    "localgroup | PC1 | Users | WinNT://CORP/alice\n"
    "localgroup | PC1 | Backup Operators\n"
    "localgroup | PC2 | Administrators | WinNT://CORP/Domain Admins\n";

class AdsiDirectoryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(testing::StartTestDirectory()); }

  std::unique_ptr<DirObject> Bind(const std::string& path, BindAs as = BindAs::Container) {
    Result<std::unique_ptr<DirObject>> bound = directory_.Bind(path, as);
    EXPECT_TRUE(bound.ok()) << path << ": " << bound.status().description();
    return bound.ok() ? std::move(bound.value()) : nullptr;
  }

  // Names of what an enumeration returns; stops at the first failure.
  static std::vector<std::string> Names(Result<std::unique_ptr<DirEnumerator>> items, Status* failure = nullptr) {
    std::vector<std::string> names;
    if (!items.ok()) {
      if (failure) *failure = items.status();
      return names;
    }
    for (;;) {
      Result<std::unique_ptr<DirObject>> next = items.value()->Next();
      if (!next.ok()) {
        if (failure) *failure = next.status();
        break;
      }
      if (!next.value()) break;
      names.push_back(next.value()->Name().value());
    }
    return names;
  }

  std::vector<std::string> Children(const std::string& path, std::vector<std::string> filter) {
    std::unique_ptr<DirObject> container = Bind(path);
    if (!container) return {};
    EXPECT_TRUE(container->SetFilter(filter).ok());
    return Names(container->Enumerate());
  }

  AdsiDirectory directory_;
};

TEST_F(AdsiDirectoryTest, NamespaceListsTheDomainsInFileOrder) {
  testing::FixtureFile fixture(kDomain);
  EXPECT_THAT(Children("WinNT:", {}), ElementsAre("CORP", "LAB"));
}

TEST_F(AdsiDirectoryTest, DomainFilterSelectsComputersOrGroups) {
  testing::FixtureFile fixture(kDomain);
  std::unique_ptr<DirObject> domain = Bind("WinNT://corp");
  ASSERT_TRUE(domain);
  ASSERT_TRUE(domain->SetFilter({"Computer"}).ok());
  EXPECT_THAT(Names(domain->Enumerate()), ElementsAre("PC1", "PC2", "GONE.invalid"));
  // The same container again with another filter, class names in any case.
  ASSERT_TRUE(domain->SetFilter({"group"}).ok());
  EXPECT_THAT(Names(domain->Enumerate()), ElementsAre("Domain Admins", "Helpdesk"));
  ASSERT_TRUE(domain->SetFilter({}).ok());
  EXPECT_THAT(Names(domain->Enumerate()), ElementsAre("PC1", "PC2", "GONE.invalid", "alice", "Domain Admins", "Helpdesk"));
  EXPECT_EQ(domain->ADsPath().value(), "WinNT://CORP");
}

TEST_F(AdsiDirectoryTest, ComputerListsLocalGroupsAndTheirMembers) {
  testing::FixtureFile fixture(kDomain);
  std::unique_ptr<DirObject> computer = Bind("WinNT://PC1");
  ASSERT_TRUE(computer);
  ASSERT_TRUE(computer->SetFilter({"group"}).ok());
  Result<std::unique_ptr<DirEnumerator>> groups = computer->Enumerate();
  ASSERT_TRUE(groups.ok());
  std::vector<std::string> rows;
  for (;;) {
    Result<std::unique_ptr<DirObject>> group = groups.value()->Next();
    ASSERT_TRUE(group.ok());
    if (!group.value()) break;
    Result<std::unique_ptr<DirEnumerator>> members = group.value()->Members();
    ASSERT_TRUE(members.ok()) << members.status().description();
    for (;;) {
      Result<std::unique_ptr<DirObject>> member = members.value()->Next();
      ASSERT_TRUE(member.ok());
      if (!member.value()) break;
      rows.push_back(group.value()->Name().value() + "=" + member.value()->Name().value() + "@" +
                     member.value()->ADsPath().value());
    }
  }
  EXPECT_THAT(rows, ElementsAre("Administrators=Domain Admins@WinNT://CORP/Domain Admins",
                                "Administrators=Administrator@WinNT://PC1/Administrator",
                                "Users=alice@WinNT://CORP/alice"));
}

TEST_F(AdsiDirectoryTest, GroupPathsIgnoreCaseAndReportTheProvidersOwnPath) {
  testing::FixtureFile fixture(kDomain);
  std::unique_ptr<DirObject> domainGroup = Bind("winnt://corp/HELPDESK,Group", BindAs::Group);
  ASSERT_TRUE(domainGroup);
  EXPECT_EQ(domainGroup->ADsPath().value(), "WinNT://CORP/Helpdesk");
  EXPECT_EQ(domainGroup->Name().value(), "Helpdesk");
  std::unique_ptr<DirObject> localGroup = Bind("WinNT://pc1/administrators,group", BindAs::Group);
  ASSERT_TRUE(localGroup);
  EXPECT_EQ(localGroup->ADsPath().value(), "WinNT://CORP/PC1/Administrators");
}

TEST_F(AdsiDirectoryTest, OperationsOfAnotherKindAreRefusedAsNoInterface) {
  testing::FixtureFile fixture(kDomain);
  Result<std::unique_ptr<DirObject>> computerAsGroup = directory_.Bind("WinNT://PC1", BindAs::Group);
  EXPECT_EQ(computerAsGroup.status().code(), kErrNoInterface);
  std::unique_ptr<DirObject> computer = Bind("WinNT://PC1");
  ASSERT_TRUE(computer);
  EXPECT_EQ(computer->Members().status().code(), kErrNoInterface);
  EXPECT_EQ(computer->Add("WinNT://CORP/Helpdesk").code(), kErrNoInterface);
  std::unique_ptr<DirObject> group = Bind("WinNT://CORP/Helpdesk,group", BindAs::Group);
  ASSERT_TRUE(group);
  EXPECT_EQ(group->Enumerate().status().code(), kErrNoInterface);
  EXPECT_THAT(group->SetFilter({"User"}).description(), Not(IsEmpty()));
}

TEST_F(AdsiDirectoryTest, AddAndRemoveAreStoredInTheFixtureBySetInfo) {
  testing::FixtureFile fixture(kDomain);
  std::unique_ptr<DirObject> member = Bind("WinNT://CORP/Helpdesk,group", BindAs::Group);
  std::unique_ptr<DirObject> target = Bind("WinNT://PC1/Backup Operators,group", BindAs::Group);
  ASSERT_TRUE(member && target);
  const std::string path = member->ADsPath().value();
  ASSERT_TRUE(target->Add(path).ok());
  // Not stored before SetInfo.
  EXPECT_THAT(fixture.Read(), HasSubstr("localgroup | PC1 | Backup Operators\n"));
  ASSERT_TRUE(target->SetInfo().ok());
  EXPECT_THAT(fixture.Read(), HasSubstr("localgroup | PC1 | Backup Operators | WinNT://CORP/Helpdesk\n"));
  // A fresh bind sees the stored member; the rest of the file is unchanged.
  std::unique_ptr<DirObject> again = Bind("WinNT://PC1/Backup Operators,group", BindAs::Group);
  ASSERT_TRUE(again);
  EXPECT_THAT(Names(again->Members()), ElementsAre("Helpdesk"));
  ASSERT_TRUE(again->Remove("winnt://corp/helpdesk").ok());
  ASSERT_TRUE(again->SetInfo().ok());
  EXPECT_EQ(fixture.Read(), kDomain);
  WIN32_FIND_DATAA found;
  HANDLE leftover = FindFirstFileA((fixture.path() + ".*.new").c_str(), &found);
  EXPECT_EQ(leftover, INVALID_HANDLE_VALUE) << found.cFileName;
  if (leftover != INVALID_HANDLE_VALUE) FindClose(leftover);
}

// As the real WinNT provider does: Add and Remove store the change
// themselves, so a SetInfo that fails afterwards leaves it stored, and
// IsMember tells what the group holds.
TEST_F(AdsiDirectoryTest, ChangesAppliedAtOnceStayWhenSetInfoFails) {
  testing::FixtureFile fixture(std::string(kDomain) +
                               "changes | atonce\n"
                               "fail | WinNT://PC1/Backup Operators | setinfo | badnetpath\n");
  std::unique_ptr<DirObject> target = Bind("WinNT://PC1/Backup Operators,group", BindAs::Group);
  ASSERT_TRUE(target);
  EXPECT_FALSE(target->IsMember("WinNT://CORP/Helpdesk").value());
  ASSERT_TRUE(target->Add("WinNT://CORP/Helpdesk").ok());
  EXPECT_THAT(fixture.Read(), HasSubstr("localgroup | PC1 | Backup Operators | WinNT://CORP/Helpdesk\n"));
  EXPECT_EQ(target->SetInfo().code(), kErrBadNetPath);
  std::unique_ptr<DirObject> again = Bind("WinNT://PC1/Backup Operators,group", BindAs::Group);
  ASSERT_TRUE(again);
  Result<bool> member = again->IsMember("winnt://corp/helpdesk");
  ASSERT_TRUE(member.ok()) << member.status().description();
  EXPECT_TRUE(member.value());
}

// A provider may answer success and hand out nothing: a failure, no crash.
TEST_F(AdsiDirectoryTest, ASuccessWithoutAnObjectIsAFailure) {
  testing::FixtureFile fixture(std::string(kDomain) +
                               "fail | WinNT://PC1/Administrators | members | nothing\n"
                               "fail | WinNT://PC2 | enumerate | nothing\n");
  std::unique_ptr<DirObject> group = Bind("WinNT://PC1/Administrators,group", BindAs::Group);
  ASSERT_TRUE(group);
  EXPECT_FALSE(group->Members().ok());
  std::unique_ptr<DirObject> pc2 = Bind("WinNT://PC2");
  ASSERT_TRUE(pc2);
  EXPECT_FALSE(pc2->Enumerate().ok());
}

TEST_F(AdsiDirectoryTest, MembershipConflictsSurfaceWithTheirCodes) {
  testing::FixtureFile fixture(kDomain);
  std::unique_ptr<DirObject> target = Bind("WinNT://PC1/Administrators,group", BindAs::Group);
  ASSERT_TRUE(target);
  const Status already = target->Add("WinNT://CORP/Domain Admins");
  EXPECT_EQ(already.code(), kErrMemberInAlias);
  EXPECT_THAT(already.description(), Not(IsEmpty()));
  const Status notThere = target->Remove("WinNT://CORP/Helpdesk");
  EXPECT_EQ(notThere.code(), kErrMemberNotInAlias);
  EXPECT_THAT(notThere.description(), Not(IsEmpty()));
  std::unique_ptr<DirObject> domainGroup = Bind("WinNT://CORP/Helpdesk,group", BindAs::Group);
  ASSERT_TRUE(domainGroup);
  EXPECT_EQ(domainGroup->Remove("WinNT://CORP/alice").code(), kErrMemberNotInGroup);
}

TEST_F(AdsiDirectoryTest, BindFailuresCarryCodeAndDescription) {
  testing::FixtureFile fixture(std::string(kDomain) +
                               "fail | WinNT://PC2 | bind | accessdenied\n"
                               "fail | WinNT://LAB1 | bind | badnetpath\n");
  const struct {
    const char* path;
    BindAs as;
    std::uint32_t code;
  } cases[] = {
      {"WinNT://PC2", BindAs::Container, kErrAccessDenied},
      {"WinNT://CORP/PC2,computer", BindAs::Container, kErrAccessDenied},
      {"WinNT://LAB1", BindAs::Container, kErrBadNetPath},
      {"WinNT://GONE.invalid", BindAs::Container, kErrBadNetPath},          // unreachable
      {"WinNT://GONE.invalid/Administrators,group", BindAs::Group, kErrBadNetPath},
      {"WinNT://NOSUCHPC", BindAs::Container, kErrBadNetPath},
      {"WinNT://PC1/No Such Group,group", BindAs::Group, 0x800708ACu},
      {"WinNT://CORP/No Such Group,group", BindAs::Group, 0x800708ACu},
      {"WinNT://PC1//group", BindAs::Group, 0x80005000u},
      {"LDAP://nowhere", BindAs::Container, 0},  // another provider's failure: any code
  };
  for (const auto& c : cases) {
    Result<std::unique_ptr<DirObject>> bound = directory_.Bind(c.path, c.as);
    ASSERT_FALSE(bound.ok()) << c.path;
    if (c.code) {
      EXPECT_EQ(bound.status().code(), c.code) << c.path;
    }
    EXPECT_THAT(bound.status().description(), Not(IsEmpty())) << c.path;
    EXPECT_EQ(bound.status().description().find('\n'), std::string::npos) << c.path;
  }
}

TEST_F(AdsiDirectoryTest, InjectedOperationFailuresSurface) {
  testing::FixtureFile fixture(std::string(kDomain) +
                               "fail | WinNT://PC1/Users,group | add | 0x80070005\n"
                               "fail | WinNT://CORP/PC1/Users | setinfo | accessdenied\n"
                               "fail | WinNT://CORP | filter | fail\n"
                               "fail | WinNT://PC2 | enumerate | accessdenied\n"
                               "fail | WinNT://CORP/alice | name | 0x80070035\n"
                               "fail | WinNT://PC1/Administrators | members | accessdenied\n");
  std::unique_ptr<DirObject> users = Bind("WinNT://PC1/Users,group", BindAs::Group);
  ASSERT_TRUE(users);
  EXPECT_EQ(users->Add("WinNT://CORP/Helpdesk").code(), kErrAccessDenied);
  ASSERT_TRUE(users->Remove("WinNT://CORP/alice").ok());
  EXPECT_EQ(users->SetInfo().code(), kErrAccessDenied);
  EXPECT_THAT(fixture.Read(), HasSubstr("| Users | WinNT://CORP/alice\n"));  // nothing stored

  std::unique_ptr<DirObject> domain = Bind("WinNT://CORP");
  ASSERT_TRUE(domain);
  EXPECT_EQ(domain->SetFilter({"Computer"}).code(), 0x80004005u);
  std::unique_ptr<DirObject> pc2 = Bind("WinNT://PC2");
  ASSERT_TRUE(pc2);
  EXPECT_EQ(pc2->Enumerate().status().code(), kErrAccessDenied);

  std::unique_ptr<DirObject> storedUsers = Bind("WinNT://PC1/Users,group", BindAs::Group);
  ASSERT_TRUE(storedUsers);
  Result<std::unique_ptr<DirEnumerator>> members = storedUsers->Members();
  ASSERT_TRUE(members.ok());
  Result<std::unique_ptr<DirObject>> alice = members.value()->Next();
  ASSERT_TRUE(alice.ok() && alice.value());
  EXPECT_EQ(alice.value()->Name().status().code(), kErrBadNetPath);
  EXPECT_EQ(Bind("WinNT://PC1/Administrators,group", BindAs::Group)->Members().status().code(), kErrAccessDenied);
}

TEST_F(AdsiDirectoryTest, EnumerationsBreakHalfWay) {
  testing::FixtureFile fixture(std::string(kDomain) +
                               "break | WinNT://CORP | enumerate | 2 | 0x80070035\n"
                               "break | WinNT://PC1/Administrators,group | members | 1 | accessdenied\n");
  Status failure;
  std::unique_ptr<DirObject> domain = Bind("WinNT://CORP");
  ASSERT_TRUE(domain);
  ASSERT_TRUE(domain->SetFilter({"Computer"}).ok());
  EXPECT_THAT(Names(domain->Enumerate(), &failure), ElementsAre("PC1", "PC2"));
  EXPECT_EQ(failure.code(), kErrBadNetPath);
  EXPECT_THAT(failure.description(), Not(IsEmpty()));

  failure = Status::Ok();
  std::unique_ptr<DirObject> group = Bind("WinNT://PC1/Administrators,group", BindAs::Group);
  ASSERT_TRUE(group);
  EXPECT_THAT(Names(group->Members(), &failure), ElementsAre("Domain Admins"));
  EXPECT_EQ(failure.code(), kErrAccessDenied);
}

TEST_F(AdsiDirectoryTest, BindWaitsForTheConfiguredDelay) {
  testing::FixtureFile fixture(std::string(kDomain) + "delay | WinNT://PC2 | 300\n");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Bind("WinNT://PC2"));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count(), 290);
  // Other objects are not held up.
  const auto other = std::chrono::steady_clock::now();
  ASSERT_TRUE(Bind("WinNT://PC1"));
  EXPECT_LT(std::chrono::steady_clock::now() - other, std::chrono::milliseconds(290));
}

TEST_F(AdsiDirectoryTest, RegisteredFixtureServesProgramsStartedWithoutTheVariable) {
  testing::FixtureFile fixture("domain | STORED\n");
  ASSERT_TRUE(testing::RegisterTestDirectory());
  SetEnvironmentVariableA("ROSTERLY_TESTDIR_FIXTURE", nullptr);
  EXPECT_THAT(Children("WinNT:", {}), ElementsAre("STORED"));
}

TEST_F(AdsiDirectoryTest, MissingOrBrokenFixtureFailsTheBind) {
  {
    testing::FixtureFile fixture("computer | too few\n");
    Result<std::unique_ptr<DirObject>> bound = directory_.Bind("WinNT:", BindAs::Container);
    EXPECT_EQ(bound.status().code(), 0x8007000Du);
  }
  Result<std::unique_ptr<DirObject>> bound = directory_.Bind("WinNT:", BindAs::Container);
  EXPECT_FALSE(bound.ok());
  EXPECT_THAT(bound.status().description(), Not(IsEmpty()));
}

}  // namespace
}  // namespace rosterly
