// The recording layer over the fakes: every read sees the changes recorded
// before it, and the fakes end exactly as they began.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "PeExports.h"
#include "PlanWorld.h"

namespace scrubber {
namespace {

std::vector<std::string> Names(FileSystem& fs, std::string_view pattern) {
  std::vector<std::string> names;
  auto scan = fs.FindFirst(pattern);
  DirEntry entry;
  while (scan && scan->Next(entry))
    if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadAll(FileSystem& fs, std::string_view path) {
  auto reader = fs.OpenForReading(path);
  if (!reader) return "<none>";
  std::string out;
  char buffer[2];
  while (auto n = reader->Read(buffer)) {
    if (*n == 0) break;
    out.append(buffer, *n);
  }
  return out;
}

class Recording : public ::testing::Test {
 protected:
  PlanWorld world;
};

TEST_F(Recording, FilesSeeEveryEarlierChangeWhileTheDiskStaysAsItWas) {
  const std::string app = "C:\\Program Files\\App";
  world.fs.AddFile(app + "\\A.DLL", "a");
  world.fs.AddFile(app + "\\B.DLL", "new b");
  world.fs.AddFile(app + "\\BACKUP\\B.DLL", "old b");
  world.fs.AddDir(app + "\\Sub");
  const auto before = world.Snapshot();
  ASSERT_TRUE(before.count("file " + app + "\\BACKUP\\B.DLL"));

  RecordingPlatform plan(world.real);
  FileSystem& fs = plan.platform().fs;
  ASSERT_TRUE(fs.EraseFile("c:\\PROGRA~1\\app\\a.dll"));
  EXPECT_FALSE(fs.GetAttributes(app + "\\A.DLL")) << "gone for every spelling";
  EXPECT_EQ(fs.EraseFile(app + "\\A.DLL").error, SysError::NotFound) << "and not deleted twice";
  EXPECT_EQ(Names(fs, app + "\\*.*"), (std::vector<std::string>{"B.DLL", "BACKUP", "Sub"}));
  EXPECT_FALSE(fs.FindFirst(app + "\\A.DLL")) << "an empty scan is no scan";

  ASSERT_TRUE(fs.CopyOver(app + "\\BACKUP\\B.DLL", app + "\\B.DLL"));
  EXPECT_EQ(fs.ReadWholeFile(app + "\\B.DLL"), "old b");
  ASSERT_TRUE(fs.EraseFile(app + "\\BACKUP\\B.DLL"));
  EXPECT_EQ(fs.RemoveDir(app).error, SysError::DirNotEmpty);
  ASSERT_TRUE(fs.RemoveDir(app + "\\BACKUP")) << "empty once its file is gone";
  EXPECT_FALSE(fs.GetAttributes(app + "\\BACKUP\\B.DLL"));

  auto writer = fs.CreateForWriting(app + "\\NEW.TXT");
  ASSERT_TRUE(writer);
  EXPECT_EQ(writer->Write(std::span<const char>("hello ", 6)), 6u);
  EXPECT_EQ(writer->Write(std::span<const char>("world", 5)), 5u);
  writer.reset();
  EXPECT_EQ(ReadAll(fs, app + "\\NEW.TXT"), "hello world");
  EXPECT_EQ(Names(fs, app + "\\*.TXT"), std::vector<std::string>{"NEW.TXT"});
  ASSERT_TRUE(fs.RenameFile(app + "\\NEW.TXT", app + "\\Sub\\MOVED.TXT"));
  EXPECT_EQ(fs.RenameFile(app + "\\B.DLL", app + "\\Sub\\MOVED.TXT").error, SysError::AlreadyExists);
  EXPECT_FALSE(fs.GetAttributes(app + "\\NEW.TXT"));
  EXPECT_EQ(fs.ReadWholeFile(app + "\\Sub\\MOVED.TXT"), "hello world");

  ASSERT_TRUE(fs.TruncateFile(app + "\\B.DLL", 3));
  EXPECT_EQ(ReadAll(fs, app + "\\B.DLL"), "old") << "a copied file cut short";
  ASSERT_TRUE(fs.SetAttributes(app + "\\B.DLL", kAttrReadOnly));
  EXPECT_EQ(fs.EraseFile(app + "\\B.DLL").error, SysError::AccessDenied);
  ASSERT_TRUE(fs.MoveFileAtRestart(app + "\\B.DLL", "", false));
  EXPECT_TRUE(fs.GetAttributes(app + "\\B.DLL")) << "nothing happens before the restart";

  ASSERT_TRUE(fs.MakeDir("C:\\NEWDIR"));
  EXPECT_EQ(fs.MakeDir("C:\\NEWDIR").error, SysError::AlreadyExists);
  EXPECT_TRUE(fs.FindFirst("C:\\NEWDIR\\*.*")) << "a new directory lists . and ..";
  EXPECT_TRUE(fs.RemoveDir("C:\\NEWDIR"));

  EXPECT_EQ(Ops(plan.Steps()),
            "delete-file c:\\PROGRA~1\\app\\a.dll\n"
            "copy-file C:\\Program Files\\App\\B.DLL\n"
            "delete-file C:\\Program Files\\App\\BACKUP\\B.DLL\n"
            "remove-dir C:\\Program Files\\App\\BACKUP\n"
            "write-file C:\\Program Files\\App\\NEW.TXT\n"
            "rename-file C:\\Program Files\\App\\Sub\\MOVED.TXT\n"
            "truncate-file C:\\Program Files\\App\\B.DLL\n"
            "set-attributes C:\\Program Files\\App\\B.DLL\n"
            "delete-at-restart C:\\Program Files\\App\\B.DLL\n"
            "make-dir C:\\NEWDIR\n"
            "remove-dir C:\\NEWDIR\n");
  EXPECT_EQ(plan.Steps()[4].Field("size")->number, 11u) << "the writer's bytes are counted";
  EXPECT_TRUE(plan.Steps()[7].minor);
  EXPECT_EQ(world.Snapshot(), before);
}

TEST_F(Recording, TheCurrentDirectoryMovesOnlyInTheRun) {
  world.fs.AddFile("C:\\APP\\A.DLL", "a");
  RecordingPlatform plan(world.real);
  FileSystem& fs = plan.platform().fs;
  ASSERT_TRUE(fs.ChangeCurrentDirectory("C:\\APP"));
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\APP");
  EXPECT_EQ(world.fs.CurrentDirectory(), "C:\\");
  ASSERT_TRUE(fs.EraseFile("A.DLL"));
  EXPECT_FALSE(fs.GetAttributes("C:\\APP\\A.DLL"));
  EXPECT_EQ(fs.RemoveDir("C:\\APP").error, SysError::SharingViolation) << "the run's own directory stays";
  EXPECT_TRUE(world.fs.Exists("C:\\APP\\A.DLL"));
}

TEST_F(Recording, RegistryValuesAndKeysGoOnlyInTheRun) {
  world.registry.SetString(RegRoot::LocalMachine, "Software\\Demo\\Sub", "x", "1");
  world.registry.SetString(RegRoot::LocalMachine, "Software\\Demo", "keep", "k");
  world.registry.SetDword(RegRoot::LocalMachine, "Software\\Demo", "n", 5);
  const auto before = world.Snapshot();
  ASSERT_TRUE(before.count("value Software\\Demo\\Sub [x]"));

  RecordingPlatform plan(world.real);
  Registry& registry = plan.platform().registry;
  auto sub = registry.OpenKey(RegRoot::LocalMachine, "software\\demo\\SUB");
  ASSERT_TRUE(sub);
  ASSERT_TRUE(sub->DeleteValue("X"));
  EXPECT_FALSE(sub->Query("x"));
  EXPECT_FALSE(sub->EnumValue(0));
  EXPECT_FALSE(registry.QueryValue(RegRoot::LocalMachine, "Software\\Demo\\Sub", "x"));
  EXPECT_EQ(sub->DeleteValue("x").error, SysError::NotFound);
  sub.reset();

  EXPECT_EQ(registry.DeleteKey(RegRoot::LocalMachine, "Software\\Demo").error, SysError::AccessDenied)
      << "a key with a subkey stays";
  ASSERT_TRUE(registry.DeleteKey(RegRoot::LocalMachine, "Software\\Demo\\Sub"));
  EXPECT_FALSE(registry.OpenKey(RegRoot::LocalMachine, "Software\\Demo\\Sub"));

  auto demo = registry.OpenKey(RegRoot::LocalMachine, "Software\\Demo");
  ASSERT_TRUE(demo);
  EXPECT_FALSE(demo->EnumSubKey(0));
  ASSERT_TRUE(demo->Set("n", RegValue{kRegTypeDword, std::string("\x04\0\0\0", 4)}));
  ASSERT_TRUE(demo->Set("Added", RegValue{kRegTypeSz, std::string("new\0", 4)}));
  EXPECT_EQ(registry.QueryValue(RegRoot::LocalMachine, "Software\\Demo", "N")->data, std::string("\x04\0\0\0", 4));
  std::vector<std::string> values;
  for (std::uint32_t i = 0; auto name = demo->EnumValue(i); ++i) values.push_back(*name);
  EXPECT_EQ(values, (std::vector<std::string>{"keep", "n", "Added"}));
  demo.reset();

  ASSERT_TRUE(registry.DeleteKey(RegRoot::LocalMachine, "Software\\Demo"));
  EXPECT_FALSE(registry.QueryValue(RegRoot::LocalMachine, "Software\\Demo", "keep"));
  EXPECT_FALSE(registry.OpenKey(RegRoot::LocalMachine, "Software\\Demo"));
  EXPECT_EQ(registry.DeleteKey(RegRoot::LocalMachine, "Software\\Demo").error, SysError::NotFound);

  EXPECT_EQ(Ops(plan.Steps()),
            "delete-value HKEY_LOCAL_MACHINE\\software\\demo\\SUB\n"
            "delete-key HKEY_LOCAL_MACHINE\\Software\\Demo\\Sub\n"
            "set-value HKEY_LOCAL_MACHINE\\Software\\Demo\n"
            "set-value HKEY_LOCAL_MACHINE\\Software\\Demo\n"
            "delete-key HKEY_LOCAL_MACHINE\\Software\\Demo\n");
  EXPECT_EQ(plan.Steps()[2].Field("data")->text, "4");
  EXPECT_EQ(world.Snapshot(), before);
}

TEST_F(Recording, IniEntriesServicesProgramsAndProgmanCommandsAreOnlyRecorded) {
  world.fs.AddFile("C:\\APP\\DEMO.INI", "[Main]\r\nKey=now\r\n");
  world.services.AddService("DemoSvc", true);
  const auto before = world.Snapshot();

  RecordingPlatform plan(world.real);
  Platform& p = plan.platform();
  ASSERT_TRUE(p.profile.WriteString("C:\\APP\\DEMO.INI", "main", "KEY", "before"));
  EXPECT_EQ(p.profile.ReadString("C:\\APP\\DEMO.INI", "Main", "Key", "?"), "before");
  EXPECT_EQ(p.profile.ReadString("C:\\APP\\DEMO.INI", "Main", "Key", "?", 4), "bef") << "the caller's buffer bounds it";
  ASSERT_TRUE(p.profile.WriteString("C:\\APP\\DEMO.INI", "Main", "Absent", std::nullopt));
  ASSERT_TRUE(p.profile.WriteString("WININIT.INI", "rename", "C:\\A.DLL", "C:\\~KVZ0000.TMP"));
  EXPECT_TRUE(p.fs.GetAttributes("C:\\WINDOWS\\WININIT.INI")) << "a bare name lives in the Windows directory";
  EXPECT_EQ(p.profile.ReadString("WININIT.INI", "rename", "C:\\A.DLL", ""), "C:\\~KVZ0000.TMP");
  ASSERT_TRUE(p.fs.EraseFile("C:\\APP\\DEMO.INI"));
  EXPECT_EQ(p.profile.ReadString("C:\\APP\\DEMO.INI", "Main", "Key", "gone"), "gone");
  EXPECT_FALSE(p.profile.WriteString("C:\\NODIR\\X.INI", "S", "K", "v")) << "no directory, no file";

  auto manager = p.services.OpenManager();
  ASSERT_TRUE(manager);
  auto service = manager->OpenByName("demosvc");
  ASSERT_TRUE(service);
  EXPECT_TRUE(service->Stop());
  EXPECT_TRUE(service->Delete());
  service.reset();
  EXPECT_FALSE(manager->OpenByName("DemoSvc")) << "a deleted service no longer opens";
  EXPECT_FALSE(manager->OpenByName("NoSuchSvc"));
  manager.reset();

  auto process = p.processes.Start("C:\\APP\\UNINST.EXE /x");
  ASSERT_TRUE(process) << "the run goes on as if it had started";
  EXPECT_TRUE(process->Wait());

  auto instance = p.dde.Initialize();
  ASSERT_TRUE(instance);
  auto conversation = instance->Connect("PROGMAN", "PROGMAN");
  ASSERT_TRUE(conversation);
  EXPECT_EQ(conversation->Request("GROUPS", 5000), "Demo\r\n") << "requests reach the real server";
  EXPECT_TRUE(conversation->Execute("[DeleteGroup(Demo)]", 1000));
  EXPECT_EQ(world.dde.executed, 0);

  EXPECT_EQ(Ops(plan.Steps()),
            "ini-write C:\\APP\\DEMO.INI\n"
            "ini-write C:\\WINDOWS\\WININIT.INI\n"
            "delete-file C:\\APP\\DEMO.INI\n"
            "stop-service demosvc\n"
            "delete-service demosvc\n"
            "start-program C:\\APP\\UNINST.EXE /x\n"
            "progman [DeleteGroup(Demo)]\n");
  EXPECT_EQ(world.Snapshot(), before);
  for (const std::string& call : world.services.Calls())
    EXPECT_TRUE(call.rfind("Stop", 0) != 0 && call.rfind("Delete", 0) != 0) << call;
}

// A 64-bit image whose export table names `exports`.
std::string Image(const std::vector<std::string>& exports, std::uint16_t machine = kMachineAmd64) {
  std::string image(0x400, '\0');
  auto put = [&](std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) image[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  image[0] = 'M';
  image[1] = 'Z';
  put(60, 0x80, 4);
  std::memcpy(&image[0x80], "PE\0\0", 4);
  put(0x84, machine, 2);
  put(0x86, 1, 2);      // one section
  put(0x94, 240, 2);    // optional header size
  put(0x98, 0x20b, 2);  // PE32+
  put(0x98 + 108, 16, 4);
  put(0x98 + 112, 0x1000, 4);  // export directory
  put(0x98 + 116, 0x100, 4);
  const std::size_t section = 0x98 + 240;
  put(section + 8, 0x200, 4);
  put(section + 12, 0x1000, 4);
  put(section + 16, 0x200, 4);
  put(section + 20, 0x200, 4);
  put(0x200 + 24, static_cast<std::uint32_t>(exports.size()), 4);
  put(0x200 + 32, 0x1040, 4);
  std::uint32_t nameRva = 0x1080;
  for (std::size_t i = 0; i < exports.size(); ++i) {
    put(0x240 + 4 * i, nameRva, 4);
    std::memcpy(&image[0x200 + (nameRva - 0x1000)], exports[i].c_str(), exports[i].size() + 1);
    nameRva += 0x20;
  }
  return image;
}

TEST_F(Recording, ComponentsAnswerFromTheirExportTableAndAreNeverLoaded) {
  world.fs.AddFile("C:\\APP\\BOTH.DLL", Image({"DllRegisterServer", "DllUnregisterServer"}));
  world.fs.AddFile("C:\\APP\\REGONLY.DLL", Image({"DllRegisterServer"}));
  world.fs.AddFile("C:\\APP\\OTHERCPU.DLL", Image({"DllRegisterServer"}, 0x1c4));
  std::string broken = Image({"DllRegisterServer"});
  broken[0x240 + 1] = 0x7F;  // the name's address points nowhere
  world.fs.AddFile("C:\\APP\\BROKEN.DLL", broken);
  world.fs.AddFile("C:\\APP\\TEXT.DLL", "MZ but nothing more");

  RecordingPlatform plan(world.real);
  Libraries& libraries = plan.platform().libraries;
  auto ole = libraries.Load("OLE32.DLL");
  ASSERT_TRUE(ole);
  EXPECT_EQ(ole->Call("OleInitialize", EntryArgs::NullPointer), 0);

  auto both = libraries.Load("C:\\APP\\BOTH.DLL");
  ASSERT_TRUE(both);
  EXPECT_EQ(both->Call("DllUnregisterServer", EntryArgs::None), 0);
  auto regOnly = libraries.Load("C:\\APP\\REGONLY.DLL");
  ASSERT_TRUE(regOnly);
  EXPECT_FALSE(regOnly->HasExport("DllUnregisterServer"));
  EXPECT_FALSE(regOnly->Call("DllUnregisterServer", EntryArgs::None));
  auto broken2 = libraries.Load("C:\\APP\\BROKEN.DLL");
  ASSERT_TRUE(broken2);
  EXPECT_TRUE(broken2->Call("DllUnregisterServer", EntryArgs::None)) << "an unreadable table is assumed to export it";
  EXPECT_FALSE(libraries.Load("C:\\APP\\OTHERCPU.DLL")) << "the real run could not load it either";
  EXPECT_FALSE(libraries.Load("C:\\APP\\TEXT.DLL"));
  EXPECT_FALSE(libraries.Load("C:\\APP\\NONE.DLL"));
  ASSERT_TRUE(plan.platform().fs.EraseFile("C:\\APP\\BOTH.DLL"));
  EXPECT_FALSE(libraries.Load("C:\\APP\\BOTH.DLL")) << "a deleted file does not load";

  EXPECT_EQ(Ops(plan.Steps()),
            "call-entry C:\\APP\\BOTH.DLL\n"
            "call-entry C:\\APP\\BROKEN.DLL\n"
            "delete-file C:\\APP\\BOTH.DLL\n");
  EXPECT_EQ(plan.Steps()[0].Field("entry")->text, "DllUnregisterServer");
  EXPECT_FALSE(plan.Steps()[0].Field("exported"));
  EXPECT_EQ(plan.Steps()[1].Field("exported")->text, "assumed");
}

TEST_F(Recording, DamagedImagesAreReadWithinBounds) {
  // Any byte of the headers and tables may be wrong; reading must stay
  // inside the file and end.
  const std::string good = Image({"DllRegisterServer", "DllUnregisterServer"});
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 2000; ++round) {
    std::string image = good;
    for (int n = 0; n < 4; ++n) image[(next() >> 8) % 0x300] = static_cast<char>(next() >> 16);
    if (round % 7 == 0) image.resize((next() >> 8) % image.size());
    const std::string path = "C:\\FUZZ\\" + std::to_string(round) + ".DLL";
    ASSERT_TRUE(world.fs.AddFile(path, image));
    const PeInfo info = ReadPeInfo(world.fs, path);
    if (info.exportsKnown) {
      EXPECT_LE(info.exports.size(), 8192u);
    }
  }
}

TEST_F(Recording, MemoryStaysWithinItsBounds) {
  for (int i = 0; i < 5; ++i) world.fs.AddFile("C:\\APP\\F" + std::to_string(i), "x");
  RecordingPlatform plan(world.real, PlanLimits{3, 8});
  FileSystem& fs = plan.platform().fs;
  ASSERT_TRUE(fs.WriteWholeFile("C:\\APP\\BIG.TXT", "0123456789abcdef"));
  EXPECT_TRUE(fs.GetAttributes("C:\\APP\\BIG.TXT"));
  EXPECT_FALSE(fs.ReadWholeFile("C:\\APP\\BIG.TXT")) << "bytes past the budget are forgotten, not made up";
  ASSERT_TRUE(fs.WriteWholeFile("C:\\APP\\SMALL.TXT", "1234"));
  EXPECT_EQ(fs.ReadWholeFile("C:\\APP\\SMALL.TXT"), "1234");
  EXPECT_LE(plan.files().StoredBytes(), 8u);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(fs.EraseFile("C:\\APP\\F" + std::to_string(i)));
  EXPECT_FALSE(fs.GetAttributes("C:\\APP\\F4")) << "the view is kept past the step limit";
  EXPECT_EQ(plan.Steps().size(), 3u);
  EXPECT_EQ(plan.DroppedSteps(), 4u);
}

}  // namespace
}  // namespace scrubber
