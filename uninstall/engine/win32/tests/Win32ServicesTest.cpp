// Win32Services against services that the test installs itself, running the
// service fixture.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Fixtures.h"
#include "Win32Services.h"

namespace scrubber {
namespace {

using testing::FixturePath;

class Win32ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_TRUE(admin_) << GetLastError();
    name_ = "ScrubberFixture" + std::to_string(GetCurrentProcessId()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override {
    if (SC_HANDLE left = OpenServiceA(admin_, name_.c_str(), SERVICE_ALL_ACCESS)) {
      SERVICE_STATUS status;
      (void)ControlService(left, SERVICE_CONTROL_STOP, &status);
      (void)DeleteService(left);
      CloseServiceHandle(left);
    }
    CloseServiceHandle(admin_);
  }

  void Install() {
    std::string binary = "\"" + FixturePath("ServiceFixture.exe") + "\"";
    SC_HANDLE service = CreateServiceA(admin_, name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                       binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(service) << GetLastError();
    CloseServiceHandle(service);
  }

  // The service's state, or 0 when it cannot be opened.
  DWORD State() {
    SC_HANDLE service = OpenServiceA(admin_, name_.c_str(), SERVICE_QUERY_STATUS);
    if (!service) return 0;
    SERVICE_STATUS status{};
    BOOL ok = QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
    return ok ? status.dwCurrentState : 0;
  }

  // Waits up to ten seconds for the state; 0 waits for the service to go.
  bool Reaches(DWORD state) {
    for (int i = 0; i < 200; ++i) {
      if (State() == state) return true;
      Sleep(50);
    }
    return false;
  }

  SC_HANDLE admin_ = nullptr;
  std::string name_;
  Win32Services services_;
};

TEST_F(Win32ServicesTest, RunningServiceIsStoppedThenDeleted) {
  testing::WaitForOneServiceManager();
  Install();
  SC_HANDLE service = OpenServiceA(admin_, name_.c_str(), SERVICE_START);
  ASSERT_TRUE(service);
  const bool started = testdriver::StartServiceWhenReady(service);
  DWORD error = GetLastError();
  CloseServiceHandle(service);
  ASSERT_TRUE(started) << error;
  ASSERT_TRUE(Reaches(SERVICE_RUNNING));

  auto manager = services_.OpenManager();
  ASSERT_TRUE(manager);
  auto handle = manager->OpenByName(name_);
  ASSERT_TRUE(handle);
  EXPECT_TRUE(handle->Stop());
  EXPECT_TRUE(Reaches(SERVICE_STOPPED)) << "the fixture obeys the stop control";
  EXPECT_TRUE(handle->Delete());
  handle.reset();
  EXPECT_TRUE(Reaches(0)) << "the service is gone once its handles are closed";
}

TEST_F(Win32ServicesTest, StoppedServiceRefusesTheStopAndIsStillDeleted) {
  Install();
  auto manager = services_.OpenManager();
  ASSERT_TRUE(manager);
  auto handle = manager->OpenByName(name_);
  ASSERT_TRUE(handle);
  EXPECT_FALSE(handle->Stop());
  EXPECT_TRUE(handle->Delete());
  handle.reset();
  EXPECT_TRUE(Reaches(0));
}

TEST_F(Win32ServicesTest, MissingServiceCannotBeOpened) {
  auto manager = services_.OpenManager();
  ASSERT_TRUE(manager);
  EXPECT_FALSE(manager->OpenByName(name_));
  EXPECT_FALSE(manager->OpenByName(""));
}

}  // namespace
}  // namespace scrubber
