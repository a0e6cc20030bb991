#include "platform/overlay_registry.h"

#include <gtest/gtest.h>

#include "hosts/registry_access.h"
#include "platform/portable/portable_registry.h"

namespace setup {
namespace {

constexpr RootKey kUser = RootKey::kCurrentUser;

struct OverlayRegistryTest : testing::Test {
  OverlayRegistryTest() { below_.Load("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Host]\n\"Dir\"=\"below\"\n"); }
  std::string Read(Registry& registry, std::string_view path, std::string_view name) {
    return ReadRegistryText(registry, kUser, path, name);
  }
  PortableRegistry below_;
  OverlayRegistry overlay_{below_};
};

TEST_F(OverlayRegistryTest, WritesAreSeenAboveAndNeverReachBelow) {
  EXPECT_EQ(Read(overlay_, "Software\\Host", "Dir"), "below");
  StoreFoundFolder(overlay_, "X", "mine");  // creates the scratch key and its parents
  {
    ScopedKey key(overlay_, overlay_.OpenForWriting(kUser, "software\\HOST"));
    ASSERT_TRUE(key);
    EXPECT_TRUE(overlay_.SetString(key.get(), "dir", "above"));
  }
  EXPECT_EQ(Read(overlay_, "Software\\Host", "Dir"), "above");
  EXPECT_EQ(Read(overlay_, "Software\\Brisquell\\Temp", "x"), "mine");
  EXPECT_NE(overlay_.OpenForReading(kUser, "Software\\Brisquell"), 0u);
  EXPECT_EQ(overlay_.OpenForReading(kUser, "Software\\Other"), 0u);
  EXPECT_FALSE(overlay_.DeleteKey(kUser, "Software\\Host"));
  DeleteScratchKey(overlay_);

  EXPECT_EQ(Read(below_, "Software\\Host", "Dir"), "below");
  EXPECT_FALSE(below_.KeyExists(kUser, "Software\\Brisquell"));
  EXPECT_TRUE(below_.deleted_keys_.empty());
  ASSERT_EQ(overlay_.writes().size(), 2u);
  EXPECT_EQ(overlay_.writes()[0].name, "X");
  EXPECT_EQ(overlay_.writes()[0].text, "mine");
}

}  // namespace
}  // namespace setup
