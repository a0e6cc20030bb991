#pragma once

// What every benchmark's Platform needs besides its back end: a keyboard
// on which Escape is never pressed and a clock in a fixed year.

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

}  // namespace setup
