#include "platform/portable/wildcard_match.h"

#include <algorithm>

#include "platform/ansi_text.h"

namespace setup {
namespace {

bool WildcardMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// The upper-cased characters of a name part that an 8.3 name can hold.
std::string ShortNameChars(std::string_view part) {
  std::string kept;
  for (char c : part) {
    if (std::string_view(" .+,;=[]").find(c) == std::string_view::npos) kept += UpperAscii(c);
  }
  return kept;
}

}  // namespace

bool NameMatches(std::string_view pattern, std::string_view name) {
  if (WildcardMatches(pattern, name)) return true;
  return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
         WildcardMatches(pattern.substr(0, pattern.size() - 2), name);
}

// The "~1" stands for whatever number or hash the system picks: patterns in
// practice only look at the extension.
std::optional<std::string> ShortNameOf(std::string_view name) {
  if (name == "." || name == "..") return std::nullopt;
  std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = name.size();  // ".hidden" has no extension
  std::string_view stem = name.substr(0, dot);
  std::string_view extension = name.substr(std::min(dot + 1, name.size()));
  bool fits = !stem.empty() && stem.size() <= 8 && extension.size() <= 3 &&
              ShortNameChars(stem).size() == stem.size() && ShortNameChars(extension).size() == extension.size();
  if (fits) return std::nullopt;
  std::string short_name = ShortNameChars(stem).substr(0, 6) + "~1";
  std::string short_extension = ShortNameChars(extension).substr(0, 3);
  if (!short_extension.empty()) short_name += "." + short_extension;
  return short_name;
}

bool EntryMatches(std::string_view pattern, std::string_view name) {
  if (NameMatches(pattern, name)) return true;
  std::optional<std::string> short_name = ShortNameOf(name);
  return short_name && NameMatches(pattern, *short_name);
}

}  // namespace setup
