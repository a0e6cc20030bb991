// Hints, and the tooltips that show them for the controls that ask.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "ui/win32/win32_toolkit.h"
#include "ui/win32/win32_window.h"

namespace setup {

void Win32Window::SetHint(ControlId id, std::string_view hint) {
  model_.SetHint(id, hint);
  UpdateTooltips();
}

std::string Win32Window::Hint(ControlId id) { return model_.Hint(id); }

std::string Win32Window::HintFor(HWND hwnd) const {
  const Win32Control* control = nullptr;
  for (HWND at = hwnd; at && at != hwnd_ && !control; at = GetParent(at)) control = ControlOf(at);
  return control ? model_.ShownHintOf(control->index) : std::string();
}

void Win32Window::EnableTooltip(ControlId id) {
  model_.EnableTooltip(id);
  if (!tooltip_) {
    tooltip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, toolkit_.Instance(), nullptr);
  }
  UpdateTooltips();
}

// Every control that shows tooltips is a tool showing the hint that the
// status line would show for it.
void Win32Window::UpdateTooltips() {
  if (!tooltip_) return;
  for (Win32Control& control : controls_) {
    if (!model_.ShowsTooltip(control.index)) continue;
    std::string text = model_.ShownHintOf(control.index);
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every comctl32 version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
    tool.lpszText = text.data();
    SendMessageA(tooltip_, control.tool_added ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    control.tool_added = true;
  }
}

}  // namespace setup
