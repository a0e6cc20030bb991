// The keyboard focus, Tab, Enter and the default button: a plain window
// made to behave as a dialog box does.
#include "ui/win32/win32_window.h"

namespace setup {

void Win32Window::FocusFirstControl() {
  ControlId initial = model_.InitialFocus();
  HWND target = initial >= 0 ? controls_[initial].hwnd : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetFocus(target);
}

bool Win32Window::OnActivate(bool active) {
  // A top-level window forgets which control had the focus; keep it over
  // deactivation, as dialog boxes do.
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
    return false;
  }
  if (saved_focus_ && IsWindow(saved_focus_) && IsChild(hwnd_, saved_focus_) && IsWindowVisible(saved_focus_) &&
      IsWindowEnabled(saved_focus_)) {
    SetFocus(saved_focus_);
    return true;
  }
  return false;
}

// Sent by an edit control for Enter (with the default button) and by the
// dialog manager; a plain window must handle it like a dialog box does.
void Win32Window::OnNextDialogControl(WPARAM wparam, LPARAM lparam) {
  HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam) : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
  if (target) SetFocus(target);
}

// The focused push button is the one Enter presses, and looks it; when the
// focus leaves the buttons, the designed default button is again.
void Win32Window::SetDefaultButton(ControlId index) {
  current_default_ = index;
  for (Win32Control& control : controls_) {
    if (control.kind != ControlKind::kButton) continue;
    LONG_PTR type = GetWindowLongPtrA(control.hwnd, GWL_STYLE) & BS_TYPEMASK;
    LONG_PTR wanted = control.index == index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) {
      SendMessageA(control.hwnd, BM_SETSTYLE, static_cast<WPARAM>(wanted | BS_NOTIFY), TRUE);
    }
  }
}

void Win32Window::ReapplyDefaultButton() { SetDefaultButton(current_default_); }

// Asked by IsDialogMessage for the button Enter presses.
LRESULT Win32Window::OnGetDefaultId() const {
  return current_default_ >= 0 ? MAKELRESULT(kControlIdBase + current_default_, DC_HASDEFID) : 0;
}

}  // namespace setup
