// For the demo: picks the sample domain in a running Rosterly's Domain
// Selection dialog, waits for the lists, selects two computers and lists
// their local groups, then leaves the program running for the user.
//   rosterly_demo_open DOMAIN
#include <cstdio>

#include "Driver.h"

using namespace testdriver;

namespace {

constexpr int kCombo1 = 1003, kDomainOk = 1004, kLstComps = 2004, kLstGroups = 2005, kExecute = 2013,
              kSbar = 2015;

void SelectByText(HWND list, const char* text) {
  const auto items = ListBoxItems(list);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) ListBoxSelect(list, static_cast<int>(i));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rosterly_demo_open DOMAIN\n");
    return 2;
  }
  HWND dialog = WaitForWindow({"", "Domain Selection", 0}, 30000);
  if (!dialog) return 1;
  SetText(FindChildById(dialog, kCombo1), argv[1]);
  Click(FindChildById(dialog, kDomainOk));
  HWND main = WaitForWindow({"", "Rosterly", 0}, 30000);
  if (!main) return 1;
  HWND comps = FindChildById(main, kLstComps);
  if (!WaitUntil([&] { return !ListBoxItems(comps).empty() && TextOf(FindChildById(main, kSbar)) == "Ready"; }))
    return 1;
  SelectByText(comps, "localhost");
  SelectByText(comps, "127.0.0.2");
  SelectByText(FindChildById(main, kLstGroups), "Helpdesk");
  Click(FindChildById(main, kExecute));
  WaitUntil([&] { return ListViewRowCount(FindChildById(main, 2014)) > 0; }, 15000);
  std::printf("Rosterly shows the domain %s\n", argv[1]);
  return 0;
}
