#include "hosts/registry_access.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_registry.h"

namespace setup {
namespace {

struct RegistryAccessTest : testing::Test {
  void TearDown() override { EXPECT_EQ(registry_.OpenKeyCount(), 0u) << "a key was left open"; }
  PortableRegistry registry_;
};

TEST_F(RegistryAccessTest, ReadingNeverCreates) {
  EXPECT_EQ(ReadRegistryText(registry_, RootKey::kLocalMachine, "Software\\Host\\9", "Path"), "");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kLocalMachine, "Software\\Host"));
}

TEST_F(RegistryAccessTest, LongBinaryValuesAreCutTo259Bytes) {
  std::string reg = "REGEDIT4\n[HKCU\\Software\\Host]\n\"Huge\"=hex:";
  for (int i = 0; i < 70000; ++i) reg += i ? ",42" : "42";
  reg += "\n\"Exact\"=hex:";
  for (int i = 0; i < 259; ++i) reg += i ? ",43" : "43";
  reg += "\n\"ZeroLate\"=hex:";
  for (int i = 0; i < 270; ++i) reg += i ? (i == 265 ? ",00" : ",44") : "44";
  reg += "\n";
  registry_.Load(reg);
  EXPECT_EQ(ReadRegistryText(registry_, RootKey::kCurrentUser, "Software\\Host", "Huge"), std::string(259, 'B'));
  EXPECT_EQ(ReadRegistryText(registry_, RootKey::kCurrentUser, "Software\\Host", "Exact"), std::string(259, 'C'));
  EXPECT_EQ(ReadRegistryText(registry_, RootKey::kCurrentUser, "Software\\Host", "ZeroLate"), std::string(259, 'D'));
}

TEST_F(RegistryAccessTest, StoringIsSilentWhenTheKeyCannotBeCreated) {
  registry_.DenyWrites(true);
  StoreFoundFolder(registry_, "PSP7", "C:\\PSP\\");
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, std::string(kScratchKeyPath)));
  registry_.DenyWrites(false);
  StoreFoundFolder(registry_, "PSP7", "C:\\PSP\\");
  EXPECT_EQ(ReadRegistryText(registry_, RootKey::kCurrentUser, kScratchKeyPath, "psp7"), "C:\\PSP\\");
}

TEST_F(RegistryAccessTest, DeleteScratchKeyRemovesTheTreeDepthFirst) {
  registry_.Load(
      "REGEDIT4\n"
      "[HKCU\\Software\\Brisquell\\Temp]\n\"AFX41\"=\"C:\\\\x\"\n"
      "[HKCU\\Software\\Brisquell\\Temp\\A]\n"
      "[HKCU\\Software\\Brisquell\\Temp\\A\\A1]\n"
      "[HKCU\\Software\\Brisquell\\Temp\\B]\n"
      "[HKCU\\Software\\Brisquell\\Other]\n");
  DeleteScratchKey(registry_);
  EXPECT_EQ(registry_.deleted_keys_, (std::vector<std::string>{
                                         "HKEY_CURRENT_USER\\Software\\Brisquell\\Temp\\B",
                                         "HKEY_CURRENT_USER\\Software\\Brisquell\\Temp\\A\\A1",
                                         "HKEY_CURRENT_USER\\Software\\Brisquell\\Temp\\A",
                                         "HKEY_CURRENT_USER\\Software\\Brisquell\\Temp",
                                     }));
  EXPECT_TRUE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell\\Other"));
}

TEST_F(RegistryAccessTest, DeleteScratchKeyEndsWhenASubKeyCannotBeDeleted) {
  registry_.Load(
      "REGEDIT4\n"
      "[HKCU\\Software\\Brisquell\\Temp\\A]\n"
      "[HKCU\\Software\\Brisquell\\Temp\\Stuck]\n"
      "[HKCU\\Software\\Brisquell\\Temp\\Stuck\\Inner]\n"
      "[HKCU\\Software\\Brisquell\\Temp\\C]\n");
  registry_.DenyDelete(RootKey::kCurrentUser, "Software\\Brisquell\\Temp\\Stuck\\Inner");
  DeleteScratchKey(registry_);  // must return
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell\\Temp\\A"));
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell\\Temp\\C"));
  EXPECT_TRUE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell\\Temp\\Stuck\\Inner"));
  DeleteScratchKey(registry_);  // and again, with the stuck key still there
  EXPECT_TRUE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell\\Temp"));
}

}  // namespace
}  // namespace setup
