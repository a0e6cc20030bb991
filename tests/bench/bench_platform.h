#pragma once

// What every benchmark's Platform needs besides its back end: a keyboard
// on which Escape is never pressed, a clock in a fixed year and no
// environment variables.

#include "platform/environment.h"
#include "platform/keyboard.h"

namespace setup {

class NoKeyboard : public Keyboard {
 public:
  bool EscapePressed() override { return false; }
};

class SomeYear : public Clock {
 public:
  int CurrentYear() override { return 2026; }
  std::string LocalTimestamp() override { return "2026-06-01 12:00:00"; }
};

class NoEnvironment : public Environment {
 public:
  std::optional<std::string> Variable(std::string_view) override { return std::nullopt; }
  bool RunsAsLocalSystem() override { return false; }
  std::optional<std::uint32_t> RunAndWait(const std::string&, const std::string&, std::string_view,
                                          std::string_view) override {
    return std::nullopt;
  }
};

}  // namespace setup
