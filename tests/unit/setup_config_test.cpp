#include "config/setup_config.h"

#include <gtest/gtest.h>

#include "unit/test_world.h"

namespace setup {
namespace {

using namespace std::string_literals;

struct SetupConfigTest : testing::Test {
  TestWorld world_;
};

TEST_F(SetupConfigTest, ProgramFolderEndsInABackslash) {
  PortableFileSystem files("C:\\Package");
  EXPECT_EQ(ProgramFolder(files), "C:\\Package\\");
  EXPECT_EQ(ProgramFolder(world_.files_), "C:\\Package\\");
}

TEST_F(SetupConfigTest, MissingFileReadsEmpty) {
  EXPECT_EQ(ReadSetupValue(world_.platform_, "messages", "start"), "");
  EXPECT_TRUE(ReadSetupKeys(world_.platform_, "files").empty());
  EXPECT_EQ(ReadInstallSubfolder(world_.platform_), "");
}

TEST_F(SetupConfigTest, ReadsFromTheProgramFolderAfreshEveryTime) {
  world_.WriteSetupIni("[Options]\r\nSubDir = Acme Filters \r\n");
  world_.Write("C:\\setup.ini", "[options]\r\nsubdir=wrong folder\r\n");
  EXPECT_EQ(ReadSetupValue(world_.platform_, "options", "subdir"), "Acme Filters");
  EXPECT_EQ(ReadInstallSubfolder(world_.platform_), "Acme Filters");
  world_.WriteSetupIni("[Options]\r\nSubDir=Changed\r\n");
  EXPECT_EQ(ReadSetupValue(world_.platform_, "OPTIONS", "SUBDIR"), "Changed");
}

TEST_F(SetupConfigTest, ValuesAreCutAt2047Characters) {
  world_.WriteSetupIni("[messages]\r\nstart=" + std::string(5000, 's') + "\r\n");
  EXPECT_EQ(ReadSetupValue(world_.platform_, "messages", "start"), std::string(2047, 's'));
}

TEST_F(SetupConfigTest, KeysInFileOrderUpTo16KiB) {
  world_.WriteSetupIni("[files]\r\nz=a.8bf\r\n1=b.8bf\r\nA=c.8bf\r\n");
  EXPECT_EQ(ReadSetupKeys(world_.platform_, "files"), (std::vector<std::string>{"z", "1", "A"}));

  std::string many = "[files]\r\n";
  for (int i = 0; i < 3000; ++i) many += "file" + std::to_string(i) + "=x.8bf\r\n";
  world_.WriteSetupIni(many);
  std::vector<std::string> keys = ReadSetupKeys(world_.platform_, "files");
  std::size_t total = 0;
  for (const std::string& key : keys) total += key.size() + 1;
  EXPECT_LE(total, kSetupKeysBufferSize - 1);
  EXPECT_GT(total, kSetupKeysBufferSize - 10);
  EXPECT_EQ(keys.front(), "file0");
  EXPECT_EQ(keys[1000], "file1000");
}

TEST_F(SetupConfigTest, BadFilesStillAnswerWithinTheRules) {
  std::string binary;
  for (int i = 0; i < 3 * 1024 * 1024; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  world_.WriteSetupIni(binary + "\n[options]\nsubdir=\0after\n"s);
  EXPECT_EQ(ReadSetupValue(world_.platform_, "options", "subdir"), "");
  world_.WriteSetupIni("[options]\nsub\0dir=cut name\nsubdir=a\0b\n"s);
  EXPECT_EQ(ReadSetupValue(world_.platform_, "options", "sub"), "cut name");
  EXPECT_EQ(ReadSetupValue(world_.platform_, "options", "subdir"), "a");
  EXPECT_LE(ReadSetupValue(world_.platform_, "options", std::string(100, '\xff')).size(), 2047u);
}

TEST(SetupValueRulesTest, Flags) {
  struct Case {
    const char* text;
    bool on;
    bool off;
  } cases[] = {
      {"1", true, false},     {"0", false, true},   {"", false, false},   {"yes", false, false},
      {"true", false, false}, {" 1", false, false}, {"01", false, false}, {"00", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOnFlag(c.text), c.on) << c.text;
    EXPECT_EQ(IsOffFlag(c.text), c.off) << c.text;
  }
}

TEST(SetupValueRulesTest, WholeNumbers) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"401", 401},       {"0", 0},
      {"-5", -5},         {"+7", 7},
      {"", 99},           {"abc", 99},
      {"12px", 99},       {"1.5", 99},
      {"+", 99},          {"-", 99},
      {"+-3", 99},        {"2147483647", 2147483647},
      {"2147483648", 99}, {"-2147483648", -2147483647 - 1},
      {"0x10", 99},       {"007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWholeNumber(c.text, 99), c.expected) << c.text;
}

}  // namespace
}  // namespace setup
