// Speed of filling the two target lists on the real system: the program's
// main window (from rosterly_app, with its resources) over an in-memory
// directory of N computers and M groups, timed from Timer1's tick until the
// tick returns with both list boxes filled; beside it, the bare loop: two
// plain list boxes of the same style and font, redraw off, the list reset
// and the same strings added in the same order with LB_ADDSTRING. Both
// alternate for several rounds in one process; painting comes after each,
// untimed. Also timed on their own: the directory's enumeration and the
// sort of the names, the parts of the tick that are not the list boxes.
//
//   bench_list_fill [--computers N] [--groups M] [--rounds R]
//       defaults: 100,000 computers, 20,000 groups, 5 rounds
//
// Exits with 1 when a list box does not hold what the model does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "App.h"
#include "MainWindow.h"
#include "fake/FakeDirectoryWorkers.h"
#include "fake/FakeFiles.h"
#include "fake/FakeProcess.h"
#include "fake/FakeRegistry.h"
#include "logic/SortedList.h"
#include "rosterly_ids.h"

namespace rosterly {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

Status NoInterface() { return Status::Fail(kErrNoInterface, "No such interface supported"); }

// A directory that holds one domain's computers and groups as plain names,
// so that the tick's time is the program's own and not a fake's.
class NamesDirectory : public Directory {
 public:
  NamesDirectory(std::vector<std::string> computers, std::vector<std::string> groups)
      : computers_(std::move(computers)), groups_(std::move(groups)) {}
  Result<std::unique_ptr<DirObject>> Bind(std::string_view path, BindAs) override {
    if (path != "WinNT://CORP") return Status::Fail(kErrBadNetPath, "The network path was not found.");
    return std::unique_ptr<DirObject>(std::make_unique<Domain>(*this));
  }

 private:
  class Named : public DirObject {
   public:
    explicit Named(const std::string& name) : name_(name) {}
    // The enumeration hands out one object at a time: one block serves
    // them all, so that the objects cost the tick no heap calls.
    static void* operator new(std::size_t size) {
      if (size == sizeof(Named) && !spareTaken_) {
        spareTaken_ = true;
        return spare_;
      }
      return ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size) {
      if (p == spare_) {
        spareTaken_ = false;
        return;
      }
      ::operator delete(p, size);
    }
    Result<std::string> Name() override { return name_; }
    Result<std::string> ADsPath() override { return "WinNT://CORP/" + name_; }
    Status SetFilter(const std::vector<std::string>&) override { return NoInterface(); }
    Result<std::unique_ptr<DirEnumerator>> Enumerate() override { return NoInterface(); }
    Result<std::unique_ptr<DirEnumerator>> Members() override { return NoInterface(); }
    Status Add(std::string_view) override { return NoInterface(); }
    Status Remove(std::string_view) override { return NoInterface(); }
    Status SetInfo() override { return NoInterface(); }
    Result<bool> IsMember(std::string_view) override { return NoInterface(); }

   private:
    const std::string& name_;  // the directory's own: an object costs no copy
    alignas(std::max_align_t) static inline unsigned char spare_[64];
    static inline bool spareTaken_ = false;
  };
  static_assert(sizeof(Named) <= 64);
  class Names : public DirEnumerator {
   public:
    explicit Names(const std::vector<std::string>* names) : names_(names) {}
    Result<std::unique_ptr<DirObject>> Next() override {
      if (!names_ || next_ == names_->size()) return std::unique_ptr<DirObject>();
      return std::unique_ptr<DirObject>(std::make_unique<Named>((*names_)[next_++]));
    }

   private:
    const std::vector<std::string>* names_;
    std::size_t next_ = 0;
  };
  class Domain : public Named {
   public:
    explicit Domain(NamesDirectory& dir) : Named(dir.domain_), dir_(dir) {}
    Status SetFilter(const std::vector<std::string>& classes) override {
      filter_ = classes.size() == 1 ? classes[0] : std::string();
      return Status::Ok();
    }
    Result<std::unique_ptr<DirEnumerator>> Enumerate() override {
      const std::vector<std::string>* names =
          filter_ == "Computer" ? &dir_.computers_ : filter_ == "Group" ? &dir_.groups_ : nullptr;
      return std::unique_ptr<DirEnumerator>(std::make_unique<Names>(names));
    }

