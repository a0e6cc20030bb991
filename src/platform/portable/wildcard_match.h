#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

// How a folder listing's name pattern picks entries, as find-first does.

/// Whether a pattern matches a name: '*' takes any run of characters, '?'
/// exactly one, both regardless of case; a trailing ".*" also matches names
/// without an extension, so "*.*" matches everything.
bool NameMatches(std::string_view pattern, std::string_view name);

/// The 8.3 name Windows gives a name that does not fit 8.3 ("notes.text" ->
/// "NOTES~1.TEX"); nothing when the name fits, and for "." and "..".
std::optional<std::string> ShortNameOf(std::string_view name);

/// Whether a pattern matches an entry by its name or by its short name, which
/// is why "*.8bf" finds "a.8bfx".
bool EntryMatches(std::string_view pattern, std::string_view name);

}  // namespace setup
