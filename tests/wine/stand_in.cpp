// A small program for the UI harness to drive, so that every harness
// primitive is proved against known windows before it meets Setup.exe.
//
//   ui_stand_in exit N                  writes its working folder to cwd.txt, exits with N
//   ui_stand_in msgbox STYLE CAPTION TEXT
//                                       shows a message box (STYLE in hex, "\n" in TEXT is a
//                                       line break) and exits with the button pressed
//   ui_stand_in window                  shows the "TStandIn" window (see OnCreate); its exit
//                                       code packs what the user left in it (see ExitCode)

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

constexpr char kClassName[] = "TStandIn";

enum ControlId : int {
  kInstallId = 101,   // default button, counts its clicks
  kRememberId = 102,  // check box
  kFolderId = 103,    // edit, takes the answer of the Ask button
  kDisabledId = 104,  // a button that stays disabled
  kHostsId = 105,     // check list of three items
  kStatusId = 106,    // status bar: which item the pointer is over
  kAskId = 107,       // asks a yes/no question in a modal message box
};

// The top-left corner of the client area is painted in this colour, so a
// screenshot can be checked pixel by pixel.
constexpr COLORREF kMarkColour = RGB(255, 0, 0);
constexpr RECT kMarkRect = {0, 0, 24, 24};

struct StandInWindow {
  HWND window = nullptr;
  HWND install = nullptr;
  HWND remember = nullptr;
  HWND folder = nullptr;
  HWND hosts = nullptr;
  HWND status = nullptr;
  int clicks = 0;
  int hovered = -2;  // item under the pointer; -1 none, -2 not yet known
};

HWND MakeControl(HWND parent, const char* class_name, const char* text, DWORD style, int x, int y, int width,
                 int height, int id) {
  return CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void ShowHovered(StandInWindow& self, int item) {
  if (item == self.hovered) return;
  self.hovered = item;
  std::string text = item >= 0 ? "Item " + std::to_string(item) : "";
  SendMessageA(self.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The list's own mouse moves, seen before the list handles them.
LRESULT CALLBACK HostsProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) {
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    int item = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    ShowHovered(*reinterpret_cast<StandInWindow*>(data), item);
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

void OnCreate(StandInWindow& self) {
  HWND w = self.window;
  self.install = MakeControl(w, "BUTTON", "&Install", WS_TABSTOP | BS_DEFPUSHBUTTON, 240, 200, 90, 26, kInstallId);
  self.remember = MakeControl(w, "BUTTON", "&Remember", WS_TABSTOP | BS_AUTOCHECKBOX, 40, 10, 120, 20, kRememberId);
  self.folder =
      MakeControl(w, "EDIT", "C:\\Plugins", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 40, 36, 200, 22, kFolderId);
  HWND disabled = MakeControl(w, "BUTTON", "Disabled", WS_TABSTOP, 140, 200, 90, 26, kDisabledId);
  EnableWindow(disabled, FALSE);
  MakeControl(w, "BUTTON", "&Ask", WS_TABSTOP, 40, 200, 90, 26, kAskId);

  self.hosts =
      MakeControl(w, WC_LISTVIEWA, "", WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL, 40, 66,
                  290, 120, kHostsId);
  SendMessageA(self.hosts, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 260;
  SendMessageA(self.hosts, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  const char* names[] = {"Alpha", "Beta", "Gamma"};
  for (int i = 0; i < 3; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(self.hosts, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  ListView_SetCheckState(self.hosts, 1, TRUE);
  SetWindowSubclass(self.hosts, HostsProc, 1, reinterpret_cast<DWORD_PTR>(&self));

  self.status = MakeControl(w, STATUSCLASSNAMEA, "Ready", 0, 0, 0, 0, 0, kStatusId);
  SetFocus(self.folder);
}

void OnAsk(StandInWindow& self) {
  int answer = MessageBoxA(self.window, "Proceed?", "Stand-in", MB_YESNO | MB_ICONQUESTION);
  SetWindowTextA(self.folder, answer == IDYES ? "yes" : "no");
}

// Bits 0-2: check of each list item; bit 4: the Remember box; from bit 8 on: clicks of Install.
int ExitCode(const StandInWindow& self) {
  int code = 0;
  for (int i = 0; i < 3; ++i)
    if (ListView_GetCheckState(self.hosts, i)) code |= 1 << i;
  if (SendMessageA(self.remember, BM_GETCHECK, 0, 0) == BST_CHECKED) code |= 1 << 4;
  return code | self.clicks << 8;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      self = static_cast<StandInWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
      self->window = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      break;
    case WM_CREATE: OnCreate(*self); return 0;
    case WM_SIZE:
      if (self->status) SendMessageA(self->status, WM_SIZE, 0, 0);
      return 0;
    case WM_MOUSEMOVE:
      // Off the list: no item under the pointer.
      if (self->status) ShowHovered(*self, -1);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      HBRUSH brush = CreateSolidBrush(kMarkColour);
      FillRect(dc, &kMarkRect, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      return 0;
    }
    case DM_GETDEFID:
      // Enter in any control presses Install, as in a dialog.
      return MAKELRESULT(kInstallId, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wparam) == kInstallId) {
        ++self->clicks;
        SetWindowTextA(window, ("Stand-in: " + std::to_string(self->clicks) + " clicks").c_str());
      }
      if (LOWORD(wparam) == kAskId) OnAsk(*self);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(ExitCode(*self));
      DestroyWindow(window);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int RunWindow() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);

  StandInWindow self;
  HWND window = CreateWindowExA(0, kClassName, "Stand-in", WS_OVERLAPPEDWINDOW, 100, 100, 380, 290, nullptr, nullptr,
                                GetModuleHandleA(nullptr), &self);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  int code = 0;
  while (true) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(message.wParam);
      break;
    }
    if (got < 0) return 1;
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return code;
}

std::string Unescape(const char* text) {
  std::string plain;
  for (; *text; ++text) {
    if (text[0] == '\\' && text[1] == 'n') {
      plain += '\n';
      ++text;
    } else {
      plain += *text;
    }
  }
  return plain;
}

int WriteWorkingFolder() {
  char folder[MAX_PATH] = {};
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  HANDLE file = CreateFileA("cwd.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, folder, length, &written, nullptr);
  CloseHandle(file);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string mode = __argc > 1 ? __argv[1] : "";
  if (mode == "exit" && __argc == 3) {
    if (WriteWorkingFolder() != 0) return 1;
    return std::atoi(__argv[2]);
  }
  if (mode == "msgbox" && __argc == 5) {
    auto style = static_cast<UINT>(std::strtoul(__argv[2], nullptr, 16));
    return MessageBoxA(nullptr, Unescape(__argv[4]).c_str(), __argv[3], style);
  }
  if (mode == "window") return RunWindow();
  return 2;
}
