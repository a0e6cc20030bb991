#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/platform.h"

namespace setup {

/// The exit status when nothing could be checked: a wrong command line or
/// no such package folder. 0, 1 and 2 tell what a check found.
inline constexpr int kExitCannotCheck = 3;

/// What the command line asks for.
struct CheckCommand {
  std::string package_folder;
  bool json = false;   // --json
  bool hosts = false;  // --hosts: the host list of this machine instead of the package check
};

/// The arguments after the program name; nothing, with the reason in
/// `error`, when they are not one folder and known options.
std::optional<CheckCommand> ParseCheckCommand(std::span<const std::string> arguments, std::string& error);

/// The usage text, for a wrong command line.
std::string CheckUsage(std::string_view extra_options = {});

/// Runs a parsed command on a platform whose program folder is the package
/// folder; writes the report to `out` and returns the exit status.
int RunSetupCheck(const Platform& platform, const CheckCommand& command, std::string& out);

}  // namespace setup
