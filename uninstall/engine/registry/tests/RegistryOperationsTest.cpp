// Changed values written back, created values pruned with the keys they
// leave empty, created trees deleted.
#include <string>

#include "RegistryFixture.h"

namespace scrubber {
namespace {

using namespace std::string_literals;

constexpr char kKey[] = "Software\\Vendor\\Product";

class RegistryOps : public RegistryFixture {
 protected:
  void Restore(std::int32_t type, std::string oldData, std::int32_t root = kLocalMachine) {
    RegEditItem item;
    item.key = kKey;
    item.valueName = "Setting";
    item.oldData = std::move(oldData);
    item.root = root;
    item.type = type;
    ops.RestoreRegistryValue(item);
  }
  std::optional<RegValue> Restored() { return registry.ValueOf(RegRoot::LocalMachine, kKey, "Setting"); }

  void Remove(std::string key, std::string valueName, std::int32_t root = kLocalMachine) {
    RegKeyItem item;
    item.key = std::move(key);
    item.valueName = std::move(valueName);
    item.root = root;
    ops.RemoveRegistryValue(item);
  }
};

TEST_F(RegistryOps, OldDataIsWrittenBackInTheFormOfItsType) {
  registry.AddKey(RegRoot::LocalMachine, kKey);
  const struct {
    std::int32_t type;
    std::string oldData;
    RegValue expected;
  } cases[] = {
      {kRegSz, "first\0second\0\0"s, Raw(kRegTypeSz, "first\0"s)},
      {kRegExpandSz, "%WINDIR%\\x\0\0"s, Raw(kRegTypeExpandSz, "%WINDIR%\\x\0"s)},
      {kRegSz, "unterminated"s, Raw(kRegTypeSz, "unterminated\0"s)},
      {kRegDword, "00000012\0\0"s, Dword(12)},
      {kRegDword, "-1\0\0"s, Dword(0xFFFFFFFFu)},
      {kRegDword, "  +7x\0\0"s, Dword(7)},
      {kRegDword, "ABC\0\0"s, Dword(0)},
      {kRegDword, "99999999999\0\0"s, Dword(0x7FFFFFFF)},
      {kRegBinary, "0a 1B ff\0\0"s, Raw(kRegTypeBinary, "\x0A\x1B\xFF"s)},
      {kRegBinary, "ABC\0\0"s, Raw(kRegTypeBinary, "\xAB"s)},
      {kRegBinary, "zz\0\0"s, Raw(kRegTypeBinary, ""s)},
      {kRegMultiSz, "a\0bc\0\0"s, Raw(kRegTypeMultiSz, "a\0bc\0\0"s)},
      {kRegMultiSz, "\0\0"s, Raw(kRegTypeMultiSz, ""s)},
      {kRegMultiSz, "a\0\0ignored\0\0"s, Raw(kRegTypeMultiSz, "a\0\0"s)},
      {kRegMultiSz, "a\0b"s, Raw(kRegTypeMultiSz, "a\0b\0\0"s)},
  };
  for (const auto& c : cases) {
    Restore(c.type, c.oldData);
    EXPECT_EQ(Restored(), c.expected) << "type index " << c.type;
  }
}

TEST_F(RegistryOps, AGoneKeyOrAnIndexOutsideTheTablesWritesNothing) {
  Restore(kRegSz, "x\0\0"s);
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, kKey)) << "the key is not made again";

  registry.AddKey(RegRoot::LocalMachine, kKey);
  const unsigned opened = registry.faults().CountOf("OpenKey");
  for (std::int32_t bad : {-1, 5, 1000}) {
    Restore(bad, "x\0\0"s);
    Restore(kRegSz, "x\0\0"s, bad);
    Remove(kKey, "Setting", bad);
    EXPECT_FALSE(ops.DeleteRegistryTree(bad, kKey));
  }
  EXPECT_FALSE(Restored().has_value());
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, kKey));
  EXPECT_EQ(registry.faults().CountOf("OpenKey"), opened);
}

TEST_F(RegistryOps, ACreatedValuePrunesItsKeyChainUpToTheFirstAncestorThatHoldsSomething) {
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor", "Keep", "1");
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Product\\1.0\\Options", "Created", "x");
  Remove("Software\\Vendor\\Product\\1.0\\Options", "Created");
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Product"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor"));

  registry.SetString(RegRoot::LocalMachine, kKey, "Created", "x");
  registry.SetString(RegRoot::LocalMachine, kKey, "Other", "y");
  Remove(kKey, "Created");
  EXPECT_FALSE(registry.ValueOf(RegRoot::LocalMachine, kKey, "Created"));
  EXPECT_TRUE(registry.ValueOf(RegRoot::LocalMachine, kKey, "Other")) << "only the logged value goes";

  registry.SetString(RegRoot::ClassesRoot, ".prd", "", "Product.Document");
  registry.AddKey(RegRoot::ClassesRoot, ".prd\\ShellNew");
  Remove(".prd", "", kClassesRoot);
  EXPECT_FALSE(registry.ValueOf(RegRoot::ClassesRoot, ".prd", "")) << "an empty name is the default value";
  EXPECT_TRUE(registry.KeyExists(RegRoot::ClassesRoot, ".prd")) << "a key with a subkey stays";
}

