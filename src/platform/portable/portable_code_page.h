#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// How a name the host gives in UTF-8 becomes 8-bit text.
enum class NameConversion {
  kExact,    // a character the code page lacks becomes kUnheldCharacter
  kBestFit,  // it becomes its look-alike, as the system's ANSI functions give it
};

// The code page of the portable back end, so that names reach the logic as
// the Win32 back end gives them: Windows-1252 (Western, also Wine's), with a
// short best-fit table of the look-alikes the system's ANSI functions give
// for Greek, Cyrillic and Central European letters.

/// The Windows-1252 byte of a character (a Unicode code point); nothing when
/// the page has none.
std::optional<unsigned char> WesternByteOf(char32_t character);
/// The look-alike byte the system's best fit gives; nothing without one.
std::optional<unsigned char> BestFitByteOf(char32_t character);

/// A host's name (UTF-8) in the code page. A name that is no valid UTF-8 is
/// taken as 8-bit text already and comes back as it is.
std::string AnsiFromHostName(std::string_view utf8, NameConversion conversion = NameConversion::kExact);

}  // namespace setup
