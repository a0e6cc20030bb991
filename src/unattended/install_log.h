#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

/// The log a run with /LOG appends to: plain text, one event per line, each
/// line "<date> <time> <Event>: <details>", so that both a person and grep
/// can read it. Without a path it writes nothing.
class InstallLog {
 public:
  InstallLog(const Platform& platform, std::string path) : platform_(platform), path_(std::move(path)) {}

  /// Appends one event; line breaks in the details become blanks. False when
  /// the line could not be written (also for every later line).
  bool Write(std::string_view event, std::string_view details);
  /// True when any line could not be written.
  bool failed() const { return failed_; }
  const std::string& path() const { return path_; }

 private:
  const Platform& platform_;
  std::string path_;
  bool failed_ = false;
};

/// The text on one line: CR and LF become blanks, blanks at the end go.
std::string OneLine(std::string_view text);

}  // namespace setup
