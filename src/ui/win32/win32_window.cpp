// The window itself: its creation, the window procedures (which only unpack
// messages and dispatch them) and the events they dispatch to.
#include "ui/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/win32_wide_text.h"
#include "ui/win32/win32_toolkit.h"

namespace setup {
namespace {

// Posted to run a check list's click handler once the list has handled the
// click: the tick toggles only after NM_CLICK.
constexpr UINT kDeferredClick = WM_APP + 1;

void RegisterClassOnce(HINSTANCE instance, const std::string& name, WNDPROC procedure, HICON icon, HICON small_icon) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, name.c_str(), &existing)) return;
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  // Redrawn whole on resizing: transparent labels draw no background of
  // their own, so the parent must repaint beneath them.
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = icon;
  window_class.hIconSm = small_icon;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = name.c_str();
  if (!RegisterClassExA(&window_class)) {
    throw ToolkitError("Cannot register the window class " + name);
  }
}

bool IsColourMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

}  // namespace

std::string WindowText(HWND hwnd) {
  // Read wide: a folder typed or pasted into an edit may hold a character
  // the code page cannot hold, which the ANSI call gives as a look-alike.
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  return NarrowExactly(std::wstring_view(text.data(), static_cast<std::size_t>(std::max(copied, 0))));
}

Win32Window::Win32Window(Win32Toolkit& toolkit, const FormSpec& spec, HWND owner)
    : toolkit_(toolkit), model_(spec), centred_(spec.centred), controls_(spec.controls.size()) {
  HINSTANCE instance = toolkit_.Instance();
  std::string class_name(spec.class_name);
  RegisterClassOnce(instance, class_name, &WindowProc, toolkit_.icon_, toolkit_.small_icon_);
  RegisterClassOnce(instance, kPanelClass, &OwnControlProc, nullptr, nullptr);
  RegisterClassOnce(instance, kPictureClass, &OwnControlProc, nullptr, nullptr);

  DWORD style = 0;
  DWORD ex_style = 0;
  switch (spec.border) {
    case BorderStyle::kSizeable: style = WS_OVERLAPPEDWINDOW; break;
    case BorderStyle::kDialog:
      style = WS_POPUP | WS_CAPTION;
      ex_style = WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::kToolWindow:
      style = WS_POPUP | WS_CAPTION;
      ex_style = WS_EX_TOOLWINDOW;
      break;
  }
  if (spec.stays_on_top) ex_style |= WS_EX_TOPMOST;
  RECT frame{0, 0, spec.client_width, spec.client_height};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  // Where the frame is thinner than the minimum allows for (as under Wine
  // without a window manager), the minimum wins from the start.
  int width = std::max<int>(frame.right - frame.left, spec.min_outer_width);
  int height = std::max<int>(frame.bottom - frame.top, spec.min_outer_height);
  std::string caption(spec.caption);
  CreateWindowExA(ex_style, class_name.c_str(), caption.c_str(), style, 0, 0, width, height, owner, nullptr, instance,
                  this);
  if (!hwnd_) throw ToolkitError("Cannot create the window " + class_name);
  try {
    CreateControls();
  } catch (...) {
    destroying_ = true;
    DestroyWindow(hwnd_);
    throw;
  }
  toolkit_.AddWindow(this);
}

Win32Window::~Win32Window() {
  toolkit_.RemoveWindow(this);
  destroying_ = true;
  if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------------------
// Window procedures: unpack, then dispatch

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) OnSize(-1, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      if (model_.spec().min_outer_width > 0) limits->ptMinTrackSize.x = model_.spec().min_outer_width;
      if (model_.spec().min_outer_height > 0) limits->ptMinTrackSize.y = model_.spec().min_outer_height;
      return 0;
    }
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wparam) != WA_INACTIVE)) return 0;
      break;
    case WM_CLOSE: OnCloseMessage(); return 0;
    case DM_GETDEFID: return OnGetDefaultId();
    case WM_NEXTDLGCTL: OnNextDialogControl(wparam, lparam); return 0;
    case kDeferredClick: OnDeferredClick(static_cast<ControlId>(wparam)); return 0;
    default:
      if (IsColourMessage(message)) {
        return OnCtlColor(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
      }
      break;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Win32Window::OwnControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Control* control = nullptr;
  if (message == WM_NCCREATE) {
    control = static_cast<Win32Control*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    control->hwnd = hwnd;
  } else {
    control = reinterpret_cast<Win32Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!control) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    RemovePropA(hwnd, kControlProperty);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  return control->window->HandleOwnControlMessage(*control, message, wparam, lparam);
}

LRESULT Win32Window::HandleOwnControlMessage(Win32Control& control, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    // What the controls inside a panel tell their parent is the window's business.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case DM_GETDEFID:
    case WM_NEXTDLGCTL: return SendMessageA(hwnd_, message, wparam, lparam);
    case WM_PAINT: PaintOwnControl(control); return 0;
    case WM_SIZE:
      if (control.kind == ControlKind::kPanel) OnSize(control.index, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_MOUSEMOVE: OnMouseMoveMessage(control, lparam); return 0;
    case WM_LBUTTONUP:
      if (!destroying_) Guard(control.on_click);
      return 0;
    case WM_SETCURSOR:
      if ((control.style & kStyleHandCursor) && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    default:
      if (IsColourMessage(message)) return SendMessageA(hwnd_, message, wparam, lparam);
      break;
  }
  return DefWindowProcA(control.hwnd, message, wparam, lparam);
}

LRESULT CALLBACK Win32Window::NativeControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* control = static_cast<Win32Control*>(GetPropA(hwnd, kControlProperty));
  if (!control) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The tooltip control may have subclassed on top of us, so the old
    // procedure is not put back; the window is going anyway.
    WNDPROC original = control->original_proc;
    RemovePropA(hwnd, kControlProperty);
    return CallWindowProcA(original, hwnd, message, wparam, lparam);
  }
  return control->window->HandleNativeControlMessage(*control, message, wparam, lparam);
}

