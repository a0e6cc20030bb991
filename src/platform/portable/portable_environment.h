#pragma once

#include <functional>
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
  /// Hands the call to what SetRunner gave; nothing (as a program that
  /// cannot be started) when it gave none.
  std::optional<std::uint32_t> RunAndWait(const std::string& program, const std::string& command_line,
                                          std::string_view name, std::string_view value) override;
  using Runner = std::function<std::optional<std::uint32_t>(const std::string& program, const std::string& command_line,
                                                            std::string_view name, std::string_view value)>;
  /// What a started program does: a test runs it in this process.
  void SetRunner(Runner runner) { runner_ = std::move(runner); }

 private:
  std::map<std::string, std::string> variables_;  // by upper-cased name
  bool local_system_ = false;
  Runner runner_;
};

}  // namespace setup
