#include "platform/win32/win32_keyboard.h"

#include <windows.h>

namespace setup {

bool Win32Keyboard::EscapePressed() { return GetAsyncKeyState(VK_ESCAPE) != 0; }

int Win32Clock::CurrentYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

namespace {

// The number in `width` decimal digits with leading zeros. Written out
// rather than through the printf family, whose MinGW implementation would
// add tens of kilobytes to Setup.exe.
std::string Digits(unsigned number, int width) {
  std::string text(static_cast<std::size_t>(width), '0');
  for (int i = width - 1; i >= 0 && number > 0; --i, number /= 10)
    text[static_cast<std::size_t>(i)] = static_cast<char>('0' + number % 10);
  return text;
}

}  // namespace

std::string Win32Clock::LocalTimestamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return Digits(now.wYear, 4) + "-" + Digits(now.wMonth, 2) + "-" + Digits(now.wDay, 2) + " " + Digits(now.wHour, 2) +
         ":" + Digits(now.wMinute, 2) + ":" + Digits(now.wSecond, 2);
}

}  // namespace setup
