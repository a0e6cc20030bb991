#pragma once

#include <chrono>

namespace setup {

/// Says when some work's progress display or input handling is due: the
/// first time, and then once the interval has passed since it last was.
class Pacer {
 public:
  explicit Pacer(std::chrono::nanoseconds interval) : interval_(interval) {}

  /// True when due; the interval then starts anew.
  bool Due() {
    auto now = std::chrono::steady_clock::now();
    if (started_ && now - last_ < interval_) return false;
    Reset(now);
    return true;
  }
  /// Starts the interval anew without asking, as after an update made anyway.
  void Reset(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now()) {
    started_ = true;
    last_ = now;
  }
  /// Forgets the last time: the next Due() is true.
  void Restart() { started_ = false; }

 private:
  std::chrono::nanoseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  bool started_ = false;
};

}  // namespace setup
