// The wizard's walk through its pages, the rows it lists and the selection
// it writes back.
#include <gtest/gtest.h>

#include "Globals.h"
#include "WizardPages.h"

namespace scrubber {
namespace {

using Pages = std::vector<WizardPage>;

// The pages Next visits from the method page up to and including Ready.
Pages WalkForward(const UninstallModel& model, std::int32_t method) {
  Pages pages{kMethodPage};
  while (pages.back() != kReadyPage && pages.size() < 20) pages.push_back(NextPage(model, method, pages.back()));
  return pages;
}
// The pages Back visits from Ready down to the method page.
Pages WalkBack(const UninstallModel& model, std::int32_t method) {
  Pages pages{kReadyPage};
  while (pages.back() != kMethodPage && pages.size() < 20) pages.push_back(PreviousPage(model, method, pages.back()));
  return pages;
}

// A record with one text field set.
template <class Item>
Item With(std::string Item::*field, std::string value) {
  Item item;
  item.*field = std::move(value);
  return item;
}

UninstallModel FullModel() {
  UninstallModel m;
  m.hasBackups = 1;
  m.PrivateFiles = {With(&FileItem::path, "C:\\APP\\A.EXE")};
  m.SystemFiles = {With(&FileItem::path, "C:\\WINDOWS\\SYSTEM\\B.DLL")};
  m.Directories = {With(&DirItem::path, "C:\\APP\\DATA\\")};
  m.IniFiles = {With(&IniFileItem::path, "C:\\WINDOWS\\APP.INI")};
  IniEntryItem entry = With(&IniEntryItem::file, "WIN.INI");
  entry.section = "Ports";
  entry.key = "Rate";
  entry.oldValue = "100%s";
  m.IniEntries = {entry};
  m.RegKeys = {With(&RegKeyItem::key, "Software\\App"), With(&RegKeyItem::key, "Software\\App")};
  m.RegKeys[1].valueName = "Path";
  m.RegTrees = {With(&RegTreeItem::key, "Software\\App\\Tree")};
  m.RegEdits = {With(&RegEditItem::oldData, std::string("first\0second\0\0", 14)),
                With(&RegEditItem::oldData, std::string(300, 'x') + '\0' + '\0')};
  m.RegEdits[0].key = m.RegEdits[1].key = "K";
  m.RegEdits[1].valueName = "V";
  m.Icons = {With(&IconItem::name, "App Help")};
  m.SubSystem.present = true;
  m.SubSystem.text = "BDE";
  m.ExternalPrograms = {With(&ProgramItem::name, "Cleanup"), With(&ProgramItem::command, "C:\\APP\\UNREG.EXE")};
  m.Services = {With(&ServiceItem::name, "AppService")};
  return m;
}

TEST(WizardPagesTest, AutomaticVisitsRollbackOnlyWithBackups) {
  UninstallModel model = FullModel();
  EXPECT_EQ(WalkForward(model, kAutomatic), (Pages{kMethodPage, kRollbackPage, kReadyPage}));
  EXPECT_EQ(WalkBack(model, kAutomatic), (Pages{kReadyPage, kRollbackPage, kMethodPage}));
  model.hasBackups = 0;
  EXPECT_EQ(WalkForward(model, 0), (Pages{kMethodPage, kReadyPage})) << "no choice yet counts as Automatic";
  EXPECT_EQ(WalkBack(model, 0), (Pages{kReadyPage, kMethodPage}));
  EXPECT_EQ(NextPage(model, kAutomatic, kReadyPage), kReadyPage);
  EXPECT_EQ(PreviousPage(model, kAutomatic, kMethodPage), kMethodPage);
}

TEST(WizardPagesTest, CustomVisitsTheListsThatHaveRowsAndNeverRollback) {
  const Pages all{kMethodPage,  kPrivateFilesPage, kSystemFilesPage, kDirectoriesPage, kIniFilesPage,
                  kIniEntriesPage, kRegKeysPage,   kRegTreesPage,    kRegEditsPage,    kIconsPage,
                  kSubSystemsPage, kReadyPage};
  EXPECT_EQ(WalkForward(FullModel(), kCustom), all);

  UninstallModel trees;
  trees.hasBackups = 1;
  trees.RegTrees = {With(&RegTreeItem::key, "Software\\App")};
  EXPECT_EQ(WalkForward(trees, kCustom), (Pages{kMethodPage, kRegTreesPage, kReadyPage}));
  EXPECT_EQ(WalkBack(trees, kCustom), (Pages{kReadyPage, kRegTreesPage, kMethodPage}));
  EXPECT_EQ(PreviousPage(trees, kCustom, kMethodPage), kMethodPage) << "Back from the first page stays";

  const UninstallModel empty;
  EXPECT_EQ(WalkForward(empty, kCustom), (Pages{kMethodPage, kReadyPage}));
  UninstallModel onlyService;
  onlyService.Services = {With(&ServiceItem::name, "S")};
  EXPECT_EQ(WalkForward(onlyService, kCustom), (Pages{kMethodPage, kSubSystemsPage, kReadyPage}));
}

TEST(WizardPagesTest, ViewsFollowTheChoicesMade) {
  EXPECT_TRUE(ViewOf(kMethodPage, 0, 0).firstChoiceChecked);
  EXPECT_FALSE(ViewOf(kMethodPage, kCustom, 0).firstChoiceChecked) << "Custom stays checked after coming back";
  EXPECT_TRUE(ViewOf(kRollbackPage, kAutomatic, 1).firstChoiceChecked);
  EXPECT_FALSE(ViewOf(kRollbackPage, kAutomatic, 0).firstChoiceChecked);
}

TEST(WizardPagesTest, RowTextsAreBuiltWithoutFormatting) {
  const UninstallModel m = FullModel();
  using Rows = std::vector<std::string>;
  EXPECT_EQ(PageRows(m, kDirectoriesPage), Rows{"C:\\APP\\DATA"});
  EXPECT_EQ(PageRows(m, kIniEntriesPage), Rows{"WIN.INI: [Ports] Rate=100%s"});
  EXPECT_EQ(PageRows(m, kRegKeysPage), (Rows{"Software\\App", "Software\\App Value Name: Path"}));
  EXPECT_EQ(PageRows(m, kRegEditsPage), (Rows{"K=first", "K Value Name: V=" + std::string(255, 'x')}));
  EXPECT_EQ(PageRows(m, kSubSystemsPage), (Rows{"BDE", "Cleanup", "C:\\APP\\UNREG.EXE", "AppService"}));
  EXPECT_TRUE(PageRows(m, kReadyPage).empty());
}

TEST(WizardPagesTest, SubSystemPageRowsMapToTheirRecords) {
  UninstallModel m = FullModel();
  m.ExternalPrograms[0].selected = 1;
  EXPECT_EQ(PageSelection(m, kSubSystemsPage), (std::vector<bool>{false, true, false, false}));
  StoreSelection(m, kSubSystemsPage, {false, false, true, true, true});
  EXPECT_EQ(m.SubSystem.selected, 0);
  EXPECT_EQ(m.ExternalPrograms[0].selected, 0);
  EXPECT_EQ(m.ExternalPrograms[1].selected, 1) << "row 2 is the second program";
  EXPECT_EQ(m.Services[0].selected, 1);

  m.SubSystem.present = false;
  StoreSelection(m, kSubSystemsPage, {true});
  EXPECT_EQ(m.ExternalPrograms[0].selected, 1) << "without a sub-system row 0 is the first program";
  EXPECT_EQ(m.ExternalPrograms[1].selected, 1) << "records without a row keep their flag";
  EXPECT_EQ(m.SubSystem.selected, 0);
}

}  // namespace
}  // namespace scrubber
