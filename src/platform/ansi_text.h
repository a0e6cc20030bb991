#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// The text primitives every layer shares. Text is 8-bit ANSI; letter case
// is ASCII case: only A-Z and a-z change, every other byte stays as it is.

constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool IsAsciiLetter(char c) { return UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z'; }

std::string UpperCased(std::string_view text);
std::string LowerCased(std::string_view text);

/// Equal when the texts differ at most in ASCII letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
/// Byte order after folding ASCII letters to upper case.
bool LessIgnoringCase(std::string_view a, std::string_view b);

bool StartsWith(std::string_view text, std::string_view prefix);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

/// Space, tab, CR, LF, vertical tab and form feed.
constexpr bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
/// A space or any control character (codes 0 to 32).
constexpr bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

/// The text without the leading and trailing characters that `blank` names.
std::string_view TrimmedView(std::string_view text, bool (*blank)(char));

/// What a back end puts in a name from the system for each character that
/// the ANSI code page cannot hold exactly. The system would put a
/// look-alike ("best fit": Greek Omega as O) that names another file; this
/// one is no valid path character, so a name holding it never names one.
inline constexpr char kUnheldCharacter = '\x01';

/// True when a name from the system came through the code page exactly.
constexpr bool HeldExactly(std::string_view name) { return name.find(kUnheldCharacter) == std::string_view::npos; }

/// A name as it may be shown or logged: each character the code page could
/// not hold as '?'.
std::string ShownName(std::string_view name);

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

}  // namespace setup
