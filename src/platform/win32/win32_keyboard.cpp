#include "platform/win32/win32_keyboard.h"

#include <windows.h>

namespace setup {

bool Win32Keyboard::EscapePressed() { return GetAsyncKeyState(VK_ESCAPE) != 0; }

int Win32Clock::CurrentYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

}  // namespace setup
