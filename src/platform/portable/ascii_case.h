#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace setup {

// Names compare the way the system compares ANSI file names here: only the
// ASCII letters fold.
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool IsLetter(char c) { return Upper(c) >= 'A' && Upper(c) <= 'Z'; }

inline std::string UpperCased(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = Upper(c);
  return result;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

}  // namespace setup
