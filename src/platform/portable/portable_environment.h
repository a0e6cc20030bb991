#pragma once

#include <map>
#include <string>

#include "platform/environment.h"

namespace setup {

/// Environment variables a test sets; names matched regardless of case.
class PortableEnvironment : public Environment {
 public:
  void Set(std::string_view name, std::string_view value);
  std::optional<std::string> Variable(std::string_view name) override;

 private:
  std::map<std::string, std::string> variables_;  // by upper-cased name
};

}  // namespace setup
