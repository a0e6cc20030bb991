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

std::optional<std::uint32_t> PortableEnvironment::RunAndWait(const std::string& program,
                                                             const std::string& command_line, std::string_view name,
                                                             std::string_view value) {
  if (!runner_) return std::nullopt;
  return runner_(program, command_line, name, value);
}

}  // namespace setup
