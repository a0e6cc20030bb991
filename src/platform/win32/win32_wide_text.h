#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

// Names the system gives are read in their wide form and converted here, so
// that a character the ANSI code page cannot hold becomes kUnheldCharacter
// instead of the look-alike the ANSI functions would put.

/// The wide text in the ANSI code page, without best-fit look-alikes: each
/// character the code page cannot hold is kUnheldCharacter.
std::string NarrowExactly(std::wstring_view wide);
/// An ANSI text (a path the logic holds) in its wide form, zero-terminated.
std::vector<wchar_t> Widened(std::string_view text);

}  // namespace setup
