#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// The program's environment: its variables, the account it runs as and
/// the programs it starts.
/// Abstract so it can be replaced in tests; the real one is Win32Environment,
/// the test one PortableEnvironment.
class Environment {
 public:
  virtual ~Environment() = default;

  /// The value of a variable, its name matched regardless of case; nothing
  /// when it is not set. A character the code page cannot hold is
  /// kUnheldCharacter, never a look-alike. Never throws.
  virtual std::optional<std::string> Variable(std::string_view name) = 0;

  /// True when the process runs as the LocalSystem account (as deployment
  /// services start it), whose HKEY_CURRENT_USER is its own and no user's.
  /// False when that cannot be told. Never throws.
  virtual bool RunsAsLocalSystem() = 0;

  /// Starts `program` with `command_line` as its whole command line (its
  /// first word is the name the program is told it was started by) and the
  /// variable `name` set to `value`, waits until it ends and gives its exit
  /// code. This process and the started one then both have the program's
  /// folder as their current folder, so that neither holds the folder they
  /// were in. Nothing when it cannot be started or waited for. Never throws.
  virtual std::optional<std::uint32_t> RunAndWait(const std::string& program, const std::string& command_line,
                                                  std::string_view name, std::string_view value) = 0;
};

}  // namespace setup
