#pragma once

#include "platform/text_error.h"

namespace setup {

/// An error whose text is meant for the user: raised by the logic, reported
/// in a message box where an action of the user ends.
class UserError : public TextError {
 public:
  using TextError::TextError;
};

}  // namespace setup
