#pragma once

#include <string>

namespace setup {

/// The asynchronous keyboard state.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  /// True when Escape is down now or was pressed since the previous question.
  virtual bool EscapePressed() = 0;
};

/// The local clock.
class Clock {
 public:
  virtual ~Clock() = default;
  /// The current year of the local time, such as 2026.
  virtual int CurrentYear() = 0;
  /// The local date and time as "YYYY-MM-DD HH:MM:SS".
  virtual std::string LocalTimestamp() = 0;
};

}  // namespace setup
