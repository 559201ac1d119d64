// Win32Registry on the real registry: values of every type, enumeration,
// deletion, and keys that cannot be opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32Registry.h"

namespace scrubber {
namespace {

class Win32RegistryKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = "Software\\ScrubberTest\\Registry" + std::to_string(GetCurrentProcessId());
    (void)RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    Create("");
  }
  void TearDown() override { (void)RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str()); }

  // Creates base\relative with plain Win32 calls.
  void Create(const std::string& relative) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(relative).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  std::string Path(const std::string& relative) const { return relative.empty() ? base_ : base_ + "\\" + relative; }
  bool Exists(const std::string& relative) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  Win32Registry registry_;
  std::string base_;
};

TEST_F(Win32RegistryKeys, ValuesOfEveryTypeAreWrittenAndReadBackByteForByte) {
  auto key = registry_.OpenKey(RegRoot::CurrentUser, base_);
  ASSERT_TRUE(key);
  const RegValue values[] = {
      {kRegTypeSz, std::string("text\0", 5)},
      {kRegTypeExpandSz, std::string("%WINDIR%\\x\0", 11)},
      {kRegTypeMultiSz, std::string("one\0two\0\0", 9)},
      {kRegTypeDword, std::string("\x12\0\0\0", 4)},
      {kRegTypeBinary, std::string("\x0a\x1b\xff\0", 4)},
  };
  for (const RegValue& value : values) {
    std::string name = "type" + std::to_string(value.type);
    ASSERT_TRUE(key->Set(name, value)) << name;
    auto back = key->Query(name);
    ASSERT_TRUE(back) << name;
    EXPECT_EQ(back->type, value.type) << name;
    EXPECT_EQ(back->data, value.data) << name;
  }
  // The default value has the empty name, and an empty value is still a value.
  ASSERT_TRUE(key->Set("", {kRegTypeSz, std::string("dflt\0", 5)}));
  ASSERT_TRUE(key->Set("empty", {kRegTypeBinary, ""}));
  EXPECT_EQ(key->Query("EMPTY").value().data, "");
  key.reset();

  // The writes reached the registry itself, and the read-only query sees them.
  DWORD number = 0, size = sizeof number, type = 0;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, base_.c_str(), "type4", RRF_RT_REG_DWORD, &type, &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 0x12u);
  EXPECT_EQ(registry_.QueryValue(RegRoot::CurrentUser, base_, "").value().data, std::string("dflt\0", 5));
  EXPECT_FALSE(registry_.QueryValue(RegRoot::CurrentUser, base_, "missing"));
}

TEST_F(Win32RegistryKeys, EnumeratesValuesAndSubkeysAndDeletesValues) {
  Create("Sub1");
  Create("Sub2");
  auto key = registry_.OpenKey(RegRoot::CurrentUser, base_);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->Set("a", {kRegTypeSz, std::string("1\0", 2)}));
  ASSERT_TRUE(key->Set("b", {kRegTypeSz, std::string("2\0", 2)}));

  std::string values, subkeys;
  for (std::uint32_t i = 0; auto name = key->EnumValue(i); ++i) values += *name + ";";
  for (std::uint32_t i = 0; auto name = key->EnumSubKey(i); ++i) subkeys += *name + ";";
  EXPECT_EQ(values, "a;b;");
  EXPECT_EQ(subkeys, "Sub1;Sub2;");

  EXPECT_TRUE(key->DeleteValue("A"));
  EXPECT_FALSE(key->Query("a"));
  EXPECT_EQ(key->EnumValue(0).value_or("-"), "b");
  EXPECT_FALSE(key->EnumValue(1));
  Status again = key->DeleteValue("a");
  EXPECT_EQ(again.error, SysError::NotFound);
}

TEST_F(Win32RegistryKeys, NamesLongerThanTheBufferAreNotEnumerated) {
  auto key = registry_.OpenKey(RegRoot::CurrentUser, base_);
  ASSERT_TRUE(key);
  std::string fits(kRegNameBuffer - 1, 'f');
  ASSERT_TRUE(key->Set(fits, {kRegTypeDword, std::string(4, '\0')}));
  EXPECT_EQ(key->EnumValue(0).value_or(""), fits);
  ASSERT_TRUE(key->DeleteValue(fits));
  ASSERT_TRUE(key->Set(std::string(kRegNameBuffer + 40, 'x'), {kRegTypeDword, std::string(4, '\0')}));
  EXPECT_FALSE(key->EnumValue(0)) << "a name that does not fit is no name";
}

TEST_F(Win32RegistryKeys, DeletesOnlyKeysWithoutSubkeys) {
  Create("Parent\\Child");
  EXPECT_FALSE(registry_.DeleteKey(RegRoot::CurrentUser, Path("Parent")));
  EXPECT_TRUE(Exists("Parent\\Child"));
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::CurrentUser, Path("parent\\child")));
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::CurrentUser, Path("Parent")));
  EXPECT_FALSE(Exists("Parent"));
  EXPECT_EQ(registry_.DeleteKey(RegRoot::CurrentUser, Path("Parent")).error, SysError::NotFound);
  EXPECT_FALSE(registry_.DeleteKey(RegRoot::CurrentUser, "")) << "a root is never deleted";
}

TEST_F(Win32RegistryKeys, KeysThatCannotBeOpenedGiveNothing) {
  EXPECT_FALSE(registry_.OpenKey(RegRoot::CurrentUser, Path("Missing")));
  EXPECT_FALSE(registry_.OpenKey(RegRoot::LocalMachine, "Software\\No\\Such\\Key"));
  EXPECT_FALSE(registry_.OpenKey(RegRoot::CurrentUser, Path(std::string(300, 'k'))));
  // A root outside the five never reaches the platform.
  auto bad = static_cast<RegRoot>(kRegRootCount);
  EXPECT_FALSE(registry_.OpenKey(bad, "Software"));
  EXPECT_FALSE(registry_.QueryValue(bad, "Software", ""));
  EXPECT_FALSE(registry_.DeleteKey(bad, "Software"));
  EXPECT_TRUE(Exists(""));
  // An empty path opens the root itself.
  auto root = registry_.OpenKey(RegRoot::CurrentUser, "");
  ASSERT_TRUE(root);
  bool sawSoftware = false;
  for (std::uint32_t i = 0; auto name = root->EnumSubKey(i); ++i) sawSoftware |= _stricmp(name->c_str(), "Software") == 0;
  EXPECT_TRUE(sawSoftware);
}

}  // namespace
}  // namespace scrubber
