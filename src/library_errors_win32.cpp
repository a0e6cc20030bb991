// The standard library reports a broken precondition (a position past the end
// of a string, a length beyond the largest) through these functions. Its own
// versions live in one object that also builds std::logic_error and its
// relatives from C strings, and those hold their text in the library's older
// string kind: linking them put a second string implementation, some 40 KB,
// into every shipped program. These throw the same messages as exceptions of
// the program's own kind, which every report point catches as std::exception.

#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>

#include "platform/text_error.h"

namespace {

// A precondition of the standard library that the program broke.
class LibraryError : public setup::TextError {
 public:
  using TextError::TextError;
};

// The library's range messages use %zu, %s and %% only.
std::string Format(const char* format, va_list arguments) {
  std::string text;
  for (const char* at = format; *at; ++at) {
    if (at[0] == '%' && at[1] == 'z' && at[2] == 'u') {
      text += std::to_string(va_arg(arguments, std::size_t));
      at += 2;
    } else if (at[0] == '%' && at[1] == 's') {
      text += va_arg(arguments, const char*);
      ++at;
    } else if (at[0] == '%' && at[1] == '%') {
      text += '%';
      ++at;
    } else {
      text += *at;
    }
  }
  return text;
}

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
void __throw_out_of_range_fmt(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = Format(format, arguments);
  va_end(arguments);
  throw LibraryError(std::move(text));
}

}  // namespace std
