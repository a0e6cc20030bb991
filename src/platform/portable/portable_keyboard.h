#pragma once

#include <set>
#include <string>

#include "platform/keyboard.h"

namespace setup {

/// A keyboard whose Escape key a test scripts. Counts the questions asked.
class ScriptedKeyboard : public Keyboard {
 public:
  /// While held, every question answers true.
  void HoldEscape(bool held) { held_ = held; }
  /// The question with this number (1 for the next one asked) answers true,
  /// as a short press is reported once.
  void PressEscapeAtQuestion(int number) { presses_.insert(questions_asked_ + number); }

  bool EscapePressed() override;

  int questions_asked_ = 0;

 private:
  bool held_ = false;
  std::set<int> presses_;
};

/// A clock standing at a fixed year.
class FixedClock : public Clock {
 public:
  explicit FixedClock(int year) : year_(year) {}
  int CurrentYear() override { return year_; }
  /// Noon on the first of June of that year.
  std::string LocalTimestamp() override { return std::to_string(year_) + "-06-01 12:00:00"; }

 private:
  int year_;
};

}  // namespace setup
