#pragma once

#include <string>
#include <string_view>

namespace setup {

/// The path with one backslash appended, unless it is empty or already ends
/// in one. A forward slash is not a separator.
std::string AddTrailingBackslash(std::string path);

/// The text with every occurrence of the placeholder replaced by the value;
/// letter case counts and the inserted value is not searched again.
std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                               std::string_view value);

}  // namespace setup