   private:
    NamesDirectory& dir_;
    std::string filter_;
  };

  const std::string domain_ = "CORP";
  std::vector<std::string> computers_, groups_;
};

// Names as a domain of that size might hold them, in no particular order.
std::vector<std::string> MakeNames(std::size_t count, const char* const* stems, std::size_t stemCount,
                                   unsigned seed) {
  std::vector<std::string> names;
  unsigned x = seed;
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 1103515245u + 12345u;
    names.push_back(std::string(stems[(x >> 16) % stemCount]) + std::to_string(i * 7919 % (count * 3) + 1));
  }
  for (std::size_t i = names.size(); i > 1; --i) {
    x = x * 1103515245u + 12345u;
    std::swap(names[i - 1], names[(x >> 8) % i]);
  }
  return names;
}

void Pump() {
  MSG msg;
  for (int quiet = 0; quiet < 3; ++quiet) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      quiet = 0;
    }
    Sleep(10);
  }
}

bool Holds(HWND box, const std::vector<std::string>& expected) {
  if (SendMessageA(box, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(expected.size())) return false;
  char text[256];
  for (std::size_t i : {std::size_t{0}, expected.size() / 2, expected.size() - 1}) {
    if (expected.empty()) break;
    if (SendMessageA(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)) == LB_ERR || expected[i] != text)
      return false;
  }
  return true;
}

