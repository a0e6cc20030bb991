#include "wine/ui_harness.h"

#include "wine/ui_harness_internal.h"

namespace setup::ui {

void Click(HWND button) {
  if (!PostMessageA(button, BM_CLICK, 0, 0)) throw HarnessError(LastErrorText("cannot click " + TextOf(button)));
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PostKey(HWND target, WORD virtual_key) {
  auto scan = static_cast<LPARAM>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
  LPARAM down = 1 | scan << 16;
  LPARAM up = down | LPARAM{1} << 30 | LPARAM{1} << 31;
  if (!PostMessageA(target, WM_KEYDOWN, virtual_key, down) || !PostMessageA(target, WM_KEYUP, virtual_key, up))
    throw HarnessError(LastErrorText("cannot post a key to " + ClassOf(target)));
}

void PressKeyInFocus(HWND window, WORD virtual_key) {
  HWND focus = nullptr;
  if (!WaitUntil([&] { return (focus = FocusedControl(window)) != nullptr; }, 2000))
    throw HarnessError("no control has the focus in " + ClassOf(window) + " \"" + TextOf(window) + "\"");
  PostKey(focus, virtual_key);
}

void Close(HWND window) {
  if (!PostMessageA(window, WM_CLOSE, 0, 0)) throw HarnessError(LastErrorText("cannot close " + ClassOf(window)));
}

void MovePointerTo(HWND window, POINT client_point) {
  POINT screen = client_point;
  ClientToScreen(window, &screen);
  if (!SetCursorPos(screen.x, screen.y)) throw HarnessError(LastErrorText("cannot move the pointer"));
}

bool HoverUntil(HWND window, POINT client_point, const std::function<bool()>& condition, DWORD timeout_ms) {
  MovePointerTo(window, client_point);
  bool nudged = false;
  return WaitUntil(
      [&] {
        if (condition()) return true;
        nudged = !nudged;
        MovePointerTo(window, {client_point.x + (nudged ? 1 : 0), client_point.y});
        return false;
      },
      timeout_ms);
}

}  // namespace setup::ui
