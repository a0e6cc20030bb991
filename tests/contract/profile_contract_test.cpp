#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "contract/contract_world.h"

namespace setup {
namespace {

struct ProfileContractTest : testing::Test {
  void SetUp() override {
    world_ = MakeContractWorld();
    folder_ = world_->Folder();
  }
  // A new file name for every write: the system may keep a parsed copy of
  // a file it has read.
  std::string Write(std::string_view text) {
    std::string path = folder_ + "f" + std::to_string(files_++) + ".ini";
    world_->WriteFile(path, text);
    return path;
  }
  std::string Read(const std::string& file, std::string_view section, std::string_view key, std::size_t size = 2048) {
    return world_->profile().ReadString(file, section, key, size);
  }
  std::unique_ptr<ContractWorld> world_;
  std::string folder_;
  int files_ = 0;
};

TEST_F(ProfileContractTest, ValueLookupRules) {
  std::string file = Write(
      "Before=outside any section\r\n"
      "[Options]\r\n"
      "AutoScan=1\r\n"
      "  Padded Key  =   padded value  \t\r\n"
      "Quoted=\"in quotes\"\r\n"
      "Single='in single quotes'\r\n"
      "Half=\"open only\r\n"
      "Inner=a \"b\" c\r\n"
      "Twice=first\r\n"
      "Twice=second\r\n"
      ";Semi=looked up all the same\r\n"
      "NoEquals\r\n"
      "Empty=\r\n"
      "=nameless\n"
      "Unix=lf only\n"
      "[ Spaced ]\r\n"
      "K=spaced section\r\n"
      "[options]\r\n"
      "Later=in a repeated section\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Options", "AutoScan", "1"},
      {"OPTIONS", "autoscan", "1"},
      {"Options", "padded key", "padded value"},
      {"Options", "Quoted", "in quotes"},
      {"Options", "Single", "in single quotes"},
      {"Options", "Half", "\"open only"},
      {"Options", "Inner", "a \"b\" c"},
      {"Options", "Twice", "first"},
      {"Options", ";Semi", "looked up all the same"},
      {"Options", "NoEquals", ""},
      {"Options", "Empty", ""},
      {"Options", "", "nameless"},
      {"Options", "Unix", "lf only"},
      {"Options", "Later", ""},
      {"Options", "Before", ""},
      {"Options", "Missing", ""},
      {"Spaced", "K", "spaced section"},
      {"Missing", "AutoScan", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(file, c.section, c.key), c.expected) << "[" << c.section << "] " << c.key;
  EXPECT_EQ(Read(folder_ + "missing.ini", "Options", "AutoScan"), "");
}

TEST_F(ProfileContractTest, ValuesAreCutToTheBuffer) {
  std::string file = Write("[s]\r\nlong=" + std::string(3000, 'x') + "\r\nshort=abcdef\r\n");
  EXPECT_EQ(Read(file, "s", "long"), std::string(2047, 'x'));
  EXPECT_EQ(Read(file, "s", "short", 4), "abc");
}

TEST_F(ProfileContractTest, KeyNamesInFileOrder) {
  std::string file = Write(
      "[files]\r\n"
      "2=b.8bf\r\n"
      ";comment=x\r\n"
      "1=a.8bf\r\n"
      "NoEquals\r\n"
      "1=again.8bf\r\n"
      "=nameless\r\n"
      "Last=c.8bf\r\n"
      "[other]\r\n"
      "x=y\r\n");
  EXPECT_EQ(world_->profile().ReadKeyNames(file, "FILES", 16 * 1024),
            (std::vector<std::string>{"2", "1", "1", "", "Last"}));
  EXPECT_TRUE(world_->profile().ReadKeyNames(file, "missing", 16 * 1024).empty());
  EXPECT_TRUE(world_->profile().ReadKeyNames(folder_ + "missing.ini", "files", 16 * 1024).empty());
}

TEST_F(ProfileContractTest, KeyNamesBeyondTheBufferAreCut) {
  std::string file = Write("[s]\r\nAlpha=1\r\nBeta=2\r\nGamma=3\r\n");
  // "Alpha", "Beta" and "Gam" fill 14 characters of a 16-character buffer.
  EXPECT_EQ(world_->profile().ReadKeyNames(file, "s", 16), (std::vector<std::string>{"Alpha", "Beta", "Gam"}));
}

TEST_F(ProfileContractTest, WholeSectionInFileOrder) {
  std::string file = Write(
      "[enabled]\r\n"
      "ps10=0\r\n"
      "  Padded Key  =   padded value  \t\r\n"
      "Quoted=\"0\"\r\n"
      ";comment=0\r\n"
      "NoEquals\r\n"
      "ps10=1\r\n"
      "Empty=\r\n"
      "=nameless\r\n"
      "[other]\r\n"
      "x=y\r\n");
  EXPECT_EQ(world_->profile().ReadSection(file, "ENABLED", 32 * 1024),
            (std::vector<std::string>{"ps10=0", "Padded Key=padded value", "Quoted=\"0\"", "NoEquals", "ps10=1",
                                      "Empty=", "=nameless"}));
  EXPECT_TRUE(world_->profile().ReadSection(file, "missing", 32 * 1024).empty());
  EXPECT_TRUE(world_->profile().ReadSection(folder_ + "missing.ini", "enabled", 32 * 1024).empty());
  // "ps10=0" and "Padded " fill 14 characters of a 16-character buffer.
  EXPECT_EQ(world_->profile().ReadSection(file, "enabled", 16), (std::vector<std::string>{"ps10=0", "Padded "}));
}

TEST_F(ProfileContractTest, HugeAndBinaryFilesStayWithinTheRules) {
  std::string megabyte_line = "[big]\r\nvalue=" + std::string(4 * 1024 * 1024, 'v') + "\r\nafter=found\r\n";
  std::string file = Write(megabyte_line);
  EXPECT_EQ(Read(file, "big", "value"), std::string(2047, 'v'));
  EXPECT_EQ(Read(file, "big", "after"), "found");

  std::string many_lines;
  many_lines.reserve(24 * 1024 * 1024);
  many_lines += "[padding]\r\n";
  while (many_lines.size() < 20 * 1024 * 1024) many_lines += "key=some padding text for a big file\r\n";
  many_lines += "[end]\r\nlast=at the end\r\n";
  file = Write(many_lines);
  EXPECT_EQ(Read(file, "end", "last"), "at the end");

  std::string garbage;
  unsigned seed = 12345;
  for (int i = 0; i < 256 * 1024; ++i) {
    seed = seed * 1103515245u + 12345u;
    char c = static_cast<char>((seed >> 16) & 0xFF);
    garbage += (c == '\n' || c == '\r' || c == '[' || c == '\0') ? 'g' : c;
  }
  file = Write("x" + garbage + "\r\n[s]\r\nk=after garbage\r\n");
  EXPECT_EQ(Read(file, "s", "k"), "after garbage");
  EXPECT_LE(Read(file, "s", garbage.substr(0, 40)).size(), 2047u);
}

}  // namespace
}  // namespace setup
