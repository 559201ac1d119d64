#pragma once
// The wizard's pages as decisions: which page follows which, what each page
// shows, and how a list page's rows map to the model's records. The dialog
// procedure only moves these into controls.
#include <cstdint>
#include <string>
#include <vector>

#include "UninstallModel.h"

namespace scrubber {

enum WizardPage : std::uint8_t {
  kMethodPage = 0,
  kPrivateFilesPage = 1,
  kSystemFilesPage = 2,
  kDirectoriesPage = 3,
  kIniFilesPage = 4,
  kIniEntriesPage = 5,
  kRegKeysPage = 6,
  kRegTreesPage = 7,
  kRegEditsPage = 8,
  kIconsPage = 9,
  kSubSystemsPage = 10,
  kReadyPage = 11,
  kRollbackPage = 12,
};

// What a page shows; texts are string ids, 0 where the control is hidden.
struct PageView {
  int titleText = 0;   // control 1005
  int upperText = 0;   // control 1002; 7 and 13 take the product title for %s
  int lowerText = 0;   // control 1004; 0 = hidden
  bool list = false;   // the list and Select All / Select None
  int firstChoiceText = 0;   // radio 1000; 0 = the radios are hidden
  int secondChoiceText = 0;  // radio 1001
  bool firstChoiceChecked = false;  // otherwise the second one is checked
  bool backEnabled = true;
  int nextText = 46;  // "&Next >", on the Ready page "&Finish" (63)
};

// `method` and `rollback` as the wizard's state holds them (method 0 counts
// as Automatic).
PageView ViewOf(WizardPage page, std::int32_t method, std::int32_t rollback);

bool IsListPage(WizardPage page);

// The rows of a list page in list order (empty for the other pages).
std::vector<std::string> PageRows(const UninstallModel& model, WizardPage page);
// The records' selected flags in row order.
std::vector<bool> PageSelection(const UninstallModel& model, WizardPage page);
// Writes the list's selection back to the records; rows past the page's
// row count are ignored, records without a row keep their flag.
void StoreSelection(UninstallModel& model, WizardPage page, const std::vector<bool>& selected);

// Next and Back: Automatic visits Method, Rollback (only with backups) and
// Ready; Custom visits Method, the list pages that have rows, and Ready.
WizardPage NextPage(const UninstallModel& model, std::int32_t method, WizardPage page);
WizardPage PreviousPage(const UninstallModel& model, std::int32_t method, WizardPage page);

}  // namespace scrubber
