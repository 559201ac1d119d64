// Reading the Program Manager's replies, whatever their size.
#include <gtest/gtest.h>

#include <string>

#include "GroupText.h"

namespace scrubber {
namespace {

TEST(GroupText, ItemsAreReadFromTheSecondLineAndMarkedLinesAreSkipped) {
  const std::string text =
      "\"Tools\",\"TOOLS.GRP\",0,0,0,0,0\r\n"
      "\"Editor\",\"C:\\APP\\EDIT.EXE\",\"\",\"C:\\APP\\EDIT.EXE\",0\r\n"
      "*Gone\",\"C:\\APP\\GONE.EXE\"\r\n"
      "\"No command\"\r\n"
      "\"Broken, no closing quote\r\n"
      "\"Last\",\"X.EXE\"";
  EXPECT_EQ(GroupName(text), "Tools");
  const auto items = GroupItems(text);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].name, "Editor");
  EXPECT_EQ(items[0].command, "C:\\APP\\EDIT.EXE");
  EXPECT_EQ(text[items[0].lineStart], '"');
  EXPECT_EQ(items[1].name, "No command");
  EXPECT_FALSE(items[1].command.has_value()) << "a missing command never matches an empty one";
  EXPECT_EQ(items[2].name, "Last");
  EXPECT_TRUE(HasItemLine(text));

  EXPECT_FALSE(GroupName("*Tools\",0\r\n\"Item\",\"X\""));
  EXPECT_FALSE(HasItemLine("\"Tools\"\r\n*Item\",\"X\"\r\n"));
  EXPECT_TRUE(GroupItems("\"Tools\"").empty());
}

TEST(GroupText, NamesOverTheLimitAreLeftOutNeverCut) {
  const std::string limit(kMaxDdeName, 'n');
  const std::string over(kMaxDdeName + 1, 'n');
  const auto names = GroupListNames("Main\r\n\r\n" + over + "\r\n" + limit + "\n\nStartup\rLast");
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[0], "Main");
  EXPECT_EQ(names[1], limit);
  EXPECT_EQ(names[2], "Startup");
  EXPECT_EQ(names[3], "Last");

  EXPECT_FALSE(GroupName("\"" + over + "\"\r\n"));
  const auto items = GroupItems("\"G\"\r\n\"" + over + "\",\"X.EXE\"\r\n\"Item\",\"" + over + "\"\r\n");
  ASSERT_EQ(items.size(), 1u) << "an item with an over-long name is never taken";
  EXPECT_EQ(items[0].name, "Item");
  EXPECT_FALSE(items[0].command.has_value());
}

}  // namespace
}  // namespace scrubber
