// Names the code page cannot hold reach the logic marked, never as the
// look-alike the ANSI functions give (Greek Omega as O), whichever back end.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "contract/contract_world.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

constexpr char kU = kUnheldCharacter;

TEST(UnheldNamesContractTest, ListingsMarkWhatTheCodePageCannotHoldBesideTheLookAlike) {
  std::unique_ptr<ContractWorld> world = MakeContractWorld();
  FileSystem& files = world->files();
  std::string folder = world->Folder();
  world->WriteFileNamedInUtf8(folder, "b\xCE\xA9.8bf", "Omega");
  world->WriteFileNamedInUtf8(folder, "bO.8bf", "O");
  world->WriteFileNamedInUtf8(folder, "caf\xC3\xA9.8bf", "cafe");
  std::set<std::string> names;
  if (std::unique_ptr<FolderListing> listing = files.List(folder + "*.8bf"))
    while (std::optional<FoundEntry> entry = listing->Next()) names.insert(entry->name);
  EXPECT_EQ(names, (std::set<std::string>{std::string("b") + kU + ".8bf", "bO.8bf", "caf\xE9.8bf"}));
  // The look-alike names the twin only, the marked name nothing.
  EXPECT_EQ(files.ReadWholeFile(folder + "bO.8bf", 100), "O");
  EXPECT_EQ(files.ReadWholeFile(folder + "caf\xE9.8bf", 100), "cafe");
  EXPECT_FALSE(files.FileExists(folder + "b" + kU + ".8bf"));
}

TEST(UnheldNamesContractTest, RegistryTextsKeyNamesAndVariablesMarkIt) {
  std::unique_ptr<ContractWorld> world = MakeContractWorld();
  const std::string path = "Software\\SetupContract\\Unheld";
  world->RemoveRegistryTree(RootKey::kCurrentUser, path);
  world->SetUtf8Texts(path, "C:\\PS\xCE\xA9\\caf\xC3\xA9", "K\xCE\xA9", "SETUP_CONTRACT_UNHELD");
  Registry& registry = world->registry();
  ScopedKey key(registry, registry.OpenForReading(RootKey::kCurrentUser, path));
  ASSERT_TRUE(key);
  EXPECT_EQ(registry.ReadValue(key.get(), "Folder").value().data, std::string("C:\\PS") + kU + "\\caf\xE9" + '\0');
  EXPECT_EQ(registry.SubKeyName(key.get(), 0), std::string("K") + kU);
  EXPECT_EQ(world->environment().Variable("SETUP_CONTRACT_UNHELD"), std::string("C:\\PS") + kU + "\\caf\xE9");
  world->RemoveRegistryTree(RootKey::kCurrentUser, path);
}

}  // namespace
}  // namespace setup
