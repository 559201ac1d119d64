// Display forms of paths and keys in progress lines.
#include <gtest/gtest.h>

#include "ShortenPath.h"

namespace scrubber {
namespace {

TEST(ShortenPath, KeepsTheDriveAndTheLongestTailThatFits) {
  const LeadBytes sbcs;
  EXPECT_EQ(ShortenPath("C:\\Program Files\\Vendor\\Product\\Data\\Reports\\file.dat", sbcs),
            "C:\\...\\Data\\Reports\\file.dat");
  // 77 characters whose file name alone is 34: no tail fits.
  const std::string longName = "C:\\Program Files\\Vendor\\Product\\Data\\Repor\\" + std::string(30, 'n') + ".dat";
  ASSERT_EQ(longName.size(), 77u);
  EXPECT_EQ(ShortenPath(longName, sbcs), longName.substr(0, 45) + "...");
  EXPECT_EQ(ShortenPath("C:\\short\\path.txt", sbcs), "C:\\short\\path.txt");
  const std::string exactly48 = "C:\\" + std::string(45, 'x');
  EXPECT_EQ(ShortenPath(exactly48, sbcs), exactly48);
  EXPECT_EQ(ShortenPath(std::string(60, 'y'), sbcs), std::string(45, 'y') + "...") << "no backslash at all";
}

TEST(ShortenPath, ABackslashInsideADoubleByteCharacterIsNoSeparator) {
  LeadBytes dbcs;
  dbcs.Set(0x81, 0x9F);
  // "\x81\\" is one character: the tail must not start in its middle.
  std::string path = "C:\\Program Files\\Vendor\\Product\\Data\\Re\x81\\ports\\file.dat";
  std::string shown = ShortenPath(path, dbcs);
  EXPECT_EQ(shown, "C:\\...\\Data\\Re\x81\\ports\\file.dat");
}

TEST(ShortenKey, CutsOnlyPast48BytesAndNeverInsideACharacter) {
  const LeadBytes sbcs;
  const std::string key48(48, 'k');
  EXPECT_EQ(ShortenKey(key48, sbcs), key48);
  EXPECT_EQ(ShortenKey(key48 + "K", sbcs), std::string(45, 'k') + "...");

  LeadBytes dbcs;
  dbcs.Set(0x81, 0x9F);
  // A double-byte character over bytes 45 and 46 goes whole, not its half.
  const std::string key = std::string(44, 'k') + "\x95\x5C" + std::string(10, 'k');
  EXPECT_EQ(ShortenKey(key, dbcs), std::string(44, 'k') + "...");
  EXPECT_EQ(ShortenPath("C:" + key.substr(2), dbcs), "C:" + std::string(42, 'k') + "...")
      << "a path without a usable tail too";
  EXPECT_EQ(ShortenKey(std::string(43, 'k') + "\x95\x5C" + std::string(10, 'k'), dbcs),
            std::string(43, 'k') + "\x95\x5C...");
}

}  // namespace
}  // namespace scrubber
