// The native controls of a form, made from its rows, and their layout.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "ui/win32/win32_toolkit.h"
#include "ui/win32/win32_window.h"

namespace setup {
namespace {

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
              static_cast<DWORD>(((row.style & kStyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY),
              0};
    case ControlKind::kGlyphButton: return {"BUTTON", BS_OWNERDRAW, 0};
    case ControlKind::kCheckBox: return {"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::kRadioButton: return {"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::kEdit: return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kMemo: return {"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kCheckList:
      return {WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
    case ControlKind::kPanel:
      // CONTROLPARENT lets Tab and the dialog keys walk into the panel.
      return {kPanelClass, 0, WS_EX_CONTROLPARENT};
    case ControlKind::kPicture: return {kPictureClass, 0, 0};
    case ControlKind::kProgressBar: return {PROGRESS_CLASSA, 0, 0};
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

void Win32Window::CreateControls() {
  std::vector<bool> created(controls_.size(), false);
  for (ControlId i = 0; i < model_.size(); ++i) CreateControl(i, created);
  ArrangeTabOrder();
  current_default_ = model_.DesignedDefaultButton();
  RECT client;
  GetClientRect(hwnd_, &client);
  OnSize(-1, client.right, client.bottom);
}

// A panel is made before the controls inside it.
void Win32Window::CreateControl(ControlId index, std::vector<bool>& created) {
  if (created[index]) return;
  created[index] = true;
  const ControlSpec& row = model_.Row(index);
  Win32Control& control = controls_[index];
  control.window = this;
  control.index = index;
  control.kind = row.kind;
  control.style = row.style;
  control.flat = row.kind == ControlKind::kGlyphButton;
  ControlId parent = model_.Parent(index);
  if (parent >= 0) CreateControl(parent, created);

  NativeClass native = ClassFor(row, model_.spec().border);
  DWORD style = WS_CHILD | WS_VISIBLE | native.style;
  if (model_.TabOrder(index) >= 0) style |= WS_TABSTOP;
  if (row.style & kStyleDisabled) style |= WS_DISABLED;
  if (model_.StartsGroup(index)) style |= WS_GROUP;

  Bounds bounds = model_.PlaceAsDesigned(index);
  std::string text(row.text);
  HWND hwnd = CreateWindowExA(native.ex_style, native.name, text.c_str(), style, bounds.left, bounds.top, bounds.width,
                              bounds.height, ParentHandle(control),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)),
                              toolkit_.Instance(), &control);
  if (!hwnd) throw ToolkitError("Cannot create the control " + std::string(row.name));
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
      column.cx = bounds.width;
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
    default: break;
  }
}

// Tab follows the z-order of siblings: each parent's children are stacked in
// the order Tab visits them.
void Win32Window::ArrangeTabOrder() {
  std::vector<ControlId> parents{-1};
  for (const Win32Control& control : controls_) {
    if (control.kind == ControlKind::kPanel) parents.push_back(control.index);
  }
  for (ControlId parent : parents) {
    HWND after = HWND_TOP;
    for (ControlId child : model_.TabSequence(parent)) {
      HWND hwnd = controls_[child].hwnd;
      SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = hwnd;
    }
  }
}

void Win32Window::MoveTo(Win32Control& control, int parent_width, int parent_height) {
  Bounds bounds = model_.Place(control.index, parent_width, parent_height);
  SetWindowPos(control.hwnd, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::OnSize(ControlId parent, int width, int height) {
  for (Win32Control& control : controls_) {
    if (control.hwnd && model_.Parent(control.index) == parent) MoveTo(control, width, height);
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
  model_.Resize(control.index, extent.right, extent.bottom);
  RECT client;
  GetClientRect(ParentHandle(control), &client);
  MoveTo(control, client.right, client.bottom);
}

void Win32Window::FitListColumn(Win32Control& control) {
  RECT client;
  GetClientRect(control.hwnd, &client);
  SendMessageA(control.hwnd, LVM_SETCOLUMNWIDTH, 0, static_cast<LPARAM>(client.right));
}

HWND Win32Window::ParentHandle(const Win32Control& control) const {
  ControlId parent = model_.Parent(control.index);
  return parent < 0 ? hwnd_ : controls_[parent].hwnd;
}

Win32Control& Win32Window::ControlAt(ControlId id) {
  if (id < 0 || static_cast<std::size_t>(id) >= controls_.size()) {
    throw FormSpecError("No control " + std::to_string(id));
  }
  return controls_[id];
}

Win32Control* Win32Window::ControlOf(HWND hwnd) const {
  if (!hwnd) return nullptr;
  auto* control = static_cast<Win32Control*>(GetPropA(hwnd, kControlProperty));
  return control && control->window == this ? control : nullptr;
}

}  // namespace setup
