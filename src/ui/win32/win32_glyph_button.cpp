// Glyph buttons: owner-drawn buttons with a 16 x 16 picture, flat until the
// pointer is over them, that never take the focus.
#include "ui/win32/win32_glyphs.h"
#include "ui/win32/win32_toolkit.h"
#include "ui/win32/win32_window.h"

namespace setup {

void Win32Window::SetFlat(ControlId id, bool flat) {
  Win32Control& control = ControlAt(id);
  control.flat = flat;
  InvalidateRect(control.hwnd, nullptr, TRUE);
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
        SendMessageA(GetParent(control.hwnd), WM_COMMAND, MAKEWPARAM(kControlIdBase + control.index, BN_CLICKED),
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
    default: break;
  }
}

}  // namespace setup
