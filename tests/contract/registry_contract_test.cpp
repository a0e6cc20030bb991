#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "contract/contract_world.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

constexpr char kTestKey[] = "Software\\PluginSetupContract";

struct RegistryContractTest : testing::Test {
  void SetUp() override {
    world_ = MakeContractWorld();
    world_->RemoveRegistryTree(RootKey::kCurrentUser, kTestKey);
    world_->RemoveRegistryTree(RootKey::kLocalMachine, kTestKey);
    world_->RemoveRegistryTree(RootKey::kCurrentUser, std::string(kScratchKeyPath));
  }
  void TearDown() override {
    world_->RemoveRegistryTree(RootKey::kCurrentUser, kTestKey);
    world_->RemoveRegistryTree(RootKey::kLocalMachine, kTestKey);
    world_->RemoveRegistryTree(RootKey::kCurrentUser, std::string(kScratchKeyPath));
  }
  std::string Text(RootKey root, const std::string& path, const std::string& name) {
    return ReadRegistryText(world_->registry(), root, path, name);
  }
  std::unique_ptr<ContractWorld> world_;
};

TEST_F(RegistryContractTest, ValuesReadAsTextByType) {
  std::string long_binary = "hex:";
  for (int i = 0; i < 300; ++i) long_binary += i ? ",41" : "41";
  world_->LoadRegistry(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Software\\PluginSetupContract\\Types]\n"
      "@=\"C:\\\\Default\"\n"
      "\"Sz\"=\"C:\\\\Program Files\\\\Host\\\\Plugins\\\\\"\n"
      "\"EmptySz\"=\"\"\n"
      "\"SzEmbeddedZero\"=hex(1):41,00,42,00\n"
      "\"SzNoTerminator\"=hex(1):41,42\n"
      "\"Binary\"=hex:43,3a,5c,50,00,58,59\n"
      "\"BinaryNoZero\"=hex:43,3a,5c,50\n"
      "\"BinaryEmpty\"=hex:\n"
      "\"BinaryLong\"=" +
      long_binary +
      "\n"
      "\"Expand\"=hex(2):43,3a,5c,25,54,4d,50,25,00\n"
      "\"Multi\"=hex(7):41,00,42,00,00\n"
      "\"Dword\"=dword:00000001\n");
  const std::string key = "Software\\PluginSetupContract\\Types";
  struct Case {
    const char* name;
    std::string expected;
  } cases[] = {
      {"", "C:\\Default"},
      {"Sz", "C:\\Program Files\\Host\\Plugins\\"},
      {"sZ", "C:\\Program Files\\Host\\Plugins\\"},  // names match regardless of case
      {"EmptySz", ""},
      {"SzEmbeddedZero", "A"},
      {"SzNoTerminator", "AB"},
      {"Binary", "C:\\P"},
      {"BinaryNoZero", "C:\\P"},
      {"BinaryEmpty", ""},
      {"BinaryLong", std::string(259, 'A')},
      {"Expand", ""},
      {"Multi", ""},
      {"Dword", ""},
      {"Missing", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(RootKey::kCurrentUser, key, c.name), c.expected) << "value " << c.name;
  EXPECT_EQ(Text(RootKey::kCurrentUser, "software\\PLUGINSETUPCONTRACT\\types", "Sz"),
            "C:\\Program Files\\Host\\Plugins\\");
  EXPECT_EQ(Text(RootKey::kCurrentUser, key + "\\Missing", "Sz"), "");
}

