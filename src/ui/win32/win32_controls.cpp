// Reading and setting the controls of a window.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "ui/win32/win32_toolkit.h"
#include "ui/win32/win32_window.h"

namespace setup {

// A transparent label draws no background, so what lay under the old text
// must be painted again by the parent first.
void Win32Window::RepaintUnder(Win32Control& control) {
  HWND parent = ParentHandle(control);
  RECT bounds;
  GetWindowRect(control.hwnd, &bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  RedrawWindow(parent, &bounds, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
  if (checked) UncheckOtherRadioButtons(id);
}

bool Win32Window::IsChecked(ControlId id) { return SendMessageA(ControlAt(id).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Win32Window::UncheckOtherRadioButtons(ControlId index) {
  for (ControlId other : model_.RadioButtonsUncheckedBy(index)) {
    SendMessageA(controls_[other].hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Win32Window::LoadPicture(ControlId id, const std::string& path) {
  Win32Control& control = ControlAt(id);
  if (!control.picture) control.picture = std::make_unique<Win32Picture>();
  control.picture->Load(path, toolkit_.Files());
  InvalidateRect(control.hwnd, nullptr, TRUE);
}

void Win32Window::SetLines(ControlId id, const std::vector<std::string>& lines) {
  Win32Control& control = ControlAt(id);
  SendMessageA(control.hwnd, EM_SETLIMITTEXT, 0, 0);
  if (!SetWindowTextA(control.hwnd, MemoText(lines).c_str())) throw ToolkitError("Text exceeds memo capacity");
}

std::vector<std::string> Win32Window::Lines(ControlId id) { return MemoLines(WindowText(ControlAt(id).hwnd)); }

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
  auto index = static_cast<int>(SendMessageA(control.hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
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
        SendMessageA(hwnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32Window::IsItemChecked(ControlId list, int index) {
  auto state = static_cast<UINT>(
      SendMessageA(ControlAt(list).hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;  // state image 1: unchecked, 2: checked
}

void Win32Window::SetItemChecked(ControlId list, int index, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(ControlAt(list).hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int Win32Window::ItemAt(ControlId list, int x, int y) {
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  auto index = static_cast<int>(SendMessageA(ControlAt(list).hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return index >= 0 && (hit.flags & LVHT_ONITEM) ? index : -1;
}

void Win32Window::SetProgressMax(ControlId bar, int maximum) {
  SendMessageA(ControlAt(bar).hwnd, PBM_SETRANGE32, 0, static_cast<LPARAM>(maximum));
}

void Win32Window::SetProgressPosition(ControlId bar, int position) {
  SendMessageA(ControlAt(bar).hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace setup
