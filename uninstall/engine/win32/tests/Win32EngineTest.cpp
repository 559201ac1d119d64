// RunUninstall on the real system: a log with every kind of record, over
// real files, INI files, registry values of every type, shared counts in
// their three forms, a running service, self-registering components, a
// SYSTEM.INI device line, a logged program, Program Manager icons (served
// by the stand-in) and the database engine's keys. Everything the test
// makes lives in a scratch directory or under keys of its own.
#include <windows.h>
#include <ole2.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CanonicalPathNames.h"
#include "Fixtures.h"
#include "MsgStrings.h"
#include "ParseInstallLog.h"
#include "Scratch.h"
#include "StringTable.h"
#include "Win32Platform.h"
#include "fixtures/SelfRegKeys.h"
#include "run/RunUninstall.h"

namespace scrubber {
namespace {

using testing::ExistsForTest;
using testing::FixturePath;
using testing::ReadFileForTest;
using testing::UserKeyExists;
using testing::WriteFileForTest;

constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kBde[] = "Software\\Borland\\Database Engine";

void SetValue(HKEY root, const std::string& key, const std::string& name, DWORD type, const std::string& data) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(h);
}

std::optional<std::pair<DWORD, std::string>> GetValue(HKEY root, const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return std::nullopt;
  char data[512];
  DWORD size = sizeof data, type = 0;
  LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return std::make_pair(type, std::string(data, size));
}

std::string Dword(DWORD n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

// A link at HKEY_CURRENT_USER\<key> to HKEY_CURRENT_USER\<target>.
void MakeUserLink(const std::string& key, const std::string& target) {
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  alignas(TOKEN_USER) char user[256];
  DWORD size = 0;
  const BOOL known = GetTokenInformation(token, TokenUser, user, sizeof user, &size);
  CloseHandle(token);
  ASSERT_TRUE(known);
  char* sid = nullptr;
  ASSERT_TRUE(ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
  const std::string path = std::string("\\REGISTRY\\USER\\") + sid + "\\" + target;
  LocalFree(sid);
  const std::wstring wide(path.begin(), path.end());  // stored in UTF-16, without a terminator
  HKEY link = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(link, "SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(wide.data()),
                           static_cast<DWORD>(wide.size() * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(link);
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

class QuietParse final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view text, std::string_view) override { ADD_FAILURE() << text; }
  void SetMainTitle(std::string_view) override {}
};

class RealRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root = scratch.path();
    app = root + "\\Demo App";
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr));
    Win32FileSystem fs;
    systemDir = fs.SystemDirectory();
    systemIni = fs.WindowsDirectory() + "\\SYSTEM.INI";
    savedSystemIni = ReadFileForTest(systemIni);
    testing::WaitForOneServiceManager();
    admin = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_TRUE(admin);
    service = "ScrubberEngineSvc" + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override {
    if (savedSystemIni) (void)WriteFileForTest(systemIni, *savedSystemIni);
    else DeleteFileA(systemIni.c_str());
    DeleteFileA((systemDir + "\\scrubtest_sys.dll").c_str());
    // A link left by a failed run goes as a link; a tree deletion would follow it.
    (void)Win32Registry().DeleteKey(RegRoot::CurrentUser, "Software\\ScrubberTree\\Sub\\Link");
    for (const char* key : {"Software\\ScrubberLinkTarget", "Software\\ScrubberCreated", "Software\\ScrubberChanged",
                            "Software\\ScrubberTree", "Software\\ScrubberTest"}) {
      RegDeleteTreeA(HKEY_CURRENT_USER, key);
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Borland");
    if (SC_HANDLE left = OpenServiceA(admin, service.c_str(), SERVICE_ALL_ACCESS)) {
      SERVICE_STATUS status;
      (void)ControlService(left, SERVICE_CONTROL_STOP, &status);
      (void)DeleteService(left);
      CloseServiceHandle(left);
    }
    CloseServiceHandle(admin);
  }

  std::string In(const std::string& name) const { return app + "\\" + name; }
  void Make(const std::string& path, const std::string& content = "x") { ASSERT_TRUE(WriteFileForTest(path, content)); }
  void Copy(const std::string& fixture, const std::string& to) {
    ASSERT_TRUE(CopyFileA(FixturePath(fixture).c_str(), to.c_str(), FALSE)) << fixture;
  }
  void Shared(const std::string& path, DWORD type, const std::string& data) {
    SetValue(HKEY_LOCAL_MACHINE, kSharedDlls, path, type, data);
  }
  void InstallRunningService() {
    const std::string binary = "\"" + FixturePath("ServiceFixture.exe") + "\"";
    SC_HANDLE h = CreateServiceA(admin, service.c_str(), service.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                 SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(h) << GetLastError();
    ASSERT_TRUE(testdriver::StartServiceWhenReady(h)) << GetLastError();
    CloseServiceHandle(h);
  }
  bool ServiceExists() {
    SC_HANDLE h = OpenServiceA(admin, service.c_str(), SERVICE_QUERY_STATUS);
    if (!h) return false;
    CloseServiceHandle(h);
    return true;
  }

  void RunLog(const std::string& log, std::int32_t method) {
    logPath = In("INSTALL.LOG");
    ASSERT_TRUE(WriteFileForTest(logPath, log));
    Win32Platform win32;
    Platform& platform = win32.platform();
    BuiltinStringTable table;
    MsgStrings strings(platform.profile, "", table, platform.fs.CodePageLeadBytes());
    CanonicalPathNames paths(platform.fs);
    QuietParse parseUi;
    globals.platformKind = platform.system.PlatformKind();
    globals.isVersion4OrLater = platform.system.MajorVersion() >= 4 ? 1 : 0;
    globals.method = method;
    globals.silent = 1;
    ParseEnvironment parse{platform.fs, platform.profile, platform.registry, platform.system, paths, strings,
                           parseUi,     globals,          "test"};
    ASSERT_EQ(ParseInstallLog(parse, logPath, model), 0);
    HeadlessUi ui;
    RunUninstall(EngineEnvironment{platform, globals, strings, ui}, model, logPath);
  }

  testing::ScratchDir scratch{"scrubber-engine"};
  std::string root, app, systemDir, systemIni, logPath, service;
  std::optional<std::string> savedSystemIni;
  SC_HANDLE admin = nullptr;
  Globals globals;
  UninstallModel model;
};

TEST_F(RealRun, EveryKindOfRecordIsUndone) {
  // Files: private, a help file with its companions, shared ones in the
  // three count forms, a system file, self-registering components, a device.
  Make(In("A.DLL"));
  Make(In("HELP.HLP"));
  Make(In("HELP.GID"));
  Make(In("HELP.FTS"));
  Make(In("THREE.DLL"));
  Make(In("ONE.DLL"));
  Make(In("VXD.386"));
  Make(systemDir + "\\scrubtest_sys.dll");
  Shared(In("THREE.DLL"), REG_BINARY, Dword(3));
  Shared(In("ONE.DLL"), REG_DWORD, Dword(1));
  Shared(systemDir + "\\scrubtest_sys.dll", REG_SZ, std::string("2") + '\0');
  Copy("SelfRegDll.dll", In("SELFREG.DLL"));
  Copy("SelfRegExe.exe", In("SELFREG.EXE"));
  HMODULE selfReg = LoadLibraryA(In("SELFREG.DLL").c_str());
  ASSERT_TRUE(selfReg);
  auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(selfReg, "DllRegisterServer")));
  ASSERT_TRUE(reg);
  reg();
  FreeLibrary(selfReg);
  ASSERT_TRUE(UserKeyExists(SCRUBBER_FIXTURE_KEY_DLL));
  {
    std::string command = "\"" + In("SELFREG.EXE") + "\" /REGSERVER";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  ASSERT_TRUE(UserKeyExists(SCRUBBER_FIXTURE_KEY_EXE));
  ASSERT_TRUE(WriteFileForTest(systemIni, savedSystemIni.value_or("") + "\r\n[386Enh]\r\n  device=" + In("VXD.386") +
                                              "\r\ndevice=keep.386\r\n"));
  // Directories, INI files and entries.
  ASSERT_TRUE(CreateDirectoryA(In("EMPTY").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(In("TREE").c_str(), nullptr));
  Make(In("TREE\\DATA.BIN"));
  Make(In("APP.INI"), "[A]\r\nk=1\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "Old", "new", In("CONF.INI").c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("S", "Fresh", "v", In("CONF.INI").c_str()));
  // Registry: created values of every type under a fresh chain, changed
  // values of every type, a created tree, the database engine.
  const std::string created = "Software\\ScrubberCreated\\Deep";
  SetValue(HKEY_CURRENT_USER, created, "Sz", REG_SZ, std::string("s") + '\0');
  SetValue(HKEY_CURRENT_USER, created, "Expand", REG_EXPAND_SZ, std::string("%TEMP%") + '\0');
  SetValue(HKEY_CURRENT_USER, created, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  SetValue(HKEY_CURRENT_USER, created, "Dword", REG_DWORD, Dword(7));
  SetValue(HKEY_CURRENT_USER, created, "Binary", REG_BINARY, "\x01\x02");
  const std::string changed = "Software\\ScrubberChanged";
  SetValue(HKEY_CURRENT_USER, changed, "Sz", REG_SZ, std::string("new") + '\0');
  SetValue(HKEY_CURRENT_USER, changed, "Expand", REG_EXPAND_SZ, std::string("new") + '\0');
  SetValue(HKEY_CURRENT_USER, changed, "Multi", REG_MULTI_SZ, std::string("new\0\0", 5));
  SetValue(HKEY_CURRENT_USER, changed, "Dword", REG_DWORD, Dword(99));
  SetValue(HKEY_CURRENT_USER, changed, "Binary", REG_BINARY, "\xFF");
  SetValue(HKEY_CURRENT_USER, "Software\\ScrubberTree\\Sub\\Deeper", "v", REG_SZ, std::string("x") + '\0');
  // A link inside the tree: it goes, the key it points to stays whole.
  SetValue(HKEY_CURRENT_USER, "Software\\ScrubberLinkTarget\\Inner", "kept", REG_SZ, std::string("y") + '\0');
  MakeUserLink("Software\\ScrubberTree\\Sub\\Link", "Software\\ScrubberLinkTarget");
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, "Software\\ScrubberTree\\Sub\\Link\\Inner", "kept")) << "the link leads there";
  SetValue(HKEY_LOCAL_MACHINE, kBde, "UseCount", REG_SZ, std::string("2") + '\0');
  // A service, a logged program and Program Manager icons.
  InstallRunningService();
  ASSERT_TRUE(WriteFileForTest(root + "\\groups.txt",
                               "[Scrubber Demo]\r\nEditor|" + In("A.DLL") + "\r\n[Other]\r\nKept|C:\\X.EXE\r\n"));
  testing::ProgmanStandIn progman;
  ASSERT_TRUE(progman.Start(root + "\\groups.txt", root + "\\commands.txt"));

  const std::string ran = root + "\\ran.txt";
  std::vector<std::string> lines = {
      "File Copy: " + In("A.DLL"),
      "File Copy: " + In("HELP.HLP"),
      "File Copy: " + In("THREE.DLL"),
      "File Copy: " + In("ONE.DLL"),
      "File Copy: " + In("VXD.386"),
      "Add Device: " + In("VXD.386"),
      "File Copy: " + In("SELFREG.DLL"),
      "Self-Register: " + In("SELFREG.DLL"),
      "File Copy: " + In("SELFREG.EXE"),
      "Self-Register: " + In("SELFREG.EXE"),
      "Non-System File:",
      "File Copy: " + systemDir + "\\scrubtest_sys.dll",
      "Made Dir: " + In("EMPTY"),
      "File Tree: " + In("TREE") + "\\*.*",
      "INI New: x",
      "INI File: " + In("APP.INI"),
      "INI File: " + In("CONF.INI"), "INI Sect: S", "INI Item: Old", "INI Val: new", "INI Old: before",
      "INI File: " + In("CONF.INI"), "INI Sect: S", "INI Item: Fresh", "INI Val: v",
      "RegDB Key: " + created, "RegDB Val: s", "RegDB Name: Sz", "RegDB Root: 1",
      "RegDB Key: " + created, "RegDB Val: e", "RegDB Name: Expand", "RegDB Type: 1", "RegDB Root: 1",
      "RegDB Key: " + created, "RegDB Val: m", "RegDB Name: Multi", "RegDB Type: 2", "RegDB Root: 1",
      "RegDB Key: " + created, "RegDB Val: d", "RegDB Name: Dword", "RegDB Type: 3", "RegDB Root: 1",
      "RegDB Key: " + created, "RegDB Val: b", "RegDB Name: Binary", "RegDB Type: 4", "RegDB Root: 1",
      "RegDB Key: " + changed, "RegDB Val: n", "RegDB Name: Sz", "RegDB Root: 1", "RegDB Old: old text",
      "RegDB Key: " + changed, "RegDB Val: n", "RegDB Name: Expand", "RegDB Type: 1", "RegDB Root: 1",
      "RegDB Old: %WINDIR%",
      "RegDB Key: " + changed, "RegDB Val: n", "RegDB Name: Multi", "RegDB Type: 2", "RegDB Root: 1",
      "RegDB Old: one", "RegDB Old: two",
      "RegDB Key: " + changed, "RegDB Val: n", "RegDB Name: Dword", "RegDB Type: 3", "RegDB Root: 1",
      "RegDB Old: 00000012",
      "RegDB Key: " + changed, "RegDB Val: n", "RegDB Name: Binary", "RegDB Type: 4", "RegDB Root: 1",
      "RegDB Old: 0a 1B ff",
      "RegDB Tree: Software\\ScrubberTree", "RegDB Root: 1",
      "Create Service: " + service,
      "Execute Path: \"" + FixturePath("TouchFile.exe") + "\" " + ran + " done",
      "Execute Name: Demo clean-up",
      "Icon Group: Scrubber Demo", "Icon Name: Editor", "Icon Cmd: " + In("A.DLL"),
      "SubSystem: BDE",
  };
  std::string log = "***  Installation started\r\nTitle: Demo App\r\n";
  for (const std::string& line : lines) log += line + "\r\n";
  // OLE already initialised on the thread, as a shell or a common dialog can
  // leave it: the components are unregistered all the same.
  ASSERT_EQ(OleInitialize(nullptr), S_OK);
  RunLog(log, kAutomatic);
  OleUninitialize();

  EXPECT_EQ(ReadFileForTest(ran), "done") << "the logged program ran and was waited for";
  EXPECT_FALSE(ServiceExists());
  for (const char* name : {"A.DLL", "HELP.HLP", "HELP.GID", "HELP.FTS", "VXD.386", "SELFREG.DLL", "SELFREG.EXE",
                           "APP.INI", "INSTALL.LOG", "EMPTY", "TREE"}) {
    EXPECT_FALSE(ExistsForTest(In(name))) << name;
  }
  EXPECT_TRUE(ExistsForTest(systemDir + "\\scrubtest_sys.dll")) << "still used by another program";
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kSharedDlls, systemDir + "\\scrubtest_sys.dll"),
            std::make_pair(DWORD{REG_DWORD}, Dword(1)))
      << "a count kept as text is written back as a number";
  EXPECT_TRUE(ExistsForTest(In("THREE.DLL")));
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kSharedDlls, In("THREE.DLL")), std::make_pair(DWORD{REG_DWORD}, Dword(2)));
  EXPECT_TRUE(ExistsForTest(In("ONE.DLL"))) << "silent: the last shared copy stays";
  EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, kSharedDlls, In("ONE.DLL")));
  EXPECT_FALSE(UserKeyExists(SCRUBBER_FIXTURE_KEY_DLL)) << "the library was unregistered";
  EXPECT_FALSE(UserKeyExists(SCRUBBER_FIXTURE_KEY_EXE)) << "the program was unregistered";
  const std::string ini = ReadFileForTest(systemIni).value_or("");
  EXPECT_NE(ini.find(";  device=" + In("VXD.386") + "\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\ndevice=keep.386\r\n"), std::string::npos) << ini;
  char value[64];
  GetPrivateProfileStringA("S", "Old", "-", value, sizeof value, In("CONF.INI").c_str());
  EXPECT_STREQ(value, "before");
  GetPrivateProfileStringA("S", "Fresh", "-", value, sizeof value, In("CONF.INI").c_str());
  EXPECT_STREQ(value, "-");
  EXPECT_TRUE(ExistsForTest(app)) << "it still holds CONF.INI, and Automatic removes only empty directories";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\ScrubberCreated")) << "the emptied chain is pruned";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, changed, "Sz"), std::make_pair(DWORD{REG_SZ}, std::string("old text") + '\0'));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, changed, "Expand"),
            std::make_pair(DWORD{REG_EXPAND_SZ}, std::string("%WINDIR%") + '\0'));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, changed, "Multi"),
            std::make_pair(DWORD{REG_MULTI_SZ}, std::string("one\0two\0\0", 9)));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, changed, "Dword"), std::make_pair(DWORD{REG_DWORD}, Dword(12)));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, changed, "Binary"),
            std::make_pair(DWORD{REG_BINARY}, std::string("\x0A\x1B\xFF", 3)));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\ScrubberTree"));
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, "Software\\ScrubberLinkTarget\\Inner", "kept"),
            std::make_pair(DWORD{REG_SZ}, std::string("y") + '\0'));
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kBde, "UseCount"), std::make_pair(DWORD{REG_SZ}, std::string("1") + '\0'));
  const std::string commands = ReadFileForTest(root + "\\commands.txt").value_or("");
  EXPECT_EQ(commands,
            "[ShowGroup(Scrubber Demo,2)]\r\n[ShowGroup(Scrubber Demo,1)]\r\n[DeleteItem(Editor)]\r\n"
            "[DeleteGroup(Scrubber Demo)]\r\n");
}

