#pragma once

#include "platform/keyboard.h"

namespace setup {

/// The Escape key through GetAsyncKeyState.
class Win32Keyboard : public Keyboard {
 public:
  bool EscapePressed() override;
};

/// The local clock through GetLocalTime.
class Win32Clock : public Clock {
 public:
  int CurrentYear() override;
  std::string LocalTimestamp() override;
};

}  // namespace setup
