#include "config/text.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(TextTest, AddTrailingBackslash) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"C:", "C:\\"},
      {"C:\\", "C:\\"},
      {"C:\\Plugins", "C:\\Plugins\\"},
      {"C:\\Plugins\\", "C:\\Plugins\\"},
      {"C:/Plugins/", "C:/Plugins/\\"},
      {"\\", "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddTrailingBackslash(c.path), c.expected) << c.path;
}

TEST(TextTest, ReplacePlaceholder) {
  struct Case {
    const char* text;
    const char* placeholder;
    const char* value;
    const char* expected;
  } cases[] = {
      {"Install #t for #t", "#t", "Filters", "Install Filters for Filters"},
      {"Install #T", "#t", "Filters", "Install #T"},
      {"#f#f", "#f", "a#fb", "a#fba#fb"},  // the inserted value is not searched again
      {"no placeholder", "#d", "x", "no placeholder"},
      {"#e", "#e", "", ""},
      {"", "#e", "x", ""},
      {"##tt", "#t", "X", "#Xt"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplacePlaceholder(c.text, c.placeholder, c.value), c.expected) << c.text;
}

TEST(TextTest, PositionPartAndTrim) {
  EXPECT_EQ(PositionOf("<string>", "  <string>x</string>"), 3);
  EXPECT_EQ(PositionOf("</string>", "no tags"), 0);
  struct Case {
    const char* text;
    int start;
    int count;
    const char* part;
  } cases[] = {
      {"abcdef", 2, 3, "bcd"}, {"abcdef", 0, 2, "ab"}, {"abcdef", -5, 2, "ab"},
      {"abcdef", 5, 10, "ef"}, {"abcdef", 7, 1, ""},   {"abcdef", 6, 1, "f"},
      {"abcdef", 2, 0, ""},    {"abcdef", 2, -1, ""},  {"", 1, 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PartOf(c.text, c.start, c.count), c.part) << c.start << "," << c.count;
  EXPECT_EQ(Trimmed("\t \x01 <key>a b</key>\r\x1f "), "<key>a b</key>");
  EXPECT_EQ(Trimmed(" \t\n"), "");
  EXPECT_EQ(Trimmed("\xa0x\xa0"), "\xa0x\xa0");  // above 32: kept
}

TEST(TextTest, SplitLines) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\0b\nc"s, {"a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines);
}

}  // namespace
}  // namespace setup

namespace setup {
namespace {

TEST(TextTest, PathsThatStayInside) {
  struct Case {
    const char* path;
    bool inside;
  } cases[] = {
      {"", true},
      {"a.8bf", true},
      {"Filters\\*.8bf", true},
      {"a\\..\\b.8bf", true},
      {".\\a.8bf", true},
      {"a..b\\c", true},
      {"..\\a.8bf", false},
      {"a\\..\\..\\b", false},
      {"../../x/*.txt", false},
      {".. \\a", false},
      {"...\\a", false},
      {"\\a.8bf", false},
      {"/a.8bf", false},
      {"C:\\a.8bf", false},
      {"C:a.8bf", false},
      {"\\\\server\\s\\a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(StaysInside(c.path), c.inside) << c.path;
}

TEST(TextTest, AbsolutePaths) {
  for (const char* path : {"C:\\", "z:\\Plug-ins", "\\\\server\\share"}) EXPECT_TRUE(IsAbsolutePath(path)) << path;
  for (const char* path : {"", "C:", "C:x", "Rel\\Plugins", "\\Root", "1:\\x"})
    EXPECT_FALSE(IsAbsolutePath(path)) << path;
}

}  // namespace
}  // namespace setup
