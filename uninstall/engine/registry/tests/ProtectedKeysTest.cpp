// The keys no uninstall may delete, in the spellings a log may give them.
#include <gtest/gtest.h>

#include "ProtectedKeys.h"

namespace scrubber {
namespace {

struct Case {
  RegRoot root;
  const char* key;
};

constexpr Case kProtected[] = {
    {RegRoot::LocalMachine, ""},
    {RegRoot::LocalMachine, "\\"},
    {RegRoot::LocalMachine, "Software"},
    {RegRoot::LocalMachine, "SOFTWARE\\"},
    {RegRoot::LocalMachine, "software\\\\classes"},
    {RegRoot::LocalMachine, "Software/Microsoft/Windows"},
    {RegRoot::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion\\"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"},
    {RegRoot::LocalMachine, "Software\\Policies"},
    {RegRoot::LocalMachine, "Software\\Wow6432Node"},
    {RegRoot::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::LocalMachine, "Software\\Classes\\CLSID"},
    {RegRoot::LocalMachine, "Software\\Wow6432Node\\Classes\\TypeLib"},
    {RegRoot::LocalMachine, "System"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Services"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Control\\"},
    {RegRoot::LocalMachine, "System\\ControlSet001\\Services"},
    {RegRoot::ClassesRoot, ""},
    {RegRoot::ClassesRoot, "CLSID"},
    {RegRoot::ClassesRoot, "clsid\\"},
    {RegRoot::ClassesRoot, "Interface"},
    {RegRoot::ClassesRoot, "TypeLib"},
    {RegRoot::ClassesRoot, "AppID"},
    {RegRoot::ClassesRoot, "Installer"},
    {RegRoot::ClassesRoot, "Wow6432Node\\CLSID"},
    {RegRoot::CurrentUser, ""},
    {RegRoot::CurrentUser, "Software"},
    {RegRoot::CurrentUser, "Software\\Classes\\CLSID"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::CurrentUser, "Control Panel"},
    {RegRoot::Users, ""},
    {RegRoot::Users, ".DEFAULT"},
    {RegRoot::Users, "S-1-5-21-1\\Software\\Microsoft"},
    {RegRoot::Users, "S-1-5-21-1_Classes\\CLSID"},
    {RegRoot::CurrentConfig, ""},
    {RegRoot::CurrentConfig, "Software"},
    {RegRoot::CurrentConfig, "System\\CurrentControlSet"},
};

constexpr Case kFree[] = {
    {RegRoot::LocalMachine, "Software\\Vendor"},
    {RegRoot::LocalMachine, "Software\\Vendor\\Product\\1.0"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Product"},
    {RegRoot::LocalMachine, "Software\\Classes\\CLSID\\{00000000-1111-2222-3333-444444444444}"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\ProductDriver"},
    {RegRoot::LocalMachine, "System\\ControlSetX"},
    {RegRoot::ClassesRoot, "Product.Document"},
    {RegRoot::ClassesRoot, ".prd"},
    {RegRoot::ClassesRoot, "CLSID\\{00000000-1111-2222-3333-444444444444}"},
    {RegRoot::CurrentUser, "Software\\Vendor"},
    {RegRoot::CurrentUser, "Classes"},
    {RegRoot::Users, ".DEFAULT\\Software\\Vendor"},
    {RegRoot::CurrentConfig, "Software\\Vendor"},
};

TEST(ProtectedKeys, SystemKeysAreProtectedInEverySpellingAndUnderEveryRootThatSharesThem) {
  const LeadBytes singleByte;
  for (const Case& c : kProtected) {
    EXPECT_TRUE(IsProtectedKey(c.root, c.key, singleByte)) << static_cast<int>(c.root) << " " << c.key;
  }
  for (const Case& c : kFree) {
    EXPECT_FALSE(IsProtectedKey(c.root, c.key, singleByte)) << static_cast<int>(c.root) << " " << c.key;
  }
}

TEST(ProtectedKeys, NormalizingStepsOverDoubleByteCharacters) {
  LeadBytes shiftJis;
  shiftJis.Set(0x81, 0x9F);
  // 0x95 0x5C is one character whose second byte looks like a backslash.
  EXPECT_EQ(NormalizeKeyPath("a//b\\\x95\\\\c/", shiftJis), "A\\B\\\x95\\\\C");
  EXPECT_EQ(NormalizeKeyPath("Soft\x95\\", shiftJis), "SOFT\x95\\") << "a trailing trail byte is kept";
  EXPECT_FALSE(IsProtectedKey(RegRoot::LocalMachine, "Software\\\x95\\", shiftJis));
}

}  // namespace
}  // namespace scrubber
