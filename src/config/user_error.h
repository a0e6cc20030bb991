#pragma once

#include <stdexcept>

namespace setup {

/// An error whose text is meant for the user: raised by the logic, reported
/// in a message box where an action of the user ends.
class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace setup
