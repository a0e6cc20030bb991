#include "platform/portable/portable_environment.h"

#include "platform/ansi_text.h"

namespace setup {

void PortableEnvironment::Set(std::string_view name, std::string_view value) {
  variables_[UpperCased(name)] = std::string(value);
}

std::optional<std::string> PortableEnvironment::Variable(std::string_view name) {
  auto found = variables_.find(UpperCased(name));
  if (found == variables_.end()) return std::nullopt;
  return found->second;
}

}  // namespace setup
