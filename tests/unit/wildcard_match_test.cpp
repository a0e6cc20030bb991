#include "platform/portable/wildcard_match.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace setup {
namespace {

TEST(WildcardMatchTest, MatchesPatternsByNameAndByShortName) {
  struct Case {
    const char* pattern;
    const char* name;
    bool by_name;   // NameMatches
    bool by_entry;  // EntryMatches: the name or its short name
  };
  for (const Case& c : std::vector<Case>{
           {"*", "a.b.c", true, true},
           {"*.*", "readme", true, true},  // a trailing ".*" takes names without an extension
           {"*.*", "a.b.c", true, true},
           {"readme.*", "readme", true, true},
           {"read.*", "readme", false, false},
           {"*.INI", "setup.ini", true, true},
           {"SETUP.*", "Setup.exe", true, true},
           {"Readme", "README", true, true},
           {"?", "x", true, true},
           {"?", "xy", false, false},
           {"?", ".", true, true},
           {"??", "..", true, true},
           {"s?tup.i?i", "setup.ini", true, true},
           {"*e", "Setup.exe", true, true},
           {"*e", "setup.ini", false, false},
           {"*ab", "aab", true, true},
           {"a*b*c", "aXbYbZc", true, true},
           {"a*b*c", "abcb", false, false},
           {"*.b.*", "a.b.c", true, true},
           {"*.zip", "setup.ini", false, false},
           {"se*up.???.x", "setup.ini", false, false},
           // Extensions longer than three letters also match through the short name.
           {"*.8bf", "a.8bfx", false, true},
           {"*.8BF", "Plugin.8bfx", false, true},
           {"*.8b", "a.8bfx", false, false},
           {"*.8bf", "a.8bf.txt", false, false},
           {"*.TEX", "notes.text", false, true},
           {"*.te", "notes.text", false, false},
           {"notes~1.t?x", "notes.text", false, true},
           {"???????.*", "notes.text", false, true},
           {"*.txt", "Long File Name.txt", true, true},
           {"longfi~1.txt", "Long File Name.txt", false, true},
       }) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    EXPECT_EQ(NameMatches(c.pattern, c.name), c.by_name);
    EXPECT_EQ(EntryMatches(c.pattern, c.name), c.by_entry);
  }
}

TEST(WildcardMatchTest, GivesShortNamesOnlyToNamesThatDoNotFit) {
  struct Case {
    const char* name;
    std::optional<std::string> short_name;
  };
  for (const Case& c : std::vector<Case>{
           {"setup.ini", std::nullopt},
           {"SETUP.INI", std::nullopt},
           {"readme", std::nullopt},
           {"12345678.123", std::nullopt},
           {".", std::nullopt},
           {"..", std::nullopt},
           {"notes.text", "NOTES~1.TEX"},
           {"a.8bfx", "A~1.8BF"},
           {"123456789.txt", "123456~1.TXT"},
           {"Long File Name.txt", "LONGFI~1.TXT"},
           {"a.b.c", "AB~1.C"},  // only the last dot starts the extension
           {"a+b;c.txt", "ABC~1.TXT"},
           {".hidden", "HIDDEN~1"},  // a leading dot starts no extension
           {"toolongname", "TOOLON~1"},
       }) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ShortNameOf(c.name), c.short_name);
  }
}

}  // namespace
}  // namespace setup