TEST_F(RegistryContractTest, ReadReportsTypeAndWholeData) {
  // Values far bigger than a folder name: the read must ask for room again.
  std::string big_binary = "hex:";
  for (int i = 0; i < 3000; ++i) big_binary += i ? ",42" : "42";
  world_->LoadRegistry(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Software\\PluginSetupContract]\n"
      "\"Sz\"=\"abc\"\n"
      "\"Binary\"=hex:01,02,03\n"
      "\"Expand\"=hex(2):41,00\n"
      "\"Dword\"=dword:0000002a\n"
      "\"BigSz\"=\"" +
      std::string(2000, 'x') + "\"\n\"BigBinary\"=" + big_binary + "\n");
  Registry& registry = world_->registry();
  ScopedKey key(registry, registry.OpenForReading(RootKey::kCurrentUser, kTestKey));
  ASSERT_TRUE(key);
  EXPECT_EQ(registry.ReadValue(key.get(), "Sz").value().type, kRegSz);
  EXPECT_EQ(registry.ReadValue(key.get(), "Binary").value().type, kRegBinary);
  EXPECT_EQ(registry.ReadValue(key.get(), "Binary").value().data.size(), 3u);
  EXPECT_EQ(registry.ReadValue(key.get(), "Expand").value().type, kRegExpandSz);
  EXPECT_EQ(registry.ReadValue(key.get(), "Dword").value().type, kRegDword);
  EXPECT_EQ(registry.ReadValue(key.get(), "Dword").value().data, std::string("\x2a\0\0\0", 4));
  EXPECT_FALSE(registry.ReadValue(key.get(), "Missing"));
  EXPECT_FALSE(registry.ReadValue(key.get(), ""));  // no default value set
  EXPECT_EQ(registry.ReadValue(key.get(), "BigSz").value().data, std::string(2000, 'x') + '\0');
  EXPECT_EQ(registry.ReadValue(key.get(), "BigBinary").value().data, std::string(3000, 'B'));
}

TEST_F(RegistryContractTest, LocalMachineIsReadInThe32BitView) {
  world_->LoadRegistry(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupContract]\n\"Both\"=\"32\"\n\"Only32\"=\"x\"\n");
  world_->LoadRegistry(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupContract]\n\"Both\"=\"64\"\n\"Only64\"=\"y\"\n", true);
  EXPECT_EQ(Text(RootKey::kLocalMachine, kTestKey, "Both"), "32");
  EXPECT_EQ(Text(RootKey::kLocalMachine, kTestKey, "Only32"), "x");
  EXPECT_EQ(Text(RootKey::kLocalMachine, kTestKey, "Only64"), "");
}

