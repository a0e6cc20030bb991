#include "config/text.h"

#include <algorithm>

namespace setup {

std::string AddTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                               std::string_view value) {
  if (placeholder.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(placeholder, from)) != std::string_view::npos;
       from = at + placeholder.size()) {
    result.append(text.substr(from, at - from));
    result.append(value);
  }
  result.append(text.substr(from));
  return result;
}

int PositionOf(std::string_view what, std::string_view text) {
  std::size_t at = text.find(what);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string PartOf(std::string_view text, int start, int count) {
  if (start < 1) start = 1;
  if (count <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
  return std::string(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count)));
}

std::string Trimmed(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
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