void FillBare(HWND box, const std::vector<std::string>& texts) {
  SendMessageA(box, WM_SETREDRAW, FALSE, 0);
  SendMessageA(box, LB_RESETCONTENT, 0, 0);
  for (const auto& t : texts) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
  SendMessageA(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int Main(int argc, char** argv) {
  std::size_t computerCount = 100000, groupCount = 20000;
  int rounds = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--computers")
      computerCount = std::strtoul(argv[i + 1], nullptr, 10);
    else if (option == "--groups")
      groupCount = std::strtoul(argv[i + 1], nullptr, 10);
    else if (option == "--rounds")
      rounds = std::max(1, std::atoi(argv[i + 1]));
    else {
      std::fprintf(stderr, "usage: bench_list_fill [--computers N] [--groups M] [--rounds R]\n");
      return 2;
    }
  }
  const char* const computerStems[] = {"WS", "ws-", "Lab", "PC-", "SRV", "Kiosk"};
  const char* const groupStems[] = {"Helpdesk ", "Sales-", "Finance ", "IT_", "Print Operators "};
  const std::vector<std::string> computers = MakeNames(computerCount, computerStems, 6, 7);
  const std::vector<std::string> groups = MakeNames(groupCount, groupStems, 5, 11);
  // The strings in the order the lists show them.
  SortedList sortedComputers, sortedGroups;
  sortedComputers.AddMany(computers);
  sortedGroups.AddMany(groups);
  std::vector<std::string> shownComputers, shownGroups;
  for (std::size_t i = 0; i < sortedComputers.Count(); ++i) shownComputers.push_back(sortedComputers.Text(i));
  for (std::size_t i = 0; i < sortedGroups.Count(); ++i) shownGroups.push_back(sortedGroups.Text(i));

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  NamesDirectory directory(computers, groups);
  FakeFileStore files;
  FakeRegistry registry;
  FakeProcessRunner runner{files};
  FakeEnvironment environment;
  Probe probe{runner, environment, files};
  FakeDirectoryWorkers workers{directory};
  App app(instance, AppServices{directory, files, registry, probe, workers});
  app.globals().DomainName = "CORP";
  if (!MainWindow::Register(instance)) {
    std::fprintf(stderr, "cannot register the main window\n");
    return 1;
  }
  app.OpenMainWindow();
  const HWND main = FindWindowA(MainWindow::kClassName, nullptr);
  const HWND lstComps = main ? GetDlgItem(main, IDC_MAIN_LSTCOMPS) : nullptr;
  const HWND lstGroups = main ? GetDlgItem(main, IDC_MAIN_LSTGROUPS) : nullptr;
  if (!lstComps || !lstGroups) {
    std::fprintf(stderr, "no main window\n");
    return 1;
  }

  // The bare loop's boxes: the program's list style and font.
  const HWND parent = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 0, 400, 600,
                                      nullptr, nullptr, instance, nullptr);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_EXTENDEDSEL |
                      LBS_NOINTEGRALHEIGHT;
  const HWND bare[2] = {
      CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 0, 0, 190, 550, parent, nullptr, instance, nullptr),
      CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 200, 0, 190, 550, parent, nullptr, instance, nullptr)};
  const LPARAM font = SendMessageA(lstComps, WM_GETFONT, 0, 0);
  for (HWND box : bare) SendMessageA(box, WM_SETFONT, static_cast<WPARAM>(font), FALSE);

  auto tick = [&] {
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_REFRESH, 0), 0);  // Timer1 on, as the menu does
    Pump();
    const auto start = Clock::now();
    SendMessageA(main, WM_TIMER, IDT_MAIN_TIMER1, 0);
    const double ms = Ms(start);
    Pump();
    return ms;
  };
  auto bareLoop = [&] {
    Pump();
    const auto start = Clock::now();
    FillBare(bare[0], shownComputers);
    FillBare(bare[1], shownGroups);
    const double ms = Ms(start);
    Pump();
    return ms;
  };

  Pump();
  tick();  // the first fill and the first bare loop warm up; they are not counted
  bareLoop();
  if (!Holds(lstComps, shownComputers) || !Holds(lstGroups, shownGroups) || !Holds(bare[0], shownComputers) ||
      !Holds(bare[1], shownGroups)) {
    std::printf("a list box does not hold the model's entries\n");
    return 1;
  }
  std::printf("%zu computers, %zu groups\n", computers.size(), groups.size());
  std::vector<double> fills, bares, enumerations, sorts;
  for (int r = 0; r < rounds; ++r) {
    fills.push_back(tick());
    bares.push_back(bareLoop());
    // The parts of the tick that are not list boxes, on their own: the
    // walk of the directory into storage that is already there, as the
    // lists' own is after their first fill, and the sort of the names.
    std::vector<std::string> names[2];
    names[0].reserve(computers.size());
    names[1].reserve(groups.size());
    auto start = Clock::now();
    for (int kind = 0; kind < 2; ++kind) {
      auto domain = directory.Bind("WinNT://CORP", BindAs::Container);
      (void)domain.value()->SetFilter({kind == 0 ? "Computer" : "Group"});
      auto children = domain.value()->Enumerate();
      for (;;) {
        auto child = children.value()->Next();
        if (!child.ok() || !child.value()) break;
        names[kind].push_back(child.value()->Name().value());
      }
    }
    enumerations.push_back(Ms(start));
    start = Clock::now();
    SortedList a, b;
    a.AddMany(std::move(names[0]));
    b.AddMany(std::move(names[1]));
    sorts.push_back(Ms(start));
    std::printf("round %d: fill after the tick %.1f ms, bare loop %.1f ms, ratio %.3f (enumeration %.1f ms, "
                "sort %.1f ms)\n",
                r + 1, fills.back(), bares.back(), fills.back() / bares.back(), enumerations.back(), sorts.back());
  }
  const double fill = Median(fills), bareMs = Median(bares);
  std::printf("median: fill after the tick %.1f ms, bare loop %.1f ms, ratio %.3f; of the fill, the directory's "
              "enumeration %.1f ms (%.0f%%) and the sort %.1f ms (%.0f%%)\n",
              fill, bareMs, fill / bareMs, Median(enumerations), 100 * Median(enumerations) / fill, Median(sorts),
              100 * Median(sorts) / fill);
  const bool ok = Holds(lstComps, shownComputers) && Holds(lstGroups, shownGroups);
  DestroyWindow(parent);
  DestroyWindow(main);
  if (!ok) {
    std::printf("a list box does not hold the model's entries\n");
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace rosterly

int main(int argc, char** argv) { return rosterly::Main(argc, argv); }