LRESULT Win32Window::HandleNativeControlMessage(Win32Control& control, UINT message, WPARAM wparam, LPARAM lparam) {
  bool glyph = control.kind == ControlKind::kGlyphButton;
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(control, lparam);
      if (glyph) {
        OnGlyphButtonMouse(control, message, lparam);
        return 0;
      }
      break;
    // A glyph button never takes the focus, so it does not let the button
    // procedure see the mouse buttons (that would focus it): it tracks the
    // press itself.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      if (glyph) {
        OnGlyphButtonMouse(control, message, lparam);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
    case WM_MOUSELEAVE:
      if (glyph) OnGlyphButtonMouse(control, message, lparam);
      break;
    case WM_SETCURSOR:
      if ((control.style & kStyleHandCursor) && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (control.kind == ControlKind::kCheckList) {
        // The single column follows the client width, which also changes
        // when the vertical scroll bar comes and goes.
        LRESULT result = CallWindowProcA(control.original_proc, control.hwnd, message, wparam, lparam);
        FitListColumn(control);
        return result;
      }
      break;
    default: break;
  }
  return CallWindowProcA(control.original_proc, control.hwnd, message, wparam, lparam);
}

// ---------------------------------------------------------------------------
// Events

void Win32Window::Guard(std::function<void()> handler) {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& error) {
    toolkit_.ReportError(error.what());
  } catch (...) {
    toolkit_.ReportError("Unexpected error.");
  }
}

void Win32Window::OnCommand(int id, int code) {
  ControlId index = id - kControlIdBase;
  if (destroying_ || index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return;
  Win32Control& control = controls_[index];
  switch (control.kind) {
    case ControlKind::kButton:
      if (code == BN_CLICKED) {
        Guard(control.on_click);
      } else if (code == BN_SETFOCUS) {
        SetDefaultButton(index);
      } else if (code == BN_KILLFOCUS) {
        SetDefaultButton(model_.DesignedDefaultButton());
      }
      break;
    case ControlKind::kRadioButton:
      if (code == BN_CLICKED) {
        if (SendMessageA(control.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
          UncheckOtherRadioButtons(index);
        }
        Guard(control.on_click);
      }
      break;
    case ControlKind::kLabel:  // STN_CLICKED has the value of BN_CLICKED
    case ControlKind::kGlyphButton:
    case ControlKind::kCheckBox:
      if (code == BN_CLICKED) Guard(control.on_click);
      break;
    default: break;
  }
}

LRESULT Win32Window::OnNotify(const NMHDR& header) {
  Win32Control* control = ControlOf(header.hwndFrom);
  if (control && !destroying_ && control->kind == ControlKind::kCheckList &&
      header.code == static_cast<UINT>(NM_CLICK)) {
    PostMessageA(hwnd_, kDeferredClick, static_cast<WPARAM>(control->index), 0);
  }
  return 0;
}

void Win32Window::OnDeferredClick(ControlId index) {
  if (!destroying_ && index >= 0 && static_cast<std::size_t>(index) < controls_.size()) {
    Guard(controls_[index].on_click);
  }
}

LRESULT Win32Window::OnCtlColor(UINT message, HDC dc, HWND control_hwnd) {
  Win32Control* control = ControlOf(control_hwnd);
  if (control) {
    bool grey_text = (control->style & kStyleVersionFont) != 0;
    if (grey_text) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    if (control->style & kStyleTransparent) {
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (grey_text || control->kind == ControlKind::kMemo || (control->style & kStyleButtonFace)) {
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return DefWindowProcA(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control_hwnd));
}

void Win32Window::OnMouseMoveMessage(Win32Control& control, LPARAM lparam) {
  if (destroying_ || !control.on_mouse_move) return;
  int x = LowSigned(lparam);
  int y = HighSigned(lparam);
  std::function<void(int, int)> handler = control.on_mouse_move;
  Guard([&handler, x, y] { handler(x, y); });
}

void Win32Window::PaintOwnControl(Win32Control& control) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control.hwnd, &paint);
  RECT area;
  GetClientRect(control.hwnd, &area);
  if (control.kind == ControlKind::kPanel && (control.style & kStyleLoweredBevel)) {
    // Two one-pixel lowered bevels, the outer one around the inner one.
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&area, -1, -1);
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
  } else if (control.kind == ControlKind::kPicture && control.picture) {
    control.picture->Paint(dc, area);
  }
  EndPaint(control.hwnd, &paint);
}

void Win32Window::OnCloseMessage() {
  if (destroying_) return;
  Guard([this] { DoClose(); });
}

void Win32Window::OnShow(std::function<void()> handler) { on_show_ = std::move(handler); }

void Win32Window::OnCloseQuery(std::function<bool()> handler) { on_close_query_ = std::move(handler); }

void Win32Window::OnClose(std::function<void()> handler) { on_close_ = std::move(handler); }

void Win32Window::OnClick(ControlId control, std::function<void()> handler) {
  ControlAt(control).on_click = std::move(handler);
}

void Win32Window::OnMouseMove(ControlId control, std::function<void(int x, int y)> handler) {
  ControlAt(control).on_mouse_move = std::move(handler);
}

}  // namespace setup
