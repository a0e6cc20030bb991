#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The primitives (case, trimming, lines) every layer shares.
#include "platform/ansi_text.h"
#include "platform/environment.h"

namespace setup {

/// The longest path the system's ANSI calls take (MAX_PATH less its
/// terminator). A longer folder text from the machine can name no folder.
inline constexpr std::size_t kMaxPathLength = 259;

/// True for a path that starts at a drive ("C:\...") or a share ("\\server\...").
bool IsAbsolutePath(std::string_view path);

/// True for a relative path that stays below the folder it starts in: not
/// absolute, no drive, and no ".." that climbs above its start. Backslash and
/// slash both separate, as they do for the system.
bool StaysInside(std::string_view relative_path);

/// The path with one backslash appended, unless it is empty or already ends
/// in one. A forward slash is not a separator.
std::string AddTrailingBackslash(std::string path);

/// The text with every occurrence of the placeholder replaced by the value;
/// letter case counts and the inserted value is not searched again.
std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder, std::string_view value);

/// Orders names as versions go: runs of digits compare by their value, other
/// runs by their text with letter case ignored, and a run of digits comes
/// before any other run; so "90.0" comes before "140.0" and "Paint 9" before
/// "Paint 2023". Negative, zero or positive, as a comparison.
int CompareVersionNames(std::string_view a, std::string_view b);

/// The text with every %NAME% of a set variable replaced by its value, as
/// the system expands a path: an unknown %NAME% and a lone % stay, and an
/// inserted value is not searched again. Expanding stops once the result is
/// longer than any path (kMaxPathLength), so a hostile value stays small.
std::string ExpandVariables(std::string_view text, Environment& environment);

/// The 1-based position of the first occurrence of `what` in `text`; 0 when
/// it does not occur.
int PositionOf(std::string_view what, std::string_view text);

/// `count` characters of `text` from the 1-based position `start`: empty
/// when count is 0 or less or start lies beyond the text; a start below 1
/// counts as 1 (count unchanged); cut off at the end of the text.
std::string PartOf(std::string_view text, int start, int count);

/// "text (k/n)": how a progress line counts.
std::string Counted(std::string_view text, int k, int n);

/// The text without its leading and trailing characters of code 32 or less.
std::string Trimmed(std::string_view text);

}  // namespace setup
