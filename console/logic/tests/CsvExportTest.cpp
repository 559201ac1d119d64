#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "fake/CsvReader.h"
#include "logic/CsvExport.h"

namespace rosterly {
namespace {

const std::string kHeader = "Computer Name,Group Name,Group Memebers,Action\r\n";

TEST(CsvExport, HeaderAndRowsNewestFirstWithCrLf) {
  ResultGrid grid;
  EXPECT_EQ(FormatResults(grid), kHeader);
  grid.InsertAtTop(MakeRow("PC1", "Administrators", "Helpdesk", "Added"));
  grid.InsertAtTop(MakeRow("PC2", "", " padded ", "No Connection"));
  EXPECT_EQ(FormatResults(grid), kHeader +
                                     "PC2,, padded ,No Connection\r\n"
                                     "PC1,Administrators,Helpdesk,Added\r\n");
  grid.ColumnClick(1);
  EXPECT_EQ(FormatResults(grid), kHeader +
                                     "PC1,Administrators,Helpdesk,Added\r\n"
                                     "PC2,, padded ,No Connection\r\n");
}

TEST(CsvExport, QuotesOnlyCellsThatNeedIt) {
  ResultGrid grid;
  grid.InsertAtTop(MakeRow("PC1", "Admins, local", "say \"hi\"", "two\r\nlines"));
  grid.InsertAtTop(MakeRow("PC2", "lf\nonly", "cr\ronly", "plain 'text';"));
  EXPECT_EQ(FormatResults(grid), kHeader +
                                     "PC2,\"lf\nonly\",\"cr\ronly\",plain 'text';\r\n"
                                     "PC1,\"Admins, local\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n");
}

TEST(CsvExport, EveryRowReadsBackAsFourFields) {
  ResultGrid grid;
  const std::vector<ResultRow> rows = {MakeRow("a,b", "\"", "", "\r\n"), MakeRow("", "", "", ""),
                                       MakeRow("x\"y\"", ",,,", "\xE9\xFF", " z ")};
  for (const auto& r : rows) grid.InsertAtTop(r);
  const auto records = ReadCsvRecords(FormatResults(grid));
  ASSERT_EQ(records.size(), rows.size() + 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& expected = rows[rows.size() - 1 - i].cells;
    EXPECT_EQ(records[i + 1], std::vector<std::string>(expected.begin(), expected.end()));
  }
}

class SaveResults : public ConsoleFixture {};

TEST_F(SaveResults, WritesTheGridAndSaysComplete) {
  form.lvGroups.InsertAtTop(MakeRow("PC1", "Users", "m", "Lookup"));
  dialogs.answers = {"C:\\out\\r.csv"};
  files.files["C:\\out\\r.csv"] = "old content that is much longer than the new one";
  form.SaveResults();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_TRUE(dialogs.asked[0].save);
  EXPECT_EQ(dialogs.asked[0].title, "Save Results");
  EXPECT_EQ(dialogs.asked[0].filter, "CSV Files (*.csv)|*.csv");
  EXPECT_EQ(files.files["C:\\out\\r.csv"], kHeader + "PC1,Users,m,Lookup\r\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Save Complete");
  EXPECT_EQ(messages.shown[0].title, "Complete");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Information);
}

TEST_F(SaveResults, CancelWritesNothingAndSaysNothing) {
  form.SaveResults();
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SaveResults, FailureIsReportedAndGridStaysUnchanged) {
  form.lvGroups.InsertAtTop(MakeRow("PC1", "Users", "m", "Lookup"));
  form.lvGroups.ColumnClick(2);
  dialogs.answers = {"R:\\locked.csv"};
  files.FailMoveTo("R:\\locked.csv", FakeFileStore::Denied());
  form.SaveResults();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text, "Save Complete");
  EXPECT_NE(messages.shown[0].text.find("R:\\locked.csv"), std::string::npos);
  EXPECT_NE(messages.shown[0].text.find("Access is denied."), std::string::npos);
  EXPECT_EQ(messages.shown[0].title, "Rosterly");
  EXPECT_EQ(form.lvGroups.RowCount(), 1u);
  EXPECT_TRUE(form.lvGroups.Sorted());
  EXPECT_EQ(form.lvGroups.SortKey(), 1u);
}

// The old file stays until the new content is complete: a write that fails
// half way (a full disk) leaves it as it was, and nothing else behind.
TEST_F(SaveResults, AFailedWriteKeepsTheOldFile) {
  form.lvGroups.InsertAtTop(MakeRow("PC1", "Users", "m", "Lookup"));
  files.files["C:\\out\\r.csv"] = "yesterday's results";
  dialogs.answers = {"C:\\out\\r.csv"};
  files.diskFull = Status::Fail(0x80070070u, "There is not enough space on the disk.");
  form.SaveResults();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("not enough space"), std::string::npos);
  ASSERT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files["C:\\out\\r.csv"], "yesterday's results");
}

// A dialog that fails (a name longer than its buffer) is reported; it is no
// cancel, and nothing is read or written.
TEST_F(SaveResults, AFailedDialogIsReportedNotTakenAsCancel) {
  dialogs.failure = Status::Fail(0x800700CEu, "The filename or extension is too long.");
  form.SaveResults();
  dialogs.failure = Status::Fail(0x800700CEu, "The filename or extension is too long.");
  Fill(form.lstComps, {"PC1"});
  form.LoadComputers();
  ASSERT_EQ(messages.shown.size(), 2u);
  for (const auto& shown : messages.shown) {
    EXPECT_NE(shown.text.find("too long"), std::string::npos);
    EXPECT_EQ(shown.title, "Rosterly");
  }
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(form.lstComps.Count(), 1u);
}

TEST_F(SaveResults, LoadDialogKeepsItsOwnTitleAfterASave) {
  dialogs.answers = {"C:\\r.csv"};
  form.SaveResults();
  form.LoadComputers();  // cancelled
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_FALSE(dialogs.asked[1].save);
  EXPECT_EQ(dialogs.asked[1].title, "Load Computers");
  EXPECT_EQ(dialogs.asked[1].filter, "Text Files (*.txt)|*.txt");
}

}  // namespace
}  // namespace rosterly
