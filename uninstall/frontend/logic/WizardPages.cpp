#include "WizardPages.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "Globals.h"

namespace scrubber {
namespace {

// String ids of the buttons' and radios' captions.
constexpr int kNextText = 46;
constexpr int kFinishText = 63;
constexpr int kAutomaticText = 60;
constexpr int kCustomText = 61;
constexpr int kYesText = 51;
constexpr int kNoText = 52;

struct PageTexts {
  int title, upper, lower;
};
// Indexed by WizardPage.
constexpr std::array<PageTexts, 13> kPageTexts{{
    {16, 7, 10},  // method
    {78, 6, 0},   // private files
    {8, 9, 0},    // system files
    {11, 12, 0},  // directories
    {14, 15, 0},  // INI files
    {17, 18, 0},  // INI entries
    {20, 21, 0},  // registry keys
    {54, 55, 0},  // registry trees
    {23, 24, 0},  // registry edits
    {26, 27, 0},  // icons
    {42, 41, 0},  // sub-systems, programs, services
    {19, 13, 22}, // ready
    {64, 65, 66}, // rollback
}};

// A registry edit shows no more of its old data than this.
constexpr std::size_t kShownOldData = 255;

bool IsCustom(std::int32_t method) { return method == kCustom; }

// The first line of packed old data (lines each ended by a NUL), cut to
// what a row shows.
std::string_view FirstLineOf(std::string_view packed) {
  const std::size_t end = packed.find_first_of(std::string_view("\0\r\n", 3));
  if (end != std::string_view::npos) packed = packed.substr(0, end);
  return packed.substr(0, kShownOldData);
}

// Row texts are put together piece by piece: titles, paths and values may
// hold '%', which a format string would take for a directive.
std::string RowText(const FileItem& item) { return item.path; }
std::string RowText(const IniFileItem& item) { return item.path; }
std::string RowText(const RegTreeItem& item) { return item.key; }
std::string RowText(const IconItem& item) { return item.name; }
std::string RowText(const ServiceItem& item) { return item.name; }
std::string RowText(const SubSystemItem& item) { return item.text; }
std::string RowText(const ProgramItem& item) { return item.name.empty() ? item.command : item.name; }

std::string RowText(const DirItem& item) {
  std::string_view path = item.path;
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

std::string RowText(const IniEntryItem& item) {
  std::string text = item.file;
  text.append(": [").append(item.section).append("] ").append(item.key).append("=").append(item.oldValue);
  return text;
}

std::string RowText(const RegKeyItem& item) {
  if (item.valueName.empty()) return item.key;
  std::string text = item.key;
  text.append(" Value Name: ").append(item.valueName);
  return text;
}

std::string RowText(const RegEditItem& item) {
  std::string text = item.key;
  if (!item.valueName.empty()) text.append(" Value Name: ").append(item.valueName);
  text.append("=").append(FirstLineOf(item.oldData));
  return text;
}

// Calls `visit` with each record of a list page, in row order. `Model` is
// UninstallModel, const or not.
template <class Model, class Visit>
void ForEachRow(Model& model, WizardPage page, Visit&& visit) {
  const auto each = [&visit](auto& list) {
    for (auto& item : list) visit(item);
  };
  switch (page) {
    case kPrivateFilesPage: each(model.PrivateFiles); break;
    case kSystemFilesPage: each(model.SystemFiles); break;
    case kDirectoriesPage: each(model.Directories); break;
    case kIniFilesPage: each(model.IniFiles); break;
    case kIniEntriesPage: each(model.IniEntries); break;
    case kRegKeysPage: each(model.RegKeys); break;
    case kRegTreesPage: each(model.RegTrees); break;
    case kRegEditsPage: each(model.RegEdits); break;
    case kIconsPage: each(model.Icons); break;
    case kSubSystemsPage:
      if (model.SubSystem.present) visit(model.SubSystem);
      each(model.ExternalPrograms);
      each(model.Services);
      break;
    default: break;
  }
}

// Whether the custom walk stops at a page: the method page always, a list
// page when it has rows.
bool HasRows(const UninstallModel& model, WizardPage page) {
  bool any = false;
  ForEachRow(model, page, [&any](const auto&) { any = true; });
  return any;
}

WizardPage CustomStep(const UninstallModel& model, WizardPage page, int direction) {
  int next = page;
  for (;;) {
    next += direction;
    if (next <= kMethodPage) return kMethodPage;
    if (next > kSubSystemsPage) return kReadyPage;
    if (HasRows(model, static_cast<WizardPage>(next))) return static_cast<WizardPage>(next);
  }
}

}  // namespace

bool IsListPage(WizardPage page) { return page >= kPrivateFilesPage && page <= kSubSystemsPage; }

PageView ViewOf(WizardPage page, std::int32_t method, std::int32_t rollback) {
  PageView view;
  if (page >= kPageTexts.size()) return view;
  const PageTexts& texts = kPageTexts[page];
  view.titleText = texts.title;
  view.upperText = texts.upper;
  view.lowerText = texts.lower;
  view.list = IsListPage(page);
  view.nextText = page == kReadyPage ? kFinishText : kNextText;
  if (page == kMethodPage) {
    view.firstChoiceText = kAutomaticText;
    view.secondChoiceText = kCustomText;
    view.firstChoiceChecked = !IsCustom(method);
    view.backEnabled = false;
  } else if (page == kRollbackPage) {
    view.firstChoiceText = kYesText;
    view.secondChoiceText = kNoText;
    view.firstChoiceChecked = rollback != 0;
  }
  return view;
}

std::vector<std::string> PageRows(const UninstallModel& model, WizardPage page) {
  std::vector<std::string> rows;
  ForEachRow(model, page, [&rows](const auto& item) { rows.push_back(RowText(item)); });
  return rows;
}

std::vector<bool> PageSelection(const UninstallModel& model, WizardPage page) {
  std::vector<bool> selected;
  ForEachRow(model, page, [&selected](const auto& item) { selected.push_back(item.selected != 0); });
  return selected;
}

void StoreSelection(UninstallModel& model, WizardPage page, const std::vector<bool>& selected) {
  std::size_t row = 0;
  ForEachRow(model, page, [&](auto& item) {
    if (row < selected.size()) item.selected = selected[row] ? 1 : 0;
    ++row;
  });
}

WizardPage NextPage(const UninstallModel& model, std::int32_t method, WizardPage page) {
  if (IsCustom(method)) return CustomStep(model, page, +1);
  if (page == kMethodPage) return model.hasBackups ? kRollbackPage : kReadyPage;
  return kReadyPage;
}

WizardPage PreviousPage(const UninstallModel& model, std::int32_t method, WizardPage page) {
  if (page == kMethodPage) return kMethodPage;
  if (IsCustom(method)) return CustomStep(model, page, -1);
  if (page == kReadyPage) return model.hasBackups ? kRollbackPage : kMethodPage;
  return kMethodPage;
}

}  // namespace scrubber
