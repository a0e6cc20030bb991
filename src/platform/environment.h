#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// The program's environment variables. Abstract so it can be replaced in
/// tests; the real one is Win32Environment, the test one PortableEnvironment.
class Environment {
 public:
  virtual ~Environment() = default;

  /// The value of a variable, its name matched regardless of case; nothing
  /// when it is not set. A character the code page cannot hold is
  /// kUnheldCharacter, never a look-alike. Never throws.
  virtual std::optional<std::string> Variable(std::string_view name) = 0;
};

}  // namespace setup
