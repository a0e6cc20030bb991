#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/toolkit.h"
#include "ui/win32/win32_picture.h"

namespace setup {

class Win32Window;

// Control ids start above IDOK and IDCANCEL: IsDialogMessage sends those for
// Enter and Escape, and they must not click the controls of rows 1 and 2.
inline constexpr int kControlIdBase = 100;
// Every control's window carries its record under this property.
inline constexpr char kControlProperty[] = "SetupControl";
// Panels and pictures are windows of our own classes.
inline constexpr char kPanelClass[] = "TPanel";
inline constexpr char kPictureClass[] = "TImage";

/// One row of a form's table made real: its window, handlers and the state
/// only a real window has. What the design says of it lives in the form's
/// FormModel.
struct Win32Control {
  Win32Window* window = nullptr;
  ControlId index = -1;
  ControlKind kind = ControlKind::kLabel;  // the row's, kept at hand for the message handlers
  std::uint32_t style = 0;                 // the row's ControlStyle bits
  HWND hwnd = nullptr;
  WNDPROC original_proc = nullptr;  // native controls are subclassed
  std::function<void()> on_click;
  std::function<void(int, int)> on_mouse_move;

  bool flat = false;        // glyph button: no border until the pointer is over it
  bool hot = false;         // glyph button: pointer over it
  bool tracking = false;    // glyph button: pressed, the mouse is captured
  bool tool_added = false;  // a tool of the window's tooltip control covers it
  std::unique_ptr<Win32Picture> picture;
};

/// The text of a window, however long.
std::string WindowText(HWND hwnd);

/// The signed coordinates packed into a mouse message's LPARAM.
inline int LowSigned(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
inline int HighSigned(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

}  // namespace setup
