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
  /// What SetLocalSystem said last; false at first.
  bool RunsAsLocalSystem() override { return local_system_; }
  void SetLocalSystem(bool local_system) { local_system_ = local_system; }

 private:
  std::map<std::string, std::string> variables_;  // by upper-cased name
  bool local_system_ = false;
};

}  // namespace setup