TEST_F(RegistryContractTest, The64BitViewIsReadOnlyWhenAskedFor) {
  world_->LoadRegistry(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupContract]\n\"Both\"=\"32\"\n\"Only32\"=\"x\"\n");
  world_->LoadRegistry(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupContract]\n\"Both\"=\"64\"\n\"Only64\"=\"y\"\n"
      "\"Expand\"=hex(2):25,50,4c,55,47,49,4e,5f,43,4f,4e,54,52,41,43,54,25,5c,78,00\n"
      "[HKEY_CURRENT_USER\\Software\\PluginSetupContract]\n\"User\"=\"shared\"\n",
      true);
  world_->SetVariable("PLUGIN_CONTRACT", "C:\\Expanded");
  auto read = [&](RegistryView view, RootKey root, const std::string& path, const char* name) {
    return ReadExpandedFolder(world_->registry(), world_->environment(), view, root, path, name);
  };
  struct Case {
    RegistryView view;
    RootKey root;
    std::string path;
    const char* name;
    const char* expected;
  } cases[] = {
      {RegistryView::k64Bit, RootKey::kLocalMachine, kTestKey, "Both", "64"},
      {RegistryView::k64Bit, RootKey::kLocalMachine, kTestKey, "Only64", "y"},
      {RegistryView::k64Bit, RootKey::kLocalMachine, kTestKey, "Only32", ""},
      {RegistryView::k64Bit, RootKey::kLocalMachine, kTestKey, "Expand", "C:\\Expanded\\x"},
      {RegistryView::k32Bit, RootKey::kLocalMachine, kTestKey, "Both", "32"},
      {RegistryView::k32Bit, RootKey::kLocalMachine, kTestKey, "Only64", ""},
      // The 64-bit side sees the 32-bit view's Software under Wow6432Node.
      {RegistryView::k64Bit, RootKey::kLocalMachine, "Software\\Wow6432Node\\PluginSetupContract", "Both", "32"},
      {RegistryView::k64Bit, RootKey::kCurrentUser, kTestKey, "User", "shared"},
      {RegistryView::k32Bit, RootKey::kCurrentUser, kTestKey, "User", "shared"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(read(c.view, c.root, c.path, c.name), c.expected)
        << c.path << " " << c.name << (c.view == RegistryView::k64Bit ? " (64)" : " (32)");
  // What the catalogue reads is untouched: no 64-bit view, no REG_EXPAND_SZ.
  EXPECT_EQ(Text(RootKey::kLocalMachine, kTestKey, "Expand"), "");
}

TEST_F(RegistryContractTest, EnvironmentVariablesByNameRegardlessOfCase) {
  world_->SetVariable("PLUGIN_CONTRACT", "C:\\Program Files\\Common Files");
  EXPECT_EQ(world_->environment().Variable("plugin_Contract"), "C:\\Program Files\\Common Files");
  EXPECT_EQ(world_->environment().Variable("PLUGIN_CONTRACT_UNSET"), std::nullopt);
}

// The tests run as an ordinary user; only a deployment service starts the
// program as LocalSystem.
TEST_F(RegistryContractTest, AnOrdinaryProcessIsNotLocalSystem) {
  EXPECT_FALSE(world_->environment().RunsAsLocalSystem());
}

TEST_F(RegistryContractTest, CurrentUserIsTheSameInBothViews) {
  world_->LoadRegistry("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\PluginSetupContract]\n\"V\"=\"shared\"\n", true);
  EXPECT_EQ(Text(RootKey::kCurrentUser, kTestKey, "V"), "shared");
}

TEST_F(RegistryContractTest, CreateMakesParentsAndEnumeratesSubKeys) {
  Registry& registry = world_->registry();
  EXPECT_EQ(registry.OpenForReading(RootKey::kCurrentUser, std::string(kTestKey) + "\\A\\B"), 0u);
  {
    ScopedKey created(registry, registry.Create(RootKey::kCurrentUser, std::string(kTestKey) + "\\A\\B"));
    ASSERT_TRUE(created);
    EXPECT_TRUE(registry.SetString(created.get(), "Folder", "D:\\x"));
  }
  { ScopedKey second(registry, registry.Create(RootKey::kCurrentUser, std::string(kTestKey) + "\\A\\C")); }
  ScopedKey parent(registry, registry.OpenForReading(RootKey::kCurrentUser, std::string(kTestKey) + "\\A"));
  ASSERT_TRUE(parent);
  ASSERT_EQ(registry.CountSubKeys(parent.get()), 2u);
  std::set<std::string> names{*registry.SubKeyName(parent.get(), 0), *registry.SubKeyName(parent.get(), 1)};
  EXPECT_EQ(names, (std::set<std::string>{"B", "C"}));
  EXPECT_FALSE(registry.SubKeyName(parent.get(), 2));
  EXPECT_EQ(Text(RootKey::kCurrentUser, std::string(kTestKey) + "\\A\\B", "Folder"), "D:\\x");
  // A key with sub-keys is not deleted; a leaf is.
  EXPECT_FALSE(registry.DeleteKey(RootKey::kCurrentUser, std::string(kTestKey) + "\\A"));
  EXPECT_TRUE(registry.DeleteKey(RootKey::kCurrentUser, std::string(kTestKey) + "\\A\\C"));
  EXPECT_EQ(registry.CountSubKeys(parent.get()), 1u);
}

TEST_F(RegistryContractTest, ScratchKeyStoresAndDeletes) {
  Registry& registry = world_->registry();
  StoreFoundFolder(registry, "AFX41", "C:\\First\\");
  StoreFoundFolder(registry, "AFX41", "C:\\Second\\");
  StoreFoundFolder(registry, "Empty", "");
  EXPECT_EQ(Text(RootKey::kCurrentUser, std::string(kScratchKeyPath), "AFX41"), "C:\\Second\\");
  {
    ScopedKey key(registry, registry.OpenForReading(RootKey::kCurrentUser, kScratchKeyPath));
    ASSERT_TRUE(key);
    EXPECT_EQ(registry.ReadValue(key.get(), "AFX41").value().type, kRegSz);
    EXPECT_EQ(registry.ReadValue(key.get(), "AFX41").value().data, std::string("C:\\Second\\\0", 11));
    EXPECT_EQ(registry.ReadValue(key.get(), "Empty").value().type, kRegSz);
  }
  world_->LoadRegistry(
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp\\Sub\\Deeper]\n\"v\"=\"1\"\n"
      "[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp\\Other]\n");
  DeleteScratchKey(registry);
  EXPECT_EQ(registry.OpenForReading(RootKey::kCurrentUser, kScratchKeyPath), 0u);
  ScopedKey maker(registry, registry.OpenForReading(RootKey::kCurrentUser, "Software\\Brisquell"));
  EXPECT_TRUE(maker);
  DeleteScratchKey(registry);  // a missing key is no error
}

}  // namespace
}  // namespace setup
