#include "platform/portable/portable_profile_reader.h"

#include <gtest/gtest.h>

#include "unit/test_world.h"

namespace setup {
namespace {

using namespace std::string_literals;

struct PortableProfileReaderTest : testing::Test {
  std::string Read(std::string_view key) {
    return world_.profile_.ReadString("c:\\PACKAGE\\Setup.INI", "s", key, 2048);
  }
  TestWorld world_;
};

TEST_F(PortableProfileReaderTest, FindsFilesThroughTheDriveMapRegardlessOfCase) {
  world_.WriteSetupIni("[s]\r\nk=v\r\n");
  EXPECT_EQ(Read("k"), "v");
  EXPECT_EQ(world_.profile_.ReadString("D:\\setup.ini", "s", "k", 2048), "");
}

TEST_F(PortableProfileReaderTest, LinesLongerThanTheReadLimitDoNotHideLaterKeys) {
  world_.WriteSetupIni("[s]\r\nwide=" + std::string(10 * 1024 * 1024, 'w') + "[t]\r\nnext=found\r\n");
  EXPECT_EQ(Read("wide"), std::string(2047, 'w'));
  EXPECT_EQ(Read("next"), "found");
}

TEST_F(PortableProfileReaderTest, QuotesAreStrippedAfterTheBlanksAndOnlyInPairs) {
  world_.WriteSetupIni("[s]\r\na=  \"x\"  \r\nb=\"\r\nc=\"'\r\nd=''\r\ne=\"\0\"\r\n"s);
  EXPECT_EQ(Read("a"), "x");
  EXPECT_EQ(Read("b"), "\"");
  EXPECT_EQ(Read("c"), "\"'");
  EXPECT_EQ(Read("d"), "");
  EXPECT_EQ(Read("e"), "");
}

TEST_F(PortableProfileReaderTest, SmallBuffersCutNamesLikeTheSystem) {
  world_.WriteSetupIni("[s]\r\nA=1\r\n#h=2\r\nB=3\r\nB=4\r\nSpaced Key=5\r\n");
  EXPECT_EQ(world_.profile_.ReadKeyNames("C:\\Package\\setup.ini", "s", 10),
            (std::vector<std::string>{"A", "#h", "B", "B"}));
  EXPECT_TRUE(world_.profile_.ReadKeyNames("C:\\Package\\setup.ini", "s", 1).empty());
  EXPECT_EQ(world_.profile_.ReadString("C:\\Package\\setup.ini", "s", "A", 0), "");
}

}  // namespace
}  // namespace setup
