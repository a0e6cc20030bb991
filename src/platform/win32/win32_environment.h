#pragma once

#include "platform/environment.h"

namespace setup {

/// The process environment, read in the wide form and converted exactly;
/// the account through the process token.
class Win32Environment : public Environment {
 public:
  std::optional<std::string> Variable(std::string_view name) override;
  bool RunsAsLocalSystem() override;
};

}  // namespace setup
