// Whether a log is accepted, its title, its installations and the
// administrator check.
#include "ParseFixture.h"

namespace scrubber::test {
namespace {

using HeaderTest = ParseTest;

TEST_F(HeaderTest, UnusableLogsShowTheirMessageAndFail) {
  EXPECT_EQ(ParseAt("C:\\APP\\MISSING.LOG"), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Could not open INSTALL.LOG file.");
  EXPECT_EQ(ui.messages[0].caption, "Packwright Uninstall");

  for (std::string bad : {std::string("***Installation\r\nTitle: X\r\n"),  // no blank after ***
                          std::string("** Installation\r\nTitle: X\r\n"),
                          std::string("*** Installation\r\ntitle: X\r\n"),  // "Title:" has its case
                          std::string("*** Installation\r\nFile Copy: C:\\A\r\n"),
                          std::string("*** Installation\nTitle: X\n"),  // LF only: one long line
                          std::string("")}) {
    ui.messages.clear();
    EXPECT_EQ(Parse(bad), 1) << bad;
    ASSERT_EQ(ui.messages.size(), 1u) << bad;
    EXPECT_EQ(ui.messages[0].textId, 4);
    EXPECT_EQ(ui.messages[0].text, "Invalid INSTALL.LOG file.");
    EXPECT_EQ(ui.messages[0].caption, "Packwright Uninstall");
  }
}

TEST_F(HeaderTest, LineEndsDoNotChangeTheModel) {
  Exist("C:\\APP\\A.EXE");
  const std::string crlf = "*** I\r\nTitle: T\r\nFile Copy: C:\\APP\\A.EXE\r\nCreate Service: S\r\n";
  const std::string cr = "*** I\rTitle: T\rFile Copy: C:\\APP\\A.EXE\rCreate Service: S";
  const std::string blanks = "*** I\r\n\r\nTitle: T\r\n\r\n\r\nFile Copy: C:\\APP\\A.EXE\r\n\r\nCreate Service: S\r\n";
  for (const std::string& bytes : {crlf, cr, blanks}) {
    ASSERT_EQ(Parse(bytes), 0);
    ASSERT_EQ(model.PrivateFiles.size(), 1u);
    EXPECT_EQ(model.PrivateFiles[0].autoRemove, 1);
    ASSERT_EQ(model.Services.size(), 1u);
    EXPECT_EQ(model.LogHeader.title, "T");
  }
}

TEST_F(HeaderTest, TitleIsCleanedOfItsInstallEndings) {
  const std::pair<std::string, std::string> cases[] = {
      {"Foo Bar Installation", "Foo Bar"}, {"Foo Install", "Foo"},       {"Installation", "Installation"},
      {"Foo INSTALL INSTALLATION", "Foo"}, {"X INSTALLATION", "X"},       {" Install", " Install"},
      {"Reinstall", "Reinstall"},          {"Foo Installer", "Foo Installer"},
  };
  for (const auto& [raw, clean] : cases) {
    ASSERT_EQ(Parse("*** I\r\nTitle: " + raw + "\r\n"), 0);
    EXPECT_EQ(model.LogHeader.title, clean) << raw;
  }
  // The title starts at the eighth character, whatever the seventh is.
  ASSERT_EQ(Parse("*** I\r\nTitle:XDemo\r\n"), 0);
  EXPECT_EQ(model.LogHeader.title, "Demo");
  ASSERT_EQ(Parse("*** I\r\nTitle:\r\n"), 0);
  EXPECT_EQ(model.LogHeader.title, "");
}

TEST_F(HeaderTest, LocalizedInstallationEndingIsCut) {
  SetIni("C:\\SCRUB\\UNINST.INI", "Language", "Msg74", "\" INSTALLATIE\"");  // quoted: the profile trims blanks
  ASSERT_EQ(Parse("*** I\r\nTitle: Demo Installatie\r\n"), 0);
  EXPECT_EQ(model.LogHeader.title, "Demo");
}

TEST_F(HeaderTest, MainWindowTitleUnlessTheCommandLineNamedOne) {
  ASSERT_EQ(Parse(Log({})), 0);
  EXPECT_EQ(ui.titles, std::vector<std::string>{"Uninstall Demo App"});

  ui.titles.clear();
  caption = "X";  // one character does not count
  ASSERT_EQ(Parse(Log({})), 0);
  EXPECT_EQ(ui.titles.size(), 1u);

  ui.titles.clear();
  caption = "Remove Demo";
  ASSERT_EQ(Parse(Log({})), 0);
  EXPECT_TRUE(ui.titles.empty());
}

TEST_F(HeaderTest, LinesBeforeTheTitleAreIgnored) {
  Exist("C:\\APP\\A.EXE");
  ASSERT_EQ(Parse("***  I\r\nFile Copy: C:\\APP\\A.EXE\r\n*** second\r\nProduct: Early\r\nTitle: T\r\n"), 0);
  EXPECT_TRUE(model.PrivateFiles.empty());
  EXPECT_EQ(model.installCount, 1);
  EXPECT_EQ(model.LogHeader.product, "");
}

TEST_F(HeaderTest, HeaderFieldsTakeTheLastLine) {
  ASSERT_EQ(Parse(Log({"Product: First", "product: Second", "Manufacturer: ACME", "Version Number: 1.2",
                       "Serial Number: 42", "Uninstall MIF: DEMO.MIF"})),
            0);
  EXPECT_EQ(model.LogHeader.product, "Second");
  EXPECT_EQ(model.LogHeader.manufacturer, "ACME");
  EXPECT_EQ(model.LogHeader.version, "1.2");
  EXPECT_EQ(model.LogHeader.serialNumber, "42");
  EXPECT_EQ(model.LogHeader.mifName, "DEMO.MIF");
}

TEST_F(HeaderTest, SecondInstallationNumbersLaterItemsAndMarksItsOffset) {
  Exist("C:\\APP\\A.EXE");
  Exist("C:\\APP\\B.EXE");
  const std::string first = Log({"File Copy: C:\\APP\\A.EXE", "Create Service: One"});
  const std::string second = Lines({"*** Upgrade", "File Copy: C:\\APP\\B.EXE", "Create Service: Two",
                                    "Create Service: one"});
  ASSERT_EQ(Parse(first + "\r\n" + second), 0);
  EXPECT_EQ(model.installCount, 2);
  EXPECT_EQ(model.lastInstallOffset, first.size() + 2);
  ASSERT_EQ(model.PrivateFiles.size(), 2u);
  EXPECT_EQ(model.PrivateFiles[0].installNo, 1);
  EXPECT_EQ(model.PrivateFiles[1].installNo, 2);
  ASSERT_EQ(model.Services.size(), 3u);  // services never merge
  EXPECT_EQ(model.Services[2].installNo, 2);

  ASSERT_EQ(Parse(first), 0);
  EXPECT_EQ(model.installCount, 1);
  EXPECT_EQ(model.lastInstallOffset, 0u);
}

TEST_F(HeaderTest, EachHeaderDecidesWhetherPathsAreOem) {
  // "*** X": OEM text, converted; "***  X": ANSI, taken as it is.
  Exist("C:\\\x8E\\A.EXE");
  Exist("C:\\\x8E\\B.EXE");
  Exist("C:\\\x8E\\C.EXE");
  ASSERT_EQ(Parse(Lines({"*** OEM", "Title: T", "File Copy: C:\\\x8E\\A.EXE", "***  ANSI",
                         "File Copy: C:\\\x8E\\B.EXE", "Create Service: \x8E", "*** OEM again",
                         "File Copy: C:\\\x8E\\C.EXE"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 3u);
  EXPECT_EQ(model.PrivateFiles[0].path, "C:\\\xC4\\A.EXE");
  EXPECT_EQ(model.PrivateFiles[1].path, "C:\\\x8E\\B.EXE");
  EXPECT_EQ(model.PrivateFiles[2].path, "C:\\\xC4\\C.EXE");
  EXPECT_EQ(model.ansiText, 0);
  ASSERT_EQ(model.Services.size(), 1u);
  EXPECT_EQ(model.Services[0].name, "\x8E");  // never converted
}

TEST_F(HeaderTest, AdministratorCheckRunsOnceOnNtOnly) {
  system.SetAdministrator(false);
  ASSERT_EQ(Parse(Log({"User Rights: Admin"})), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].textId, 67);
  EXPECT_EQ(ui.messages[0].caption, "Uninstall");

  globals.platformKind = 2;
  ui.messages.clear();
  EXPECT_EQ(Parse(Log({"User Rights: Admin"})), 0);
  EXPECT_TRUE(ui.messages.empty());

  globals.platformKind = 1;
  system.SetAdministrator(true);
  system.serviceManagerOpens = 0;
  EXPECT_EQ(Parse(Log({"user rights: admin", "User Rights: Admin", "User Rights: Admin "})), 0);
  EXPECT_EQ(system.serviceManagerOpens, 1);
}

}  // namespace
}  // namespace scrubber::test
