#include "platform/portable/portable_keyboard.h"

namespace setup {

bool ScriptedKeyboard::EscapePressed() {
  ++questions_asked_;
  return held_ || presses_.erase(questions_asked_) > 0;
}

}  // namespace setup
