#pragma once

// What the harness's own files share; tests include ui_harness.h alone.

#include <string>

#include "wine/ui_harness.h"

namespace setup::ui {

// Long enough for a program busy at start-up, short enough that a hung one
// fails the test instead of stalling the suite.
constexpr UINT kSendTimeoutMs = 5000;

// The text of a failed step with the thread's last error: "what (error 5)".
std::string LastErrorText(const std::string& what);
// A message to another process's window that must not hang the test; throws
// when the window does not answer in time.
LRESULT SendTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// A Windows path without its last name and backslash; empty without a backslash.
std::string Parent(const std::string& path);
// Which system icon the static icon control of a message box shows.
MessageIcon RecogniseIcon(HWND icon_control);

}  // namespace setup::ui
