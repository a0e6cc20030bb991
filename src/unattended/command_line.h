#pragma once

#include <array>
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

/// What an option does to the run.
enum class OptionEffect {
  kSilent,     // no window and no message box
  kAccept,     // the agreement counts as accepted
  kUninstall,  // remove instead of install
  kHelp,       // the box with the options
  kIgnored,    // a switch other installers take, for what this program does anyway
  kHosts,      // the ids of the hosts to install into
  kDir,        // a folder to install into as well
  kLog,        // the file the log is appended to
};

/// One option of the command line. The parser, the /? box and the README's
/// table all follow these rows.
struct OptionRow {
  std::string_view name;   // after "/" or "-", in capitals
  std::string_view value;  // the placeholder of the value after "="; empty for a switch
  OptionEffect effect;
  std::string_view usage;  // its line in the /? box; empty for another spelling of the row before
};

// Another installer's switches are taken as they are in the scripts that
// deploy it: an administrator's habits must never end in a box nobody can
// answer.
// clang-format off
inline constexpr auto kOptions = std::to_array<OptionRow>({
    {"S",                "",          OptionEffect::kSilent,    "silent: no window and no message box"},
    {"SILENT",           "",          OptionEffect::kSilent,    ""},
    {"VERYSILENT",       "",          OptionEffect::kSilent,    ""},
    {"QUIET",            "",          OptionEffect::kSilent,    ""},
    {"ACCEPT",           "",          OptionEffect::kAccept,    "accept the agreement (needed with /S when there is one)"},
    {"HOSTS",            "id,id,...", OptionEffect::kHosts,     "install into the found hosts with these ids; none: no host"},
    {"DIR",              "folder",    OptionEffect::kDir,       "also install into this existing folder (a full path)"},
    {"LOG",              "file",      OptionEffect::kLog,       "append a log of the run to this file (a full path)"},
    {"UNINSTALL",        "",          OptionEffect::kUninstall, "remove what unattended installs put on this computer"},
    {"SUPPRESSMSGBOXES", "",          OptionEffect::kIgnored,   "accepted, change nothing (no restart, no box with /S)"},
    {"NORESTART",        "",          OptionEffect::kIgnored,   ""},
    {"SP-",              "",          OptionEffect::kIgnored,   ""},
    {"?",                "",          OptionEffect::kHelp,      "this help"},
    {"HELP",             "",          OptionEffect::kHelp,      ""},
});
// clang-format on
static_assert(kOptions.size() == 14);
static_assert(!kOptions[0].usage.empty(), "the first row starts a group");

/// An option as the usage and the README write it: "/S", "/DIR=folder".
std::string OptionSpelling(const OptionRow& row);

/// The options of the /? box, one line per group of spellings:
/// "/S, /SILENT, ...<tab>silent: ...".
std::string OptionLines();

/// What a command line asks for. Absent options stay at their defaults.
struct CommandLine {
  bool silent = false;                            // /S or another spelling of it
  bool accept = false;                            // /ACCEPT
  bool uninstall = false;                         // /UNINSTALL
  bool help = false;                              // /? or /HELP
  std::optional<std::vector<std::string>> hosts;  // /HOSTS=a,b: the ids, blanks trimmed, empty ones dropped
  std::optional<std::string> dir;                 // /DIR=folder
  std::optional<std::string> log;                 // /LOG=file, a full path
  /// The first argument that is no option of ours, as written; empty when none.
  std::string unknown;
  /// Why the command line cannot be used (a value option without a value,
  /// a log file that is no full path); empty when it can.
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
