// The floor of a start-up: a Win32 program that shows one window and waits,
// with the same runtime and linking as Setup.exe, and nothing else. With
// /registry it also opens the detection pass's registry keys bare, once,
// where Setup.exe reads them: on its window's thread, before the window is
// shown. Under Wine that thread's system calls cost several times those of
// a thread without windows, so the loop is timed here and not apart.

#include <windows.h>

#include <cstring>

#include "bench/bare_registry_loop.h"

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = FloorProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "FloorWindow";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, "FloorWindow", "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 492, 299,
                                nullptr, nullptr, instance, nullptr);
  if (std::strstr(command_line, "/registry")) setup::BareRegistryLoopMs(1);
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
