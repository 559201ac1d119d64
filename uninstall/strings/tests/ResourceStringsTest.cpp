// The STRINGTABLE linked into this program must give the same texts as the
// built-in table for every string number.
#include "ResourceStrings.h"

#include <gtest/gtest.h>

namespace scrubber {
namespace {

TEST(ResourceStrings, AgreeWithTheBuiltinTableForEveryId) {
  ResourceStringTable resource;
  for (int id = 1; id <= 80; ++id) EXPECT_EQ(resource.Load(id), BuiltinString(id)) << "string " << id;
}

TEST(ResourceStrings, ReadsTheRealResource) {
  ResourceStringTable resource;
  EXPECT_EQ(resource.Load(2), "Packwright Uninstall");
  EXPECT_EQ(resource.Load(7).find("\n\n"), 36u);
  EXPECT_EQ(resource.Load(3), "");
}

}  // namespace
}  // namespace scrubber
