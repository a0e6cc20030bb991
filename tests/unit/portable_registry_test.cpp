#include "platform/portable/portable_registry.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

struct PortableRegistryTest : testing::Test {
  PortableRegistry registry_;
};

TEST_F(PortableRegistryTest, NamesMatchRegardlessOfCaseAndKeepTheirFirstSpelling) {
  registry_.Load("REGEDIT4\n[HKCU\\Software\\Host]\n\"Path\"=\"a\"\n[HKCU\\SOFTWARE\\host\\Sub]\n\"PATH\"=\"b\"\n");
  ScopedKey key(registry_, registry_.OpenForReading(RootKey::kCurrentUser, "software\\HOST"));
  ASSERT_TRUE(key);
  EXPECT_EQ(registry_.ReadValueData(key.get(), "path"), std::string("a\0", 2));
  EXPECT_EQ(registry_.SubKeyName(key.get(), 0), "Sub");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kLocalMachine, "Software\\Host"));
}

TEST_F(PortableRegistryTest, LaterLoadsReplaceAndDelete) {
  registry_.Load("REGEDIT4\n[HKLM\\A\\B]\n\"v\"=\"1\"\n\"w\"=\"2\"\n");
  registry_.Load("REGEDIT4\n[HKLM\\A\\B]\n\"v\"=dword:00000003\n\"w\"=-\n");
  ScopedKey key(registry_, registry_.OpenForReading(RootKey::kLocalMachine, "A\\B"));
  EXPECT_EQ(registry_.QueryValue(key.get(), "v")->type, kRegDword);
  EXPECT_FALSE(registry_.QueryValue(key.get(), "w"));
  registry_.Load("REGEDIT4\n[-HKLM\\A]\n");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kLocalMachine, "A\\B"));
  EXPECT_FALSE(registry_.QueryValue(key.get(), "v"));  // the handle outlived its key
}

TEST_F(PortableRegistryTest, DeleteRefusesKeysWithSubKeysAndDeniedKeys) {
  registry_.Load("REGEDIT4\n[HKCU\\A\\B]\n[HKCU\\C]\n");
  registry_.DenyDelete(RootKey::kCurrentUser, "C");
  EXPECT_FALSE(registry_.DeleteKey(RootKey::kCurrentUser, "A"));
  EXPECT_FALSE(registry_.DeleteKey(RootKey::kCurrentUser, "C"));
  EXPECT_FALSE(registry_.DeleteKey(RootKey::kCurrentUser, "Missing"));
  EXPECT_TRUE(registry_.DeleteKey(RootKey::kCurrentUser, "a\\b"));
  EXPECT_TRUE(registry_.DeleteKey(RootKey::kCurrentUser, "A"));
  EXPECT_EQ(registry_.deleted_keys_, (std::vector<std::string>{"HKEY_CURRENT_USER\\A\\B", "HKEY_CURRENT_USER\\A"}));
}

TEST_F(PortableRegistryTest, DeniedWritesFailWithoutCreating) {
  registry_.DenyWrites(true);
  EXPECT_EQ(registry_.Create(RootKey::kCurrentUser, "New"), 0u);
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, "New"));
  registry_.DenyWrites(false);
  ScopedKey read_only(registry_, registry_.OpenForReading(RootKey::kCurrentUser, ""));
  EXPECT_FALSE(registry_.SetString(read_only.get(), "v", "x"));
}

}  // namespace
}  // namespace setup
