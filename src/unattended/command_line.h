#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

/// The arguments of a command line as the C runtime splits them: blanks
/// separate, double quotes group, 2n backslashes before a quote give n and
/// the quote groups, 2n+1 give n and a literal quote, "" inside quotes is a
/// literal quote, other backslashes are literal. The program name (the first
/// word, quoted or not, taken without any of those rules) is left out.
std::vector<std::string> SplitArguments(std::string_view command_line);

/// What a command line asks for. Absent options stay at their defaults.
struct CommandLine {
  bool silent = false;                            // /S
  bool accept = false;                            // /ACCEPT
  bool uninstall = false;                         // /UNINSTALL
  bool help = false;                              // /? or /HELP
  std::optional<std::vector<std::string>> hosts;  // /HOSTS=a,b: the ids, blanks trimmed, empty ones dropped
  std::optional<std::string> dir;                 // /DIR=folder
  std::optional<std::string> log;                 // /LOG=file
  /// The first argument that is no option of ours, as written; empty when none.
  std::string unknown;
  /// Why the command line cannot be used (a value option without a value);
  /// empty when it can.
  std::string unusable;

  /// True when the line held any argument: without one the program is the
  /// windowed one, unchanged.
  bool any = false;
};

/// Reads the full command line (program name first, as the system gives
/// it). Options start with "/" or "-", their names ignore letter case, and
/// values follow "=". A later repeat of an option replaces the earlier one.
CommandLine ParseCommandLine(std::string_view command_line);

}  // namespace setup
