#include "config/text.h"

#include <optional>

namespace setup {

std::string AddTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

bool IsAbsolutePath(std::string_view path) {
  bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
               path[1] == ':' && path[2] == '\\';
  return drive || path.substr(0, 2) == "\\\\";
}

bool StaysInside(std::string_view relative_path) {
  if (relative_path.find(':') != std::string_view::npos) return false;
  if (!relative_path.empty() && (relative_path[0] == '\\' || relative_path[0] == '/')) return false;
  int depth = 0;
  while (!relative_path.empty()) {
    std::size_t end = relative_path.find_first_of("\\/");
    std::string_view part = relative_path.substr(0, end);
    // The system drops trailing dots and blanks from a name, so ".. " climbs too.
    std::string_view name = part.substr(0, part.find_last_not_of(". ") + 1);
    if (name.empty() && !part.empty() && part != ".") depth -= 1;
    if (depth < 0) return false;
    if (!name.empty()) depth += 1;
    if (end == std::string_view::npos) break;
    relative_path.remove_prefix(end + 1);
  }
  return true;
}

std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder, std::string_view value) {
  if (placeholder.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(placeholder, from)) != std::string_view::npos; from = at + placeholder.size()) {
    result.append(text.substr(from, at - from));
    result.append(value);
  }
  result.append(text.substr(from));
  return result;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Takes the leading run of digits or of other characters off the text.
std::string_view TakeRun(std::string_view& text) {
  bool digits = IsDigit(text.front());
  std::size_t n = 1;
  while (n < text.size() && IsDigit(text[n]) == digits) ++n;
  std::string_view run = text.substr(0, n);
  text.remove_prefix(n);
  return run;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

int CompareVersionNames(std::string_view a, std::string_view b) {
  while (!a.empty() && !b.empty()) {
    bool digits = IsDigit(a.front());
    if (digits != IsDigit(b.front())) return digits ? -1 : 1;
    std::string_view x = TakeRun(a), y = TakeRun(b);
    if (digits) {
      // By value, however long: leading zeros do not count.
      while (x.size() > 1 && x.front() == '0') x.remove_prefix(1);
      while (y.size() > 1 && y.front() == '0') y.remove_prefix(1);
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (int order = x.compare(y)) return Sign(order);
      continue;
    }
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
      unsigned char p = static_cast<unsigned char>(LowerAscii(x[i])), q = static_cast<unsigned char>(LowerAscii(y[i]));
      if (p != q) return p < q ? -1 : 1;
    }
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  }
  return Sign(static_cast<int>(!a.empty()) - static_cast<int>(!b.empty()));
}

std::string ExpandVariables(std::string_view text, Environment& environment) {
  std::string result;
  while (!text.empty() && result.size() <= kMaxPathLength) {
    std::size_t open = text.find('%');
    std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    result.append(text.substr(0, open));
    std::optional<std::string> value;
    if (close > open + 1) value = environment.Variable(text.substr(open + 1, close - open - 1));
    if (value) {
      result.append(*value);
      text.remove_prefix(close + 1);
    } else {
      // The closing % may open the next name, as it does for the system.
      result.append(text.substr(open, close - open));
      text.remove_prefix(close);
    }
  }
  result.append(text);
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

std::string Counted(std::string_view text, int k, int n) {
  return std::string(text) + " (" + std::to_string(k) + "/" + std::to_string(n) + ")";
}

std::string Trimmed(std::string_view text) { return std::string(TrimmedView(text, IsSpaceOrControl)); }

}  // namespace setup
