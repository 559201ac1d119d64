// Programs, services and self-registration.
#include <string>

#include "SystemFixture.h"

namespace scrubber {
namespace {

using Log = std::vector<std::string>;

TEST_F(SystemFixture, ProgramsAreStartedAndWaitedForAndServicesStoppedBeforeDeletion) {
  ops.RunAndWait("C:\\APP\\UNINST.EXE /S");
  processes.Missing("C:\\NONE");
  ops.RunAndWait("C:\\NONE\\X.EXE");
  EXPECT_EQ(processes.Started(), Log{"C:\\APP\\UNINST.EXE /S"});
  EXPECT_EQ(processes.Waits(), 1u);

  services.AddService("ProductSvc", true);
  ops.RemoveService("productsvc");
  EXPECT_FALSE(services.Exists("ProductSvc"));
  ops.RemoveService("Missing");
  EXPECT_EQ(services.Calls(), (Log{"OpenManager", "OpenService productsvc", "Stop productsvc", "Delete productsvc",
                                   "CloseService productsvc", "CloseManager", "OpenManager", "OpenService Missing",
                                   "CloseManager"}));

  services.AddService("Stubborn", true);
  services.RefuseStop("Stubborn");
  ops.RemoveService("Stubborn");
  EXPECT_TRUE(services.IsMarkedForDelete("Stubborn")) << "deleted even when it does not stop";
}

class SelfRegistration : public SystemFixture {
 protected:
  void SetUp() override {
    libraries.AddOle32();
    std::string image(0x48, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[60] = 0x40;
    image[0x40] = 'P';
    image[0x41] = 'E';
    fs.AddFile("C:\\Program Files\\Vendor\\COMP.DLL", image);
    fs.AddFile("C:\\Program Files\\Vendor\\PLAIN.DLL", image);
    fs.AddFile("C:\\Program Files\\Vendor\\README.DLL", "not an image");
    fs.AddFile("C:\\Program Files\\Vendor\\setup.exe", "MZ");
    libraries.AddSelfRegistering("C:\\Program Files\\Vendor\\COMP.DLL");
    libraries.AddLibrary("C:\\Program Files\\Vendor\\PLAIN.DLL");
  }
};

TEST_F(SelfRegistration, AComponentIsCalledBetweenOleInitializeAndOleUninitialize) {
  std::string during;
  libraries.AddExport("C:\\Program Files\\Vendor\\COMP.DLL", "DllUnregisterServer", [&] {
    during = fs.CurrentDirectory();
    return 0;
  });
  fs.AddDir("C:\\WORK");
  fs.SetCurrentDir("C:\\WORK");
  ops.SelfRegister("Self-Unregistering file:\r\n", "C:\\Program Files\\Vendor\\COMP.DLL", Registration::Unregister);
  EXPECT_EQ(ui.events, (Log{"Self-Unregistering file:\r\nC:\\Program Files\\Vendor\\COMP.DLL", "pump 0"}));
  EXPECT_EQ(during, "C:\\PROGRA~1\\Vendor") << "the file's directory in short form";
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\WORK") << "and afterwards the one before, so that it can be removed";
  EXPECT_EQ(libraries.Log(), (Log{"Load OLE32.DLL", "Call OleInitialize", "Load C:\\Program Files\\Vendor\\COMP.DLL",
                                  "Call DllUnregisterServer", "Free C:\\Program Files\\Vendor\\COMP.DLL",
                                  "Call OleUninitialize", "Free OLE32.DLL"}));

  libraries.ClearLog();
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\COMP.DLL", Registration::Register);
  EXPECT_EQ(libraries.Log()[3], "Call DllRegisterServer");

  libraries.ClearLog();
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\PLAIN.DLL", Registration::Unregister);
  EXPECT_EQ(libraries.Log(), (Log{"Load OLE32.DLL", "Call OleInitialize", "Load C:\\Program Files\\Vendor\\PLAIN.DLL",
                                  "Free C:\\Program Files\\Vendor\\PLAIN.DLL", "Call OleUninitialize",
                                  "Free OLE32.DLL"}))
      << "a library without the entry points is loaded and freed without effect";
  EXPECT_EQ(libraries.LoadedNow(), 0);

  libraries.ClearLog();
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\README.DLL", Registration::Unregister);
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\MISSING.DLL", Registration::Unregister);
  EXPECT_TRUE(libraries.Log().empty()) << "no image, nothing loaded";
}

TEST_F(SelfRegistration, OleAlreadyInitialisedIsASuccessAndOnlyASuccessIsUninitialised) {
  libraries.AddOle32(1);  // S_FALSE
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\COMP.DLL", Registration::Unregister);
  EXPECT_EQ(libraries.Log(), (Log{"Load OLE32.DLL", "Call OleInitialize", "Load C:\\Program Files\\Vendor\\COMP.DLL",
                                  "Call DllUnregisterServer", "Free C:\\Program Files\\Vendor\\COMP.DLL",
                                  "Call OleUninitialize", "Free OLE32.DLL"}));

  libraries.ClearLog();
  libraries.AddOle32(static_cast<std::int32_t>(0x8007000EU));  // E_OUTOFMEMORY
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\COMP.DLL", Registration::Unregister);
  EXPECT_EQ(libraries.Log(), (Log{"Load OLE32.DLL", "Call OleInitialize", "Free OLE32.DLL"}));

  libraries.ClearLog();
  libraries.faults().FailCall("Load");
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\COMP.DLL", Registration::Unregister);
  EXPECT_EQ(libraries.Log(), Log{"Load OLE32.DLL failed"});
}

TEST_F(SelfRegistration, AnExecutableInAnyLetterCaseIsRunWithItsSwitch) {
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\setup.exe", Registration::Unregister);
  ops.SelfRegister("", "C:\\Program Files\\Vendor\\setup.exe", Registration::Register);
  EXPECT_EQ(processes.Started(), (Log{"C:\\PROGRA~1\\Vendor\\setup.exe /UNREGSERVER", "C:\\PROGRA~1\\Vendor\\setup.exe /REGSERVER"}));
  EXPECT_EQ(processes.Waits(), 2u);
  EXPECT_TRUE(libraries.Log().empty());

  fs.AddFile("C:\\X.EXE");
  fs.AddDir("C:\\WORK");
  fs.SetCurrentDir("C:\\WORK");
  std::string during;
  processes.OnStart("C:\\X.EXE", [&](std::string_view) { during = fs.CurrentDirectory(); });
  ops.SelfRegister("", "C:\\X.EXE", Registration::Unregister);
  EXPECT_EQ(during, "C:\\") << "a file in a root makes the root current, not the drive's directory";
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\WORK");
}

}  // namespace
}  // namespace scrubber
