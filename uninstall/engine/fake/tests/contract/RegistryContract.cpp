// The behaviour of Registry and RegKey that the uninstaller relies on, checked
// the same way against every implementation: keys open only when they
// exist, values of every type come back as they were written, the default
// value has the empty name, subkeys list in name order, a key with subkeys
// is not deleted, and names compare with letter case ignored.
#include <gmock/gmock.h>

#include "ContractWorld.h"

namespace scrubber::contract {

std::string RegistryContractName(const ::testing::TestParamInfo<RegistryWorldMaker>& info) {
  return info.param.name;
}

// A program that links the contract without a registry world (yet) is fine.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RegistryContract);

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

RegValue Text(std::string_view text, std::uint32_t type = kRegTypeSz) {
  std::string data(text);
  data += '\0';
  return {type, data};
}

RegValue Dword(std::uint32_t number) {
  std::string data(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return {kRegTypeDword, data};
}

std::vector<std::string> ValueNames(RegKey& key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < 64; ++i) {
    auto name = key.EnumValue(i);
    if (!name) break;
    names.push_back(*name);
  }
  return names;
}

std::vector<std::string> SubKeyNames(RegKey& key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < 64; ++i) {
    auto name = key.EnumSubKey(i);
    if (!name) break;
    names.push_back(*name);
  }
  return names;
}

void ExpectSame(const std::optional<RegValue>& got, const RegValue& want, const char* what) {
  ASSERT_TRUE(got) << what;
  EXPECT_EQ(got->type, want.type) << what;
  EXPECT_EQ(got->data, want.data) << what;
}

}  // namespace

TEST_P(RegistryContract, KeysOpenOnlyWhenTheyExistWithLetterCaseIgnored) {
  EXPECT_FALSE(registry().OpenKey(root_, Below("Missing")));
  EXPECT_FALSE(registry().OpenKey(root_, Below("Missing\\Deeper")));
  ASSERT_TRUE(world_->MakeKey(Below("Made\\Inner")));
  EXPECT_TRUE(registry().OpenKey(root_, Below("Made")));
  EXPECT_TRUE(registry().OpenKey(root_, Below("made\\INNER")));
  EXPECT_FALSE(registry().OpenKey(RegRoot::CurrentConfig, Below("Made"))) << "another root";

  auto root = registry().OpenKey(root_, "");
  ASSERT_TRUE(root) << "an empty path opens the root itself";
  EXPECT_FALSE(SubKeyNames(*root).empty()) << "the root lists its subkeys";
}

TEST_P(RegistryContract, ValuesComeBackAsTheyWereWritten) {
  auto key = registry().OpenKey(root_, key_);
  ASSERT_TRUE(key);
  const RegValue text = Text("Some text");
  const RegValue expand = Text("%WINDIR%\\X", kRegTypeExpandSz);
  const RegValue multi{kRegTypeMultiSz, std::string("one\0two\0\0", 9)};
  const RegValue binary{kRegTypeBinary, std::string("\x0A\x00\xFF\x1B", 4)};
  const RegValue number = Dword(0xFFFFFFFFu);
  ASSERT_TRUE(key->Set("Text", text));
  ASSERT_TRUE(key->Set("Expand", expand));
  ASSERT_TRUE(key->Set("Multi", multi));
  ASSERT_TRUE(key->Set("Binary", binary));
  ASSERT_TRUE(key->Set("Number", number));
  ASSERT_TRUE(key->Set("Empty", {kRegTypeBinary, ""}));

  ExpectSame(key->Query("Text"), text, "REG_SZ");
  ExpectSame(key->Query("Expand"), expand, "REG_EXPAND_SZ");
  ExpectSame(key->Query("Multi"), multi, "REG_MULTI_SZ");
  ExpectSame(key->Query("Binary"), binary, "REG_BINARY");
  ExpectSame(key->Query("Number"), number, "REG_DWORD");
  ExpectSame(key->Query("Empty"), {kRegTypeBinary, ""}, "empty REG_BINARY");
  ExpectSame(key->Query("TEXT"), text, "value names ignore letter case");
  ExpectSame(registry().QueryValue(root_, key_, "number"), number, "Registry::QueryValue");
  EXPECT_FALSE(key->Query("Absent"));
  EXPECT_FALSE(registry().QueryValue(root_, key_, "Absent"));
  EXPECT_FALSE(registry().QueryValue(root_, Below("Missing"), "Text"));

  ASSERT_TRUE(key->Set("text", Dword(7))) << "setting again replaces, whatever the spelling";
  ExpectSame(key->Query("Text"), Dword(7), "replaced");
  EXPECT_THAT(ValueNames(*key), UnorderedElementsAre("Text", "Expand", "Multi", "Binary", "Number", "Empty"));
}

