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
  EXPECT_EQ(registry_.ReadValue(key.get(), "path").value().data, std::string("a\0", 2));
  EXPECT_EQ(registry_.SubKeyName(key.get(), 0), "Sub");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kLocalMachine, "Software\\Host"));
}

TEST_F(PortableRegistryTest, LaterLoadsReplaceAndDelete) {
  registry_.Load("REGEDIT4\n[HKLM\\A\\B]\n\"v\"=\"1\"\n\"w\"=\"2\"\n");
  registry_.Load("REGEDIT4\n[HKLM\\A\\B]\n\"v\"=dword:00000003\n\"w\"=-\n");
  ScopedKey key(registry_, registry_.OpenForReading(RootKey::kLocalMachine, "A\\B"));
  EXPECT_EQ(registry_.ReadValue(key.get(), "v").value().type, kRegDword);
  EXPECT_FALSE(registry_.ReadValue(key.get(), "w"));
  registry_.Load("REGEDIT4\n[-HKLM\\A]\n");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kLocalMachine, "A\\B"));
  EXPECT_FALSE(registry_.ReadValue(key.get(), "v"));  // the handle outlived its key
}

TEST_F(PortableRegistryTest, AnExportOfA64BitEditorFillsBothViews) {
  auto text = [&](RootKey root, const char* path, RegistryView view) {
    ScopedKey key(registry_, registry_.OpenForReadingInView(root, path, view));
    if (!key) return std::string("no key");
    std::optional<RegistryValue> value = registry_.ReadValue(key.get(), "P");
    return value ? value->data : "-";
  };
  registry_.LoadExport(
      "Windows Registry Editor Version 5.00\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Photoshop\\180.0]\r\n\"P\"=\"64\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Adobe\\Photoshop\\7.0]\r\n\"P\"=\"32\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Host]\r\n\"P\"=\"user\"\r\n");
  EXPECT_EQ(text(RootKey::kLocalMachine, "Software\\Adobe\\Photoshop\\180.0", RegistryView::k64Bit),
            std::string("64\0", 3));
  EXPECT_EQ(text(RootKey::kLocalMachine, "Software\\Adobe\\Photoshop\\180.0", RegistryView::k32Bit), "no key");
  EXPECT_EQ(text(RootKey::kLocalMachine, "Software\\Adobe\\Photoshop\\7.0", RegistryView::k32Bit),
            std::string("32\0", 3));
  EXPECT_EQ(text(RootKey::kCurrentUser, "Software\\Host", RegistryView::k32Bit), std::string("user\0", 5));

  // Without WOW6432Node it is the 32-bit view, as a 32-bit program sees it.
  PortableRegistry old;
  old.LoadExport("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0]\n\"P\"=\"32\"\n");
  EXPECT_TRUE(old.KeyExists(RootKey::kLocalMachine, "Software\\Adobe\\Photoshop\\7.0"));
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
