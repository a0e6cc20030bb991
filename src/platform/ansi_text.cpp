#include "platform/ansi_text.h"

#include <algorithm>

namespace setup {

std::string UpperCased(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
  return result;
}

std::string LowerCased(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
  return result;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
  });
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimmedView(std::string_view text, bool (*blank)(char)) {
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string ShownName(std::string_view name) {
  std::string shown(name);
  std::replace(shown.begin(), shown.end(), kUnheldCharacter, '?');
  return shown;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  LineCursor cursor(text);
  while (std::optional<std::string_view> line = cursor.Next()) lines.emplace_back(*line);
  return lines;
}

std::optional<std::string_view> LineCursor::Next() {
  if (rest_.empty()) return std::nullopt;
  std::size_t end = rest_.find_first_of("\r\n");
  if (end == std::string_view::npos) end = rest_.size();
  std::string_view line = rest_.substr(0, end);
  std::size_t skip = rest_.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  rest_.remove_prefix(std::min(end + skip, rest_.size()));
  return line;
}

}  // namespace setup
