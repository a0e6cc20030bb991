#include "platform/win32/win32_keyboard.h"

#include <windows.h>

#include <cstdio>

namespace setup {

bool Win32Keyboard::EscapePressed() { return GetAsyncKeyState(VK_ESCAPE) != 0; }

int Win32Clock::CurrentYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

std::string Win32Clock::LocalTimestamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return text;
}

}  // namespace setup