TEST_F(RealRun, RollbackPutsBackupsAndEditedFilesBackAndCutsTheLog) {
  Make(In("V1.DLL"), "one");
  Make(In("V2.DLL"), "two");
  Make(In("LIB.DLL"), "version 2");
  Make(In("LIB.BAK"), "version 1");
  Make(In("CONFIG.SYS"), "edited");
  Make(In("CONFIG.BAK"), "as before");
  const std::string first = "***  Installation started\r\nTitle: Demo App\r\nFile Copy: " + In("V1.DLL") + "\r\n";
  const std::string second = "***  Installation started\r\nTitle: Demo App\r\nFile Copy: " + In("V2.DLL") +
                             "\r\nFile Overwrite: " + In("LIB.DLL") + "\r\nBackup Copy: " + In("LIB.BAK") +
                             "\r\nFile Edit: " + In("CONFIG.SYS") + "\r\nBackup Copy: " + In("CONFIG.BAK") + "\r\n";
  globals.rollback = 1;
  RunLog(first + second, kAutomatic);
  EXPECT_EQ(ReadFileForTest(In("V1.DLL")), "one");
  EXPECT_FALSE(ExistsForTest(In("V2.DLL")));
  EXPECT_EQ(ReadFileForTest(In("LIB.DLL")), "version 1");
  EXPECT_FALSE(ExistsForTest(In("LIB.BAK")));
  EXPECT_EQ(ReadFileForTest(In("CONFIG.SYS")), "as before");
  EXPECT_EQ(ReadFileForTest(logPath), first) << "the log keeps the first installation's bytes exactly";
}

}  // namespace
}  // namespace scrubber