TEST_F(RegistryOps, AKeyWhoseContentCannotBeNamedOrCountedIsNotEmpty) {
  // Another program's value whose name no 256-character buffer holds.
  registry.SetString(RegRoot::LocalMachine, kKey, std::string(300, 'L'), "theirs");
  registry.SetString(RegRoot::LocalMachine, kKey, "Created", "x");
  Remove(kKey, "Created");
  EXPECT_TRUE(registry.ValueOf(RegRoot::LocalMachine, kKey, std::string(300, 'L')));

  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Other", "Created", "x");
  registry.faults().FailCall("HoldsAnything");
  Remove("Software\\Vendor\\Other", "Created");
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Other")) << "doubt keeps the key";
}

TEST_F(RegistryOps, PruningNeverDeletesAProtectedKeyEvenWhenItIsEmpty) {
  registry.SetString(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Product", "x");
  Remove("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Product");
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_FALSE(registry.ValueOf(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Product"));

  registry.SetString(RegRoot::ClassesRoot, "CLSID\\{1234}\\InprocServer32", "", "x.dll");
  Remove("CLSID\\{1234}\\InprocServer32", "", kClassesRoot);
  EXPECT_FALSE(registry.KeyExists(RegRoot::ClassesRoot, "CLSID\\{1234}"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::ClassesRoot, "CLSID")) << "the emptied table stays";

  registry.SetString(RegRoot::CurrentUser, "Software", "Product", "x");
  Remove("Software", "Product", kCurrentUser);
  EXPECT_FALSE(registry.ValueOf(RegRoot::CurrentUser, "Software", "Product"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::CurrentUser, "Software"));
}

TEST_F(RegistryOps, ATreeGoesWholeButSystemKeysAreRefused) {
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Deep\\Deeper", "v", "x");
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\B", "v", "x");
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Tree", "v", "x");
  registry.SetString(RegRoot::LocalMachine, "Software\\Vendor\\Sibling", "v", "x");
  EXPECT_TRUE(ops.DeleteRegistryTree(kLocalMachine, "Software\\Vendor\\Tree"));
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Tree"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Sibling"));

  const unsigned deletions = registry.faults().CountOf("DeleteKey");
  registry.SetString(RegRoot::LocalMachine, "Software\\Classes\\CLSID\\{1}", "", "x");
  registry.SetString(RegRoot::ClassesRoot, "Interface\\{2}", "", "x");
  for (const auto& [root, key] : {std::pair{kLocalMachine, ""}, std::pair{kLocalMachine, "Software"},
                                  std::pair{kLocalMachine, "software\\\\classes\\clsid\\"},
                                  std::pair{kClassesRoot, "/Interface/"}, std::pair{kClassesRoot, ""}}) {
    EXPECT_FALSE(ops.DeleteRegistryTree(root, key)) << key;
  }
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Classes\\CLSID\\{1}"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::ClassesRoot, "Interface\\{2}"));
  EXPECT_EQ(registry.faults().CountOf("DeleteKey"), deletions);
}

TEST_F(RegistryOps, SubkeysThatCannotBeDeletedAreSteppedOverInBoundedTime) {
  registry.AddKey(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Locked\\Inner");
  registry.DenyOpen(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Locked");
  registry.AddKey(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Later");
  registry.AddKey(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\B\\Locked");
  registry.DenyOpen(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\B\\Locked");
  registry.AddKey(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\C");
  EXPECT_TRUE(ops.DeleteRegistryTree(kLocalMachine, "Software\\Vendor\\Tree"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Locked"));
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\B\\Locked"));
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\A\\Later"))
      << "a sibling after a survivor still goes";
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\Tree\\C"));
  EXPECT_LT(registry.faults().CountOf("OpenKey"), 40u) << "survivors on two levels must not multiply the rounds";

  // Far more survivors than rounds: the walk ends at the bound.
  const unsigned before = registry.faults().CountOf("OpenKey");
  for (int i = 0; i < kMaxTreeRounds + 100; ++i) {
    const std::string key = "Software\\Vendor\\Wide\\K" + std::to_string(10000 + i);
    registry.DenyOpen(RegRoot::LocalMachine, key);
  }
  EXPECT_TRUE(ops.DeleteRegistryTree(kLocalMachine, "Software\\Vendor\\Wide"));
  EXPECT_EQ(registry.SubKeyCount(RegRoot::LocalMachine, "Software\\Vendor\\Wide"), std::size_t{kMaxTreeRounds + 100});
  EXPECT_LE(registry.faults().CountOf("OpenKey") - before, 2u * kMaxTreeRounds);
}

}  // namespace
}  // namespace scrubber
