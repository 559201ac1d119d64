// Runs the uninstaller as an administrator who wants everything gone. With
// --custom it goes through the wizard: Custom, every row of every list page
// selected, Finish; otherwise the switches given decide (/A /R: a rollback
// without pages). Every shared-component question is answered Yes. With
// --hold FILE it keeps that file open (as a running program would) until the
// restart question, which it answers OK.
//   roundtrip_wizard UNINSTALLER LOG [--custom] [--switches TEXT] [--hold FILE]
// Prints the pages and questions it passed; exits 0 when the uninstaller
// ended with 0.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Driver.h"

using namespace testdriver;

namespace {

constexpr int kTitle = 1005, kItemList = 1003, kCustom = 1001, kSelectAll = 3, kFinish = IDOK, kSharedYes = 1007;
constexpr char kReadyPage[] = "Perform Uninstall";
constexpr char kSharedCaption[] = "Remove Shared Component";
constexpr DWORD kRunLimitMs = 180000;

HWND FindWizard(DWORD pid) {
  for (HWND window : FindTopWindows({"#32770", "", pid, true})) {
    if (FindChildById(window, kTitle) && FindChildById(window, kItemList)) return window;
  }
  return nullptr;
}

// Presses a page button and waits until another page shows.
bool Turn(HWND wizard, int button) {
  const std::string before = TextOf(FindChildById(wizard, kTitle));
  Click(FindChildById(wizard, button));
  return WaitUntil([&] { return TextOf(FindChildById(wizard, kTitle)) != before; }, 10000);
}

}  // namespace

// Goes through every page: Custom, everything selected, up to Finish.
bool ChooseEverything(HWND wizard) {
  Click(FindChildById(wizard, kCustom));
  WaitUntil([&] { return IsDlgButtonChecked(wizard, kCustom) == BST_CHECKED; }, 5000);
  for (int pages = 0; pages < 16; ++pages) {
    const std::string title = TextOf(FindChildById(wizard, kTitle));
    std::printf("page: %s\n", title.c_str());
    if (title == kReadyPage) {
      Click(FindChildById(wizard, kFinish));
      return true;
    }
    if (IsWindowVisible(FindChildById(wizard, kItemList))) Click(FindChildById(wizard, kSelectAll));
    if (!Turn(wizard, IDOK)) {
      std::fprintf(stderr, "the wizard did not turn from %s\n", title.c_str());
      return false;
    }
  }
  return false;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: roundtrip_wizard UNINSTALLER LOG [--custom] [--switches TEXT] [--hold FILE]\n");
    return 2;
  }
  bool custom = false;
  std::string switches;
  HANDLE held = INVALID_HANDLE_VALUE;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--custom") {
      custom = true;
    } else if (arg == "--switches" && i + 1 < argc) {
      switches = std::string(argv[++i]) + " ";
    } else if (arg == "--hold" && i + 1 < argc) {
      held = CreateFileA(argv[++i], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot hold %s open\n", argv[i]);
        return 1;
      }
    } else {
      std::fprintf(stderr, "unknown argument %s\n", argv[i]);
      return 2;
    }
  }
  auto run = Process::Start(argv[1], switches + "\"" + argv[2] + "\"");
  if (!run) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 1;
  }
  if (custom) {
    HWND wizard = nullptr;
    if (!WaitUntil([&] { return (wizard = FindWizard(run->pid())) != nullptr; }, 30000)) {
      std::fprintf(stderr, "no wizard\n");
      return 1;
    }
    if (!ChooseEverything(wizard)) return 1;
  }

  // Questions until the program ends: Yes to shared files, OK to the restart.
  const DWORD start = GetTickCount();
  DWORD code = 1;
  while (!run->WaitForExit(100, &code)) {
    if (GetTickCount() - start > kRunLimitMs) {
      std::fprintf(stderr, "the uninstall did not end\n");
      return 1;
    }
    for (HWND question : FindTopWindows({"#32770", kSharedCaption, run->pid(), true})) {
      std::printf("shared question: yes\n");
      Click(FindChildById(question, kSharedYes));
      WaitForWindowGone(question, 5000);
    }
    if (auto box = WaitForMessageBox(run->pid(), 0)) {
      std::printf("message: %s\n", box->text.c_str());
      if (held != INVALID_HANDLE_VALUE) {
        // The system restarts only after every program has ended.
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
      }
      AnswerMessageBox(*box, IDOK);
    }
  }
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  std::printf("uninstaller exit code %lu\n", code);
  return code == 0 ? 0 : 1;
}