TEST_P(RegistryContract, TheDefaultValueHasTheEmptyName) {
  auto key = registry().OpenKey(root_, key_);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->Query("")) << "a new key has no default value";
  EXPECT_FALSE(registry().QueryValue(root_, key_, ""));
  ASSERT_TRUE(key->Set("", Text("default")));
  ExpectSame(key->Query(""), Text("default"), "default value");
  ExpectSame(registry().QueryValue(root_, key_, ""), Text("default"), "Registry::QueryValue of the default");
  EXPECT_THAT(ValueNames(*key), ElementsAre("")) << "the default value is listed with the empty name";
  EXPECT_TRUE(key->DeleteValue(""));
  EXPECT_FALSE(key->Query(""));
  EXPECT_TRUE(ValueNames(*key).empty());
}

TEST_P(RegistryContract, ValuesAreDeletedOnceAndListedUpToTheEnd) {
  auto key = registry().OpenKey(root_, key_);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->EnumValue(0)) << "no values";
  ASSERT_TRUE(key->Set("A", Text("a")));
  ASSERT_TRUE(key->Set("B", Text("b")));
  EXPECT_TRUE(key->EnumValue(1));
  EXPECT_FALSE(key->EnumValue(2)) << "past the last one";
  EXPECT_TRUE(key->DeleteValue("a")) << "letter case ignored";
  EXPECT_EQ(key->DeleteValue("A").error, SysError::NotFound) << "only once";
  EXPECT_THAT(ValueNames(*key), ElementsAre("B"));

  const std::string fits(kRegNameBuffer - 1, 'v');
  const std::string tooLong(kRegNameBuffer, 'w');
  ASSERT_TRUE(key->Set(fits, Text("255")));
  ASSERT_TRUE(key->Set(tooLong, Text("256")));
  ExpectSame(key->Query(tooLong), Text("256"), "a long name can still be read by name");
  std::vector<std::string> listed;
  for (std::uint32_t i = 0; i < 3; ++i) {
    if (auto name = key->EnumValue(i)) listed.push_back(*name);
  }
  EXPECT_THAT(listed, UnorderedElementsAre("B", fits))
      << "a name of 256 characters does not fit the enumeration buffer";
}

TEST_P(RegistryContract, SubKeysListInNameOrderWithLetterCaseIgnored) {
  ASSERT_TRUE(world_->MakeKey(Below("beta")));
  ASSERT_TRUE(world_->MakeKey(Below("Alpha")));
  ASSERT_TRUE(world_->MakeKey(Below("GAMMA\\Inner")));
  auto key = registry().OpenKey(root_, key_);
  ASSERT_TRUE(key);
  EXPECT_THAT(SubKeyNames(*key), ElementsAre("Alpha", "beta", "GAMMA"));
  EXPECT_FALSE(key->EnumSubKey(3));
  EXPECT_TRUE(ValueNames(*key).empty()) << "subkeys are no values";
}

TEST_P(RegistryContract, OnlyAKeyWithoutSubKeysIsDeleted) {
  ASSERT_TRUE(world_->MakeKey(Below("Parent\\Child")));
  {
    auto child = registry().OpenKey(root_, Below("Parent\\Child"));
    ASSERT_TRUE(child);
    ASSERT_TRUE(child->Set("Value", Text("v")));
  }
  EXPECT_EQ(registry().DeleteKey(root_, Below("Parent")).error, SysError::AccessDenied) << "it has a subkey";
  EXPECT_TRUE(registry().OpenKey(root_, Below("Parent"))) << "and stays";
  EXPECT_EQ(registry().DeleteKey(root_, Below("Missing")).error, SysError::NotFound);

  auto held = registry().OpenKey(root_, Below("Parent\\Child"));
  ASSERT_TRUE(held);
  EXPECT_TRUE(registry().DeleteKey(root_, Below("PARENT\\child"))) << "values do not keep a key";
  EXPECT_FALSE(registry().OpenKey(root_, Below("Parent\\Child")));
  EXPECT_FALSE(held->Query("Value")) << "a key deleted while open answers nothing";
  EXPECT_FALSE(held->Set("New", Text("n")));
  EXPECT_FALSE(held->EnumValue(0));
  held.reset();

  EXPECT_TRUE(registry().DeleteKey(root_, Below("Parent"))) << "now that its subkey went";
  auto scratch = registry().OpenKey(root_, key_);
  ASSERT_TRUE(scratch);
  EXPECT_FALSE(scratch->EnumSubKey(0));
}

}  // namespace scrubber::contract
