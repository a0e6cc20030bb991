// Showing and hiding a window, the modal loop, closing, and the frame.
#include "ui/win32/win32_window.h"

#include "ui/win32/win32_toolkit.h"

namespace setup {

void Win32Window::RunShowHandlerOnce() {
  if (shown_before_) return;
  shown_before_ = true;
  if (on_show_) {
    std::function<void()> handler = on_show_;
    handler();
  }
}

void Win32Window::Show() {
  bool first = !shown_before_;
  RunShowHandlerOnce();
  if (centred_) Centre();
  ShowWindow(hwnd_, SW_SHOW);
  if (first) FocusFirstControl();
}

void Win32Window::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool Win32Window::IsVisible() { return IsWindowVisible(hwnd_) != 0; }

void Win32Window::RepaintNow() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int Win32Window::ShowModal() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  bool first = !shown_before_;
  in_modal_ = true;
  modal_result_ = 0;
  bool owner_disabled = owner && IsWindowEnabled(owner);
  if (owner_disabled) EnableWindow(owner, FALSE);
  // However the loop ends, even by an exception from a handler.
  struct Restore {
    Win32Window& window;
    HWND owner;
    bool owner_disabled;
    ~Restore() {
      window.in_modal_ = false;
      // The owner is enabled before the hide, so that it is the one activated.
      if (owner_disabled) EnableWindow(owner, TRUE);
      if (window.hwnd_) ShowWindow(window.hwnd_, SW_HIDE);
    }
  } restore{*this, owner, owner_disabled};

  RunShowHandlerOnce();
  if (modal_result_ == 0) {
    if (centred_) Centre();
    ShowWindow(hwnd_, SW_SHOW);
    if (first) FocusFirstControl();
  }
  while (modal_result_ == 0) {
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit on to the outer loop.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      modal_result_ = kModalCancel;
      break;
    }
    toolkit_.DispatchOne(message);
    if (modal_result_ == 0) toolkit_.CheckIdle();
    if (!hwnd_) modal_result_ = kModalCancel;
  }
  return modal_result_;
}

void Win32Window::EndModal(int result) {
  modal_result_ = result;
  if (hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
}

void Win32Window::Close() { DoClose(); }

void Win32Window::DoClose() {
  if (on_close_query_) {
    std::function<bool()> query = on_close_query_;
    if (!query()) return;
  }
  if (on_close_) {
    std::function<void()> handler = on_close_;
    handler();
  }
  if (in_modal_) {
    EndModal(modal_result_ != 0 ? modal_result_ : kModalCancel);
    return;
  }
  Hide();
  if (toolkit_.IsMainWindow(this)) PostQuitMessage(0);
}

void Win32Window::SetCaption(std::string_view caption) { SetWindowTextA(hwnd_, std::string(caption).c_str()); }

std::string Win32Window::Caption() { return WindowText(hwnd_); }

void Win32Window::SetOuterSize(int width, int height) {
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Window::OuterWidth() {
  RECT bounds;
  GetWindowRect(hwnd_, &bounds);
  return bounds.right - bounds.left;
}

int Win32Window::OuterHeight() {
  RECT bounds;
  GetWindowRect(hwnd_, &bounds);
  return bounds.bottom - bounds.top;
}

void Win32Window::Centre() {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT bounds;
  GetWindowRect(hwnd_, &bounds);
  int left = work.left + (work.right - work.left - (bounds.right - bounds.left)) / 2;
  int top = work.top + (work.bottom - work.top - (bounds.bottom - bounds.top)) / 2;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetWindowEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void Win32Window::Activate() {
  if (IsWindowVisible(hwnd_)) SetForegroundWindow(hwnd_);
}

void Win32Window::ProcessPendingMessages() {
  MSG message;
  // The window filter takes the messages of the window's children as well.
  while (hwnd_ && PeekMessageA(&message, hwnd_, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    toolkit_.DispatchOne(message);
  }
}

}  // namespace setup
