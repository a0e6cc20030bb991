#pragma once

#include "platform/environment.h"

namespace setup {

/// The process environment, read in the wide form and converted exactly;
/// the account through the process token.
class Win32Environment : public Environment {
 public:
  std::optional<std::string> Variable(std::string_view name) override;
  bool RunsAsLocalSystem() override;
  std::optional<std::uint32_t> RunAndWait(const std::string& program, const std::string& command_line,
                                          std::string_view name, std::string_view value) override;
};

}  // namespace setup
