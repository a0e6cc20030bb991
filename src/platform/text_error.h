#pragma once

#include <exception>
#include <string>
#include <utility>

namespace setup {

/// An error that carries its text; what() gives it. The program's own errors
/// derive from this rather than from std::runtime_error, whose message is a
/// string of the library's older kind: taking it would link that second
/// string implementation into every program.
class TextError : public std::exception {
 public:
  explicit TextError(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

}  // namespace setup
