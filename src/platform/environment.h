#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// The program's environment: its variables and the account it runs as.
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
};

}  // namespace setup
