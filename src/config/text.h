#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

/// The path with one backslash appended, unless it is empty or already ends
/// in one. A forward slash is not a separator.
std::string AddTrailingBackslash(std::string path);

/// The text with every occurrence of the placeholder replaced by the value;
/// letter case counts and the inserted value is not searched again.
std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                               std::string_view value);

/// The lines of a text: CR LF, a lone CR and a lone LF each end a line, a
/// line break at the very end adds no empty line, and a NUL ends the text.
std::vector<std::string> SplitLines(std::string_view text);

/// The lines of SplitLines one at a time, as views into the text: a file of
/// millions of short lines then costs no memory per line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : rest_(text.substr(0, text.find('\0'))) {}
  /// The next line, or nothing after the last one.
  std::optional<std::string_view> Next();

 private:
  std::string_view rest_;
};

/// The 1-based position of the first occurrence of `what` in `text`; 0 when
/// it does not occur.
int PositionOf(std::string_view what, std::string_view text);

/// `count` characters of `text` from the 1-based position `start`: empty
/// when count is 0 or less or start lies beyond the text; a start below 1
/// counts as 1 (count unchanged); cut off at the end of the text.
std::string PartOf(std::string_view text, int start, int count);

/// The text without its leading and trailing characters of code 32 or less.
std::string Trimmed(std::string_view text);

}  // namespace setup
