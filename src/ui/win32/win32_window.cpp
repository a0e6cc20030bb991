#include "ui/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "ui/win32/win32_glyphs.h"
#include "ui/win32/win32_toolkit.h"

namespace setup {
namespace {

// Control ids start above IDOK and IDCANCEL: IsDialogMessage sends those for
// Enter and Escape, and they must not click the controls of rows 1 and 2.
constexpr int kControlIdBase = 100;
// Every control's window carries its record under this property.
constexpr char kControlProperty[] = "SetupControl";
constexpr char kPanelClass[] = "TPanel";
constexpr char kPictureClass[] = "TImage";
// Posted to run a check list's click handler once the list has handled the
// click: the tick toggles only after NM_CLICK.
constexpr UINT kDeferredClick = WM_APP + 1;

void RegisterClassOnce(HINSTANCE instance, const std::string& name, WNDPROC procedure, HICON icon,
                       HICON small_icon) {
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
    throw std::runtime_error("Cannot register the window class " + name);
  }
}

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

std::string LongHint(const std::string& hint) {
  std::size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

int LowSigned(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
int HighSigned(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

bool IsColourMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

struct NativeClass {
  const char* name;
  DWORD style;
  DWORD ex_style;
};

NativeClass ClassFor(const ControlSpec& row, BorderStyle border) {
  bool no_prefix = (row.style & kStyleNoPrefix) != 0;
  switch (row.kind) {
    case ControlKind::kLabel: {
      // SS_NOTIFY on every label: without it a static lets the mouse through,
      // and its click and mouse-move handlers would never run.
      DWORD align = (row.style & kStyleAlignRight)    ? SS_RIGHT
                    : (row.style & kStyleAlignCentre) ? SS_CENTER
                                                      : SS_LEFTNOWORDWRAP;
      return {"STATIC", align | SS_NOTIFY | (no_prefix ? SS_NOPREFIX : 0), 0};
    }
    case ControlKind::kButton:
      return {"BUTTON",
              static_cast<DWORD>(
                  ((row.style & kStyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY),
              0};
    case ControlKind::kGlyphButton:
      return {"BUTTON", BS_OWNERDRAW, 0};
    case ControlKind::kCheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::kRadioButton:
      return {"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::kEdit:
      return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kMemo:
      return {"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kCheckList:
      return {WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
              WS_EX_CLIENTEDGE};
    case ControlKind::kPanel:
      // CONTROLPARENT lets Tab and the dialog keys walk into the panel.
      return {kPanelClass, 0, WS_EX_CONTROLPARENT};
    case ControlKind::kPicture:
      return {kPictureClass, 0, 0};
    case ControlKind::kProgressBar:
      return {PROGRESS_CLASSA, 0, 0};
    case ControlKind::kStatusBar:
      // Placed by the layout, at the height the design gives it.
      return {STATUSCLASSNAMEA,
              static_cast<DWORD>(CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER |
                                 (border == BorderStyle::kSizeable ? SBARS_SIZEGRIP : 0)),
              0};
  }
  return {"STATIC", 0, 0};
}

}  // namespace

Win32Window::Win32Window(Win32Toolkit& toolkit, const FormSpec& spec, HWND owner)
    : toolkit_(toolkit),
      client_width_(spec.client_width),
      client_height_(spec.client_height),
      min_outer_width_(spec.min_outer_width),
      min_outer_height_(spec.min_outer_height),
      centred_(spec.centred),
      controls_(spec.controls.size()) {
  HINSTANCE instance = toolkit_.Instance();
  std::string class_name(spec.class_name);
  RegisterClassOnce(instance, class_name, &WindowProc, toolkit_.icon_, toolkit_.small_icon_);
  RegisterClassOnce(instance, kPanelClass, &OwnControlProc, nullptr, nullptr);
  RegisterClassOnce(instance, kPictureClass, &OwnControlProc, nullptr, nullptr);

  DWORD style = 0;
  DWORD ex_style = 0;
  switch (spec.border) {
    case BorderStyle::kSizeable:
      style = WS_OVERLAPPEDWINDOW;
      break;
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
  int width = std::max<int>(frame.right - frame.left, min_outer_width_);
  int height = std::max<int>(frame.bottom - frame.top, min_outer_height_);
  std::string caption(spec.caption);
  CreateWindowExA(ex_style, class_name.c_str(), caption.c_str(), style, 0, 0, width, height, owner,
                  nullptr, instance, this);
  if (!hwnd_) throw std::runtime_error("Cannot create the window " + class_name);
  try {
    CreateControls(spec);
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
// Creation and layout

void Win32Window::CreateControls(const FormSpec& spec) {
  std::vector<bool> created(controls_.size(), false);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    CreateControl(spec, static_cast<int>(i), created);
  }
  ArrangeTabOrder();
  for (const Win32Control& control : controls_) {
    if (control.kind == ControlKind::kButton && (control.style & kStyleDefaultButton) &&
        designed_default_ < 0) {
      designed_default_ = control.index;
    }
    if ((control.style & kStyleInitialFocus) && initial_focus_ < 0) initial_focus_ = control.index;
  }
  current_default_ = designed_default_;
  RECT client;
  GetClientRect(hwnd_, &client);
  OnSize(-1, client.right, client.bottom);
}

void Win32Window::CreateControl(const FormSpec& spec, int index, std::vector<bool>& created) {
  if (created[index]) return;
  created[index] = true;
  const ControlSpec& row = spec.controls[index];
  Win32Control& control = controls_[index];
  control.window = this;
  control.index = index;
  control.kind = row.kind;
  control.style = row.style;
  control.anchors = row.anchors;
  control.tab_order = row.kind == ControlKind::kGlyphButton ? -1 : row.tab_order;
  control.hint = std::string(row.hint);
  control.flat = row.kind == ControlKind::kGlyphButton;
  control.left = row.left;
  control.top = row.top;
  control.width = row.width;
  control.height = row.height;
  control.base_parent_width = client_width_;
  control.base_parent_height = client_height_;
  if (!row.parent.empty()) {
    for (std::size_t i = 0; i < spec.controls.size(); ++i) {
      if (spec.controls[i].name == row.parent && spec.controls[i].kind == ControlKind::kPanel) {
        control.parent = static_cast<int>(i);
        break;
      }
    }
    if (control.parent < 0) {
      throw std::logic_error("Control " + std::string(row.name) + " names an unknown panel");
    }
    CreateControl(spec, control.parent, created);
    control.base_parent_width = spec.controls[control.parent].width;
    control.base_parent_height = spec.controls[control.parent].height;
  }

  NativeClass native = ClassFor(row, spec.border);
  DWORD style = WS_CHILD | WS_VISIBLE | native.style;
  if (control.tab_order >= 0) style |= WS_TABSTOP;
  if (row.style & kStyleDisabled) style |= WS_DISABLED;
  // Radio buttons that follow one another form one group; every other control
  // starts a group of its own, so that the arrow keys stay within the radios.
  bool continues_group = row.kind == ControlKind::kRadioButton && index > 0 &&
                         spec.controls[index - 1].kind == ControlKind::kRadioButton;
  if (!continues_group) style |= WS_GROUP;

  RECT bounds = Place(control, control.base_parent_width, control.base_parent_height);
  std::string text(row.text);
  HWND hwnd = CreateWindowExA(
      native.ex_style, native.name, text.c_str(), style, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, ParentHandle(control),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)), toolkit_.Instance(),
      &control);
  if (!hwnd) throw std::runtime_error("Cannot create the control " + std::string(row.name));
  control.hwnd = hwnd;
  SetPropA(hwnd, kControlProperty, &control);
  bool own_class = row.kind == ControlKind::kPanel || row.kind == ControlKind::kPicture;
  if (!own_class) {
    control.original_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeControlProc)));
  }
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.Font(row.style)), FALSE);

  switch (row.kind) {
    case ControlKind::kLabel:
      if (row.style & kStyleAutoSize) FitAutoSize(control);
      break;
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      if (row.style & kStyleChecked) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      break;
    case ControlKind::kMemo:
      // The default limit (32K) would cut a long agreement; zero means the most.
      SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);
      SetWindowTextA(hwnd, text.c_str());
      break;
    case ControlKind::kCheckList: {
      DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
      SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
      LVCOLUMNA column{};
      column.mask = LVCF_WIDTH;
      column.cx = bounds.right - bounds.left;
      SendMessageA(hwnd, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
      if (row.style & kStyleButtonFace) {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        SendMessageA(hwnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(face));
        SendMessageA(hwnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(face));
      }
      FitListColumn(control);
      break;
    }
    case ControlKind::kStatusBar:
      // The window name does not reach the text field on every version.
      SetWindowTextA(hwnd, text.c_str());
      break;
    default:
      break;
  }
}

// Tab follows the z-order of siblings, and a panel is entered where it stands
// among its siblings: order each parent's children by the lowest Tab position
// inside them; controls not reached by Tab go last, in table order.
int Win32Window::TabKey(int index) const {
  const Win32Control& control = controls_[index];
  if (control.kind != ControlKind::kPanel) return control.tab_order;
  int lowest = -1;
  for (const Win32Control& child : controls_) {
    if (child.parent != index) continue;
    int key = TabKey(child.index);
    if (key >= 0 && (lowest < 0 || key < lowest)) lowest = key;
  }
  return lowest;
}

void Win32Window::ArrangeTabOrder() {
  std::vector<int> parents{-1};
  for (const Win32Control& control : controls_) {
    if (control.kind == ControlKind::kPanel) parents.push_back(control.index);
  }
  for (int parent : parents) {
    std::vector<std::pair<int, int>> children;  // (key, index)
    for (const Win32Control& control : controls_) {
      if (control.parent != parent) continue;
      int key = TabKey(control.index);
      children.emplace_back(key < 0 ? INT_MAX : key, control.index);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    HWND after = HWND_TOP;
    for (const auto& child : children) {
      HWND hwnd = controls_[child.second].hwnd;
      SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = hwnd;
    }
  }
}

RECT Win32Window::Place(const Win32Control& control, int parent_width, int parent_height) const {
  if (control.kind == ControlKind::kStatusBar) {
    return {0, parent_height - control.height, parent_width, parent_height};
  }
  int grow_x = parent_width - control.base_parent_width;
  int grow_y = parent_height - control.base_parent_height;
  auto axis = [](bool near_edge, bool far_edge, int start, int size, int grow, int& out_start,
                 int& out_size) {
    out_start = start;
    out_size = size;
    if (near_edge && far_edge) {
      out_size = std::max(size + grow, 0);
    } else if (far_edge) {
      out_start = start + grow;
    } else if (!near_edge) {
      out_start = start + grow / 2;  // no anchor: keeps its place relative to the centre
    }
  };
  int x, width, y, height;
  axis(control.anchors & kAnchorLeft, control.anchors & kAnchorRight, control.left, control.width,
       grow_x, x, width);
  axis(control.anchors & kAnchorTop, control.anchors & kAnchorBottom, control.top, control.height,
       grow_y, y, height);
  return {x, y, x + width, y + height};
}

void Win32Window::OnSize(int parent, int width, int height) {
  for (Win32Control& control : controls_) {
    if (control.parent != parent || !control.hwnd) continue;
    RECT bounds = Place(control, width, height);
    SetWindowPos(control.hwnd, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Window::FitAutoSize(Win32Control& control) {
  std::string text = WindowText(control.hwnd);
  if (text.empty()) text.push_back(' ');  // an empty label keeps the height of a line
  HDC dc = GetDC(control.hwnd);
  HGDIOBJ old_font = SelectObject(dc, toolkit_.Font(control.style));
  RECT extent{0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS | ((control.style & kStyleNoPrefix) ? DT_NOPREFIX : 0);
  DrawTextA(dc, text.c_str(), -1, &extent, format);
  SelectObject(dc, old_font);
  ReleaseDC(control.hwnd, dc);
  // A right-aligned label grows to the left, keeping its right edge.
  if (control.style & kStyleAlignRight) control.left += control.width - extent.right;
  control.width = extent.right;
  control.height = extent.bottom;
  RECT client;
  GetClientRect(ParentHandle(control), &client);
  RECT bounds = Place(control, client.right, client.bottom);
  SetWindowPos(control.hwnd, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::FitListColumn(Win32Control& control) {
  RECT client;
  GetClientRect(control.hwnd, &client);
  SendMessageA(control.hwnd, LVM_SETCOLUMNWIDTH, 0, static_cast<LPARAM>(client.right));
}

HWND Win32Window::ParentHandle(const Win32Control& control) const {
  return control.parent < 0 ? hwnd_ : controls_[control.parent].hwnd;
}

Win32Control& Win32Window::ControlAt(ControlId id) {
  if (id < 0 || static_cast<std::size_t>(id) >= controls_.size()) {
    throw std::out_of_range("No control " + std::to_string(id));
  }
  return controls_[id];
}

Win32Control* Win32Window::ControlOf(HWND hwnd) const {
  if (!hwnd) return nullptr;
  auto* control = static_cast<Win32Control*>(GetPropA(hwnd, kControlProperty));
  return control && control->window == this ? control : nullptr;
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
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) OnSize(-1, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      if (min_outer_width_ > 0) limits->ptMinTrackSize.x = min_outer_width_;
      if (min_outer_height_ > 0) limits->ptMinTrackSize.y = min_outer_height_;
      return 0;
    }
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wparam) != WA_INACTIVE)) return 0;
      break;
    case WM_CLOSE:
      OnCloseMessage();
      return 0;
    case DM_GETDEFID:
      return current_default_ >= 0
                 ? MAKELRESULT(kControlIdBase + current_default_, DC_HASDEFID)
                 : 0;
    case WM_NEXTDLGCTL:
      OnNextDialogControl(wparam, lparam);
      return 0;
    case kDeferredClick:
      OnDeferredClick(static_cast<int>(wparam));
      return 0;
    default:
      if (IsColourMessage(message)) {
        return OnCtlColor(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
      }
      break;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Win32Window::OwnControlProc(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
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

LRESULT Win32Window::HandleOwnControlMessage(Win32Control& control, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  switch (message) {
    // What the controls inside a panel tell their parent is the window's business.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case DM_GETDEFID:
    case WM_NEXTDLGCTL:
      return SendMessageA(hwnd_, message, wparam, lparam);
    case WM_PAINT:
      PaintOwnControl(control);
      return 0;
    case WM_SIZE:
      if (control.kind == ControlKind::kPanel) OnSize(control.index, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(control, lparam);
      return 0;
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

LRESULT CALLBACK Win32Window::NativeControlProc(HWND hwnd, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
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

LRESULT Win32Window::HandleNativeControlMessage(Win32Control& control, UINT message,
                                                WPARAM wparam, LPARAM lparam) {
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
        LRESULT result =
            CallWindowProcA(control.original_proc, control.hwnd, message, wparam, lparam);
        FitListColumn(control);
        return result;
      }
      break;
    default:
      break;
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
  int index = id - kControlIdBase;
  if (destroying_ || index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return;
  Win32Control& control = controls_[index];
  switch (control.kind) {
    case ControlKind::kButton:
      if (code == BN_CLICKED) {
        Guard(control.on_click);
      } else if (code == BN_SETFOCUS) {
        SetDefaultButton(index);
      } else if (code == BN_KILLFOCUS) {
        SetDefaultButton(designed_default_);
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
    default:
      break;
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

void Win32Window::OnDeferredClick(int index) {
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
  return DefWindowProcA(hwnd_, message, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control_hwnd));
}

void Win32Window::OnDrawItem(const DRAWITEMSTRUCT& item) {
  Win32Control* control = ControlOf(item.hwndItem);
  if (!control || control->kind != ControlKind::kGlyphButton) return;
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool enabled = (item.itemState & ODS_DISABLED) == 0;
  if (!control->flat) {
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (pressed) {
      DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
    } else if (control->hot && enabled) {
      DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
    }
  }
  // The glyph, and the text beside it, centred together.
  std::string text = WindowText(control->hwnd);
  HGDIOBJ old_font = SelectObject(dc, toolkit_.Font(control->style));
  SIZE text_size{0, 0};
  constexpr int kSpacing = 4;
  if (!text.empty()) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &text_size);
  int total = kGlyphSize + (text.empty() ? 0 : kSpacing + text_size.cx);
  int shift = pressed ? 1 : 0;
  int left = area.left + (area.right - area.left - total) / 2 + shift;
  int top = area.top + (area.bottom - area.top - kGlyphSize) / 2 + shift;
  Glyph glyph = (control->style & kStyleGlyphBrowse) ? Glyph::kBrowse : Glyph::kRescan;
  DrawGlyph(dc, glyph, left, top, enabled);
  if (!text.empty()) {
    RECT text_area{left + kGlyphSize + kSpacing, area.top + shift, area.right, area.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), -1, &text_area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  SelectObject(dc, old_font);
}

void Win32Window::OnGlyphButtonMouse(Win32Control& control, UINT message, LPARAM lparam) {
  POINT point{LowSigned(lparam), HighSigned(lparam)};
  RECT client;
  GetClientRect(control.hwnd, &client);
  bool inside = PtInRect(&client, point) != 0;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      control.tracking = true;
      SetCapture(control.hwnd);
      SendMessageA(control.hwnd, BM_SETSTATE, TRUE, 0);
      break;
    case WM_MOUSEMOVE:
      if (!control.hot) {
        control.hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control.hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(control.hwnd, nullptr, FALSE);
      }
      if (control.tracking) {
        bool shown_pressed = (SendMessageA(control.hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        if (shown_pressed != inside) SendMessageA(control.hwnd, BM_SETSTATE, inside, 0);
      }
      break;
    case WM_LBUTTONUP:
      if (!control.tracking) break;
      // Cleared before ReleaseCapture, whose WM_CAPTURECHANGED comes at once.
      control.tracking = false;
      ReleaseCapture();
      SendMessageA(control.hwnd, BM_SETSTATE, FALSE, 0);
      if (inside) {
        SendMessageA(GetParent(control.hwnd), WM_COMMAND,
                     MAKEWPARAM(kControlIdBase + control.index, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control.hwnd));
      }
      break;
    case WM_CAPTURECHANGED:
      if (control.tracking) {
        control.tracking = false;
        SendMessageA(control.hwnd, BM_SETSTATE, FALSE, 0);
      }
      break;
    case WM_MOUSELEAVE:
      control.hot = false;
      InvalidateRect(control.hwnd, nullptr, FALSE);
      break;
    default:
      break;
  }
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

bool Win32Window::OnActivate(bool active) {
  // A top-level window forgets which control had the focus; keep it over
  // deactivation, as dialog boxes do.
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
    return false;
  }
  if (saved_focus_ && IsWindow(saved_focus_) && IsChild(hwnd_, saved_focus_) &&
      IsWindowVisible(saved_focus_) && IsWindowEnabled(saved_focus_)) {
    SetFocus(saved_focus_);
    return true;
  }
  return false;
}

void Win32Window::OnCloseMessage() {
  if (destroying_) return;
  Guard([this] { DoClose(); });
}

// Sent by an edit control for Enter (with the default button) and by the
// dialog manager; a plain window must handle it like a dialog box does.
void Win32Window::OnNextDialogControl(WPARAM wparam, LPARAM lparam) {
  HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                               : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
  if (target) SetFocus(target);
}

// The focused push button is the one Enter presses, and looks it; when the
// focus leaves the buttons, the designed default button is again.
void Win32Window::SetDefaultButton(int index) {
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

void Win32Window::UncheckOtherRadioButtons(int index) {
  for (Win32Control& control : controls_) {
    if (control.kind == ControlKind::kRadioButton && control.index != index) {
      SendMessageA(control.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

// ---------------------------------------------------------------------------
// Window

void Win32Window::RunShowHandlerOnce() {
  if (shown_before_) return;
  shown_before_ = true;
  if (on_show_) {
    std::function<void()> handler = on_show_;
    handler();
  }
}

void Win32Window::FocusFirstControl() {
  HWND target = initial_focus_ >= 0 ? controls_[initial_focus_].hwnd
                                    : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetFocus(target);
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
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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

void Win32Window::SetCaption(std::string_view caption) {
  SetWindowTextA(hwnd_, std::string(caption).c_str());
}

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

void Win32Window::OnShow(std::function<void()> handler) { on_show_ = std::move(handler); }

void Win32Window::OnCloseQuery(std::function<bool()> handler) {
  on_close_query_ = std::move(handler);
}

void Win32Window::OnClose(std::function<void()> handler) { on_close_ = std::move(handler); }

void Win32Window::OnClick(ControlId control, std::function<void()> handler) {
  ControlAt(control).on_click = std::move(handler);
}

void Win32Window::OnMouseMove(ControlId control, std::function<void(int x, int y)> handler) {
  ControlAt(control).on_mouse_move = std::move(handler);
}

std::string Win32Window::HintFor(HWND hwnd) const {
  const Win32Control* control = nullptr;
  for (HWND at = hwnd; at && at != hwnd_ && !control; at = GetParent(at)) control = ControlOf(at);
  while (control && control->hint.empty()) {
    control = control->parent >= 0 ? &controls_[control->parent] : nullptr;
  }
  return control ? LongHint(control->hint) : std::string();
}

// ---------------------------------------------------------------------------
// Controls

// A transparent label draws no background, so what lay under the old text
// must be painted again by the parent first.
void Win32Window::RepaintUnder(Win32Control& control) {
  HWND parent = ParentHandle(control);
  RECT bounds;
  GetWindowRect(control.hwnd, &bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  RedrawWindow(parent, &bounds, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Win32Window::SetText(ControlId id, std::string_view text) {
  Win32Control& control = ControlAt(id);
  SetWindowTextA(control.hwnd, std::string(text).c_str());
  if (control.kind == ControlKind::kLabel && (control.style & kStyleAutoSize)) FitAutoSize(control);
  if (control.style & kStyleTransparent) RepaintUnder(control);
  if (control.kind == ControlKind::kGlyphButton) InvalidateRect(control.hwnd, nullptr, TRUE);
}

std::string Win32Window::Text(ControlId id) { return WindowText(ControlAt(id).hwnd); }

void Win32Window::SetVisible(ControlId id, bool visible) {
  ShowWindow(ControlAt(id).hwnd, visible ? SW_SHOW : SW_HIDE);
}

bool Win32Window::IsVisible(ControlId id) {
  return (GetWindowLongPtrA(ControlAt(id).hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::SetEnabled(ControlId id, bool enabled) {
  Win32Control& control = ControlAt(id);
  EnableWindow(control.hwnd, enabled);
  if (control.style & kStyleTransparent) RepaintUnder(control);
}

bool Win32Window::IsEnabled(ControlId id) { return IsWindowEnabled(ControlAt(id).hwnd) != 0; }

void Win32Window::SetChecked(ControlId id, bool checked) {
  Win32Control& control = ControlAt(id);
  SendMessageA(control.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked && control.kind == ControlKind::kRadioButton) UncheckOtherRadioButtons(id);
}

bool Win32Window::IsChecked(ControlId id) {
  return SendMessageA(ControlAt(id).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetHint(ControlId id, std::string_view hint) {
  ControlAt(id).hint = std::string(hint);
  UpdateTooltips();
}

std::string Win32Window::Hint(ControlId id) { return ControlAt(id).hint; }

void Win32Window::SetFlat(ControlId id, bool flat) {
  Win32Control& control = ControlAt(id);
  control.flat = flat;
  InvalidateRect(control.hwnd, nullptr, TRUE);
}

void Win32Window::EnableTooltip(ControlId id) {
  ControlAt(id).tooltip = true;
  if (!tooltip_) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               toolkit_.Instance(), nullptr);
  }
  UpdateTooltips();
}

// Every control with tooltips on, and every control inside one, is a tool
// showing the hint that the status line would show for it.
void Win32Window::UpdateTooltips() {
  if (!tooltip_) return;
  for (Win32Control& control : controls_) {
    bool covered = false;
    for (const Win32Control* at = &control; at && !covered;
         at = at->parent >= 0 ? &controls_[at->parent] : nullptr) {
      covered = at->tooltip;
    }
    if (!covered) continue;
    std::string text = HintFor(control.hwnd);
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every comctl32 version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
    tool.lpszText = text.data();
    SendMessageA(tooltip_, control.tool_added ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0,
                 reinterpret_cast<LPARAM>(&tool));
    control.tool_added = true;
  }
}

void Win32Window::LoadPicture(ControlId id, const std::string& path) {
  Win32Control& control = ControlAt(id);
  if (!control.picture) control.picture = std::make_unique<Win32Picture>();
  control.picture->Load(path);
  InvalidateRect(control.hwnd, nullptr, TRUE);
}

void Win32Window::SetLines(ControlId id, const std::vector<std::string>& lines) {
  Win32Control& control = ControlAt(id);
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  SendMessageA(control.hwnd, EM_SETLIMITTEXT, 0, 0);
  if (!SetWindowTextA(control.hwnd, text.c_str())) throw ToolkitError("Text exceeds memo capacity");
}

std::vector<std::string> Win32Window::Lines(ControlId id) {
  std::string text = WindowText(ControlAt(id).hwnd);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

void Win32Window::ClearItems(ControlId list) {
  Win32Control& control = ControlAt(list);
  SendMessageA(control.hwnd, LVM_DELETEALLITEMS, 0, 0);
  FitListColumn(control);
}

void Win32Window::AddItem(ControlId list, std::string_view text, bool checked) {
  Win32Control& control = ControlAt(list);
  std::string item_text(text);
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ItemCount(list);
  item.pszText = item_text.data();
  auto index = static_cast<int>(
      SendMessageA(control.hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index >= 0) SetItemChecked(list, index, checked);
  FitListColumn(control);
}

int Win32Window::ItemCount(ControlId list) {
  return static_cast<int>(SendMessageA(ControlAt(list).hwnd, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32Window::ItemText(ControlId list, int index) {
  HWND hwnd = ControlAt(list).hwnd;
  std::string buffer(256, '\0');
  for (;;) {
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    auto length = static_cast<std::size_t>(
        SendMessageA(hwnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32Window::IsItemChecked(ControlId list, int index) {
  auto state = static_cast<UINT>(SendMessageA(ControlAt(list).hwnd, LVM_GETITEMSTATE,
                                              static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;  // state image 1: unchecked, 2: checked
}

void Win32Window::SetItemChecked(ControlId list, int index, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(ControlAt(list).hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

int Win32Window::ItemAt(ControlId list, int x, int y) {
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  auto index = static_cast<int>(
      SendMessageA(ControlAt(list).hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return index >= 0 && (hit.flags & LVHT_ONITEM) ? index : -1;
}

void Win32Window::SetProgressMax(ControlId bar, int maximum) {
  SendMessageA(ControlAt(bar).hwnd, PBM_SETRANGE32, 0, static_cast<LPARAM>(maximum));
}

void Win32Window::SetProgressPosition(ControlId bar, int position) {
  SendMessageA(ControlAt(bar).hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace setup
