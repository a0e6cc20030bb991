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
  for (const Case& c : cases)
    EXPECT_EQ(ReplacePlaceholder(c.text, c.placeholder, c.value), c.expected) << c.text;
}

}  // namespace
}  // namespace setup
