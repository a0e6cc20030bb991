#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

/// Where the sections and keys of an initialisation file stand. The values'
/// meaning is the profile reader's business; this only finds lines, by the
/// reader's rules: a line is cut at a line feed, names are trimmed, a
/// section line starts with "[", a key line holds "=", and a line that
/// starts with ";" is a comment.
struct IniOutline {
  struct Key {
    std::string name;
    int line;
  };
  /// A line inside a section that is no key and no comment: the reader passes over it.
  struct Stray {
    std::string text;
    int line;
  };
  struct Section {
    std::string name;
    int line;
    std::vector<Key> keys;  // in file order, repeats included
    std::vector<Stray> strays;
  };
  std::vector<Section> sections;  // in file order, repeats included
  std::vector<Stray> before_first_section;

  /// The first section of the name (letter case ignored), which is the one
  /// the reader reads; null when there is none.
  const Section* Find(std::string_view section) const;
  /// The line of the first key of the name in that section; 0 when absent.
  int LineOf(std::string_view section, std::string_view key) const;
};

IniOutline OutlineIni(std::string_view text);

}  // namespace setup
