#include "RosterlySession.h"

#include <gtest/gtest.h>

namespace rosterly_e2e {
namespace {

using testdriver::Env;
using testdriver::FromHostPath;

int Dpi(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// DllRegisterServer of the test provider, in this prefix; programs started
// afterwards find the "WinNT" provider through it.
bool RegisterProvider() {
  static bool registered = false;
  if (registered) return true;
  const std::string dll = FromHostPath(Env("ROSTERLY_TESTDIR_DLL"));
  HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) return false;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  registered = entry && SUCCEEDED(entry());
  FreeLibrary(module);
  return registered;
}

}  // namespace

int PxX(int twips) { return MulDiv(twips, Dpi(LOGPIXELSX), 1440); }
int PxY(int twips) { return MulDiv(twips, Dpi(LOGPIXELSY), 1440); }

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string TempPath(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  return std::string(temp) + name;
}

Session::Session(const std::string& fixtureText, const std::string& fixtureName)
    : fixturePath_(TempPath(fixtureName)) {
  EXPECT_TRUE(RegisterProvider()) << "cannot register the test directory";
  EXPECT_TRUE(WriteFileBytes(fixturePath_, fixtureText));
  // The program inherits it; the provider in it reads this fixture.
  SetEnvironmentVariableA("ROSTERLY_TESTDIR_FIXTURE", fixturePath_.c_str());
}

Session::~Session() {
  if (process_ && process_->Running()) process_->WaitForExit(0);
  process_.reset();  // terminates what is left
}

bool Session::Start() {
  const std::string exe = FromHostPath(Env("ROSTERLY_EXE"));
  process_ = testdriver::Process::Start(exe);
  if (!process_) return false;
  domain_ = testdriver::WaitForWindow({"", "Domain Selection", process_->pid()});
  return domain_ != nullptr;
}

bool Session::OpenMain(const std::string& domain, bool waitForFill) {
  HWND combo = testdriver::FindChildById(domain_, kCombo1);
  if (!combo || !testdriver::SetText(combo, domain)) return false;
  testdriver::Click(testdriver::FindChildById(domain_, kDomainOk));
  main_ = testdriver::WaitForWindow({"", "Rosterly", process_->pid()});
  if (!main_) return false;
  return !waitForFill || WaitForFill();
}

bool Session::WaitForFill() {
  // The fill is over when the timer has run and the status is back to Ready
  // with the lists filled (or the domain is empty).
  HWND comps = Control(kLstComps);
  return testdriver::WaitUntil([&] {
    return Status() == "Ready" && SendMessageA(comps, LB_GETCOUNT, 0, 0) > 0;
  });
}

bool Session::SelectOnly(int listId, const std::vector<std::string>& names) {
  HWND box = Control(listId);
  const std::vector<std::string> items = testdriver::ListBoxItems(box);
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    bool wanted = false;
    for (const std::string& name : names) wanted = wanted || name == items[static_cast<size_t>(i)];
    if (!testdriver::ListBoxSelect(box, i, wanted) && wanted) return false;
  }
  for (const std::string& name : names) {
    bool found = false;
    for (const std::string& item : items) found = found || item == name;
    if (!found) return false;
  }
  return true;
}

bool Session::ChooseAction(int option, const std::string& localGroup) {
  testdriver::Click(Control(option));
  return testdriver::WaitUntil(
             [&] { return SendMessageA(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000) &&
         testdriver::SetText(Control(kTxtLocalGroup), localGroup);
}

bool Session::Execute(DWORD timeoutMs) {
  // The status leaves "Ready" at once and returns to it at the end.
  testdriver::Click(Control(kExecute));
  testdriver::WaitUntil([&] { return Status() != "Ready"; }, 3000);
  return testdriver::WaitUntil([&] { return Status() == "Ready"; }, timeoutMs);
}

void Session::Picture(HWND window, const std::string& name) const {
  const std::string folder = FromHostPath(Env("ROSTERLY_SHOT_DIR"));
  if (folder.empty()) return;
  CreateDirectoryA(folder.c_str(), nullptr);
  Sleep(300);  // let the window finish painting
  EXPECT_TRUE(testdriver::SaveWindowPicture(window, folder + "\\" + name + ".png")) << name;
}

}  // namespace rosterly_e2e
