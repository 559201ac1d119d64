// What the fake registry adds to the registry contract: keys that exist on
// their own, keys that cannot be opened, failure on demand, the long names
// that enumeration refuses, and its scene-setting and inspecting calls.
#include <gmock/gmock.h>

#include "FakeRegistry.h"

namespace scrubber {
namespace {

using ::testing::ElementsAre;

const RegRoot kLm = RegRoot::LocalMachine;

std::vector<std::string> SubKeys(RegKey& key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; auto name = key.EnumSubKey(i); ++i) names.push_back(*name);
  return names;
}

std::vector<std::string> Values(RegKey& key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; auto name = key.EnumValue(i); ++i) names.push_back(*name);
  return names;
}

TEST(FakeRegistry, EmptyKeysKeysWithSubKeysAndDeniedKeysAreDifferent) {
  FakeRegistry registry;
  registry.AddKey(kLm, "Software\\Vendor\\Empty");
  registry.AddKey(kLm, "Software\\Vendor\\Parent\\Child");
  registry.DenyOpen(kLm, "Software\\Vendor\\Locked");
  registry.AddKey(kLm, "Software\\Vendor\\Locked\\Inside");

  EXPECT_TRUE(registry.KeyExists(kLm, "software\\vendor\\empty"));
  EXPECT_EQ(registry.SubKeyCount(kLm, "Software\\Vendor\\Empty"), 0u);
  EXPECT_EQ(registry.ValueCount(kLm, "Software\\Vendor\\Empty"), 0u);
  EXPECT_EQ(registry.SubKeyCount(kLm, "Software\\Vendor\\Parent"), 1u);
  EXPECT_FALSE(registry.KeyExists(kLm, "Software\\Vendor\\Missing"));
  EXPECT_EQ(registry.SubKeyCount(kLm, "Software\\Vendor\\Missing"), 0u);

  EXPECT_TRUE(registry.OpenKey(kLm, "Software\\Vendor\\Empty"));
  EXPECT_FALSE(registry.OpenKey(kLm, "Software\\Vendor\\Locked")) << "denied";
  EXPECT_TRUE(registry.OpenKey(kLm, "Software\\Vendor\\Locked\\Inside")) << "its subkeys still open";
  auto vendor = registry.OpenKey(kLm, "Software\\Vendor");
  ASSERT_TRUE(vendor);
  EXPECT_THAT(SubKeys(*vendor), ElementsAre("Empty", "Locked", "Parent")) << "a denied key is still listed";
  EXPECT_EQ(registry.DeleteKey(kLm, "Software\\Vendor\\Locked\\Inside").error, SysError::None);
  EXPECT_EQ(registry.DeleteKey(kLm, "Software\\Vendor\\Locked").error, SysError::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(kLm, "Software\\Vendor\\Parent").error, SysError::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(kLm, "Software\\Vendor\\Missing").error, SysError::NotFound);
  EXPECT_EQ(registry.DeleteKey(kLm, "").error, SysError::AccessDenied) << "a root is never deleted";
  EXPECT_TRUE(registry.DeleteKey(kLm, "Software\\Vendor\\Empty\\"));
  EXPECT_FALSE(registry.KeyExists(kLm, "Software\\Vendor\\Empty"));
  registry.DenyOpen(kLm, "Software\\Vendor\\Locked", false);
  EXPECT_TRUE(registry.OpenKey(kLm, "Software\\Vendor\\Locked"));
  EXPECT_FALSE(registry.OpenKey(kLm, "\\Software")) << "a leading backslash is refused";
  EXPECT_FALSE(registry.OpenKey(kLm, "Software\\\\Vendor")) << "so is an empty component";
}

TEST(FakeRegistry, ValuesListInCreationOrderAndLongNamesAreNotListed) {
  FakeRegistry registry;
  registry.SetString(kLm, "K", "Zeta", "z");
  registry.SetDword(kLm, "K", "alpha", 1);
  registry.SetValue(kLm, "K", "", {kRegTypeBinary, "\x01"});
  registry.SetString(kLm, "K", std::string(256, 'L'), "long");
  registry.AddKey(kLm, "K\\" + std::string(255, 'a'));
  registry.AddKey(kLm, "K\\" + std::string(256, 'b'));
  auto key = registry.OpenKey(kLm, "k");
  ASSERT_TRUE(key);
  EXPECT_THAT(Values(*key), ElementsAre("Zeta", "alpha", "")) << "the 256-character name stops the listing";
  EXPECT_FALSE(key->EnumValue(3));
  EXPECT_EQ(key->Query(std::string(256, 'l'))->data, std::string("long\0", 5));
  EXPECT_EQ(key->EnumSubKey(0), std::string(255, 'a'));
  EXPECT_FALSE(key->EnumSubKey(1)) << "a 256-character subkey name does not fit";
  EXPECT_EQ(registry.ValueCount(kLm, "K"), 4u);
  EXPECT_EQ(registry.ValueOf(kLm, "K", "ALPHA")->type, static_cast<std::uint32_t>(kRegTypeDword));
}

TEST(FakeRegistry, AnOpenKeyOutlivesItsDeletionButAnswersNothing) {
  FakeRegistry registry;
  registry.SetString(kLm, "Gone", "V", "v");
  auto key = registry.OpenKey(kLm, "Gone");
  ASSERT_TRUE(key);
  ASSERT_TRUE(registry.DeleteKey(kLm, "gone"));
  EXPECT_FALSE(key->Query("V"));
  EXPECT_FALSE(key->Set("W", {kRegTypeSz, "w"}));
  EXPECT_FALSE(key->DeleteValue("V"));
  EXPECT_FALSE(key->EnumValue(0));
  EXPECT_FALSE(key->EnumSubKey(0));
  registry.AddKey(kLm, "Gone");
  EXPECT_FALSE(key->Query("V")) << "a new key of the same name is another key";
  EXPECT_EQ(registry.ValueCount(kLm, "Gone"), 0u);
}

TEST(FakeRegistry, EveryCallInTheTableCanBeFailed) {
  FakeRegistry registry;
  registry.SetString(kLm, "K", "V", "v");
  registry.AddKey(kLm, "K\\Sub");
  registry.AddKey(kLm, "Leaf");
  for (const std::string& call : registry.faults().Calls()) {
    registry.faults().Clear();
    auto key = registry.OpenKey(kLm, "K");
    ASSERT_TRUE(key);
    ASSERT_TRUE(registry.faults().FailCall(call, SysError::AccessDenied));
    bool failed = false;
    if (call == "QueryValue") failed = !registry.QueryValue(kLm, "K", "V");
    if (call == "OpenKey") failed = !registry.OpenKey(kLm, "K");
    if (call == "Query") failed = !key->Query("V");
    if (call == "Set") failed = key->Set("V", {kRegTypeSz, "x"}).error == SysError::AccessDenied;
    if (call == "DeleteValue") failed = key->DeleteValue("V").error == SysError::AccessDenied;
    if (call == "EnumValue") failed = !key->EnumValue(0);
    if (call == "EnumSubKey") failed = !key->EnumSubKey(0);
    if (call == "HoldsAnything") failed = !key->HoldsAnything();
    if (call == "ValueCount") failed = !key->ValueCount();
    if (call == "OpenKeyToRead") failed = !registry.OpenKeyToRead(kLm, "K");
    if (call == "DeleteKey") failed = registry.DeleteKey(kLm, "Leaf").error == SysError::AccessDenied;
    EXPECT_TRUE(failed) << call;
  }
  EXPECT_EQ(registry.faults().Calls().size(), 11u);
  EXPECT_TRUE(registry.KeyExists(kLm, "Leaf"));
  EXPECT_TRUE(registry.ValueOf(kLm, "K", "V"));
}

}  // namespace
}  // namespace scrubber
