#include "ui/win32/win32_toolkit.h"

#include "platform/win32/win32_wide_text.h"

#include <algorithm>

#include "ui/win32/win32_window.h"

namespace setup {
namespace {

HFONT MakeFont(const char* face, int height, int weight, bool italic) {
  return CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

struct IconSearch {
  int size;
  HICON icon = nullptr;
};

BOOL CALLBACK TakeFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR context) {
  auto* search = reinterpret_cast<IconSearch*>(context);
  search->icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, search->size, search->size, LR_SHARED));
  return FALSE;  // the first icon group is the program's icon
}

HICON ProgramIcon(HINSTANCE instance, int size) {
  IconSearch search{size};
  EnumResourceNamesA(instance, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, &TakeFirstIcon,
                     reinterpret_cast<LONG_PTR>(&search));
  return search.icon;
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance, FileSystem& files) : instance_(instance), files_(files) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                   ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  LoadCommonControls()(&classes);
  normal_font_ = MakeFont("MS Sans Serif", -11, FW_NORMAL, false);
  title_font_ = MakeFont("Arial", -43, FW_BOLD, true);
  version_font_ = MakeFont("Arial", -21, FW_BOLD, true);
  icon_ = ProgramIcon(instance_, GetSystemMetrics(SM_CXICON));
  small_icon_ = ProgramIcon(instance_, GetSystemMetrics(SM_CXSMICON));
}

Win32Toolkit::~Win32Toolkit() {
  DeleteObject(normal_font_);
  DeleteObject(title_font_);
  DeleteObject(version_font_);
  if (com_initialized_) shell_->co_uninitialize();
}

ShellDlls& Win32Toolkit::Shell() {
  if (!shell_) {
    shell_ = LoadShellDlls();
    // The folder picker is a shell (COM) dialog.
    com_initialized_ = SUCCEEDED(shell_->co_initialize(nullptr));
  }
  return *shell_;
}

HFONT Win32Toolkit::Font(std::uint32_t style) const {
  if (style & kStyleTitleFont) return title_font_;
  if (style & kStyleVersionFont) return version_font_;
  return normal_font_;
}

void Win32Toolkit::SetTitle(std::string_view title) { title_ = std::string(title); }

std::unique_ptr<Window> Win32Toolkit::CreateForm(const FormSpec& spec, Window* owner) {
  HWND owner_hwnd = owner ? static_cast<Win32Window*>(owner)->Handle() : nullptr;
  return std::make_unique<Win32Window>(*this, spec, owner_hwnd);
}

int Win32Toolkit::ShowMessage(Window* owner, std::string_view text, std::string_view caption, unsigned style) {
  HWND owner_hwnd = owner ? static_cast<Win32Window*>(owner)->Handle() : nullptr;
  return MessageBoxA(owner_hwnd, std::string(text).c_str(), std::string(caption).c_str(), style);
}

std::optional<std::string> Win32Toolkit::BrowseForFolder(Window& owner, std::string_view instruction) {
  std::string title(instruction);
  char display_name[MAX_PATH] = "";
  BROWSEINFOA browse{};
  browse.hwndOwner = static_cast<Win32Window&>(owner).Handle();
  browse.pidlRoot = nullptr;  // the top of the shell namespace
  browse.pszDisplayName = display_name;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = 0;
  ShellDlls& shell = Shell();
  PIDLIST_ABSOLUTE item = shell.sh_browse_for_folder(&browse);
  if (!item) return std::nullopt;
  // The path is taken in its wide form: the ANSI one would give a name the
  // code page cannot hold as a look-alike naming another folder.
  wchar_t path[MAX_PATH] = L"";
  BOOL is_folder = shell.sh_get_path_from_id_list(item, path);
  shell.co_task_mem_free(item);
  if (!is_folder || path[0] == L'\0') return std::nullopt;
  return NarrowExactly(path);
}

void Win32Toolkit::ShellOpen(Window& owner, std::string_view target) {
  Shell().shell_execute(static_cast<Win32Window&>(owner).Handle(), nullptr, std::string(target).c_str(), nullptr,
                        nullptr, SW_HIDE);
}

void Win32Toolkit::SetHintHandler(std::function<void(const std::string& hint)> handler) {
  hint_handler_ = std::move(handler);
}

void Win32Toolkit::RequestEnd() { PostQuitMessage(0); }

void Win32Toolkit::Run(Window& main) {
  auto& window = static_cast<Win32Window&>(main);
  main_ = &window;
  struct ClearMain {
    Win32Toolkit& toolkit;
    ~ClearMain() { toolkit.main_ = nullptr; }
  } clear_main{*this};
  window.Show();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchOne(message);
    CheckIdle();
  }
}

void Win32Toolkit::AddWindow(Win32Window* window) { windows_.push_back(window); }

void Win32Toolkit::RemoveWindow(Win32Window* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
  if (main_ == window) main_ = nullptr;
}

Win32Window* Win32Toolkit::FindWindowByHandle(HWND handle) const {
  if (!handle) return nullptr;
  for (Win32Window* window : windows_) {
    if (window->Handle() == handle) return window;
  }
  return nullptr;
}

void Win32Toolkit::DispatchOne(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  Win32Window* window = FindWindowByHandle(root);
  if (window && IsDialogMessageA(root, &message)) {
    window->ReapplyDefaultButton();
  } else {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) UpdateHint();
}

void Win32Toolkit::CheckIdle() {
  MSG waiting;
  if (!PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) UpdateHint();
}

void Win32Toolkit::UpdateHint() {
  if (!hint_handler_) return;
  POINT pointer;
  if (!GetCursorPos(&pointer)) return;
  std::string hint;
  HWND hit = WindowFromPoint(pointer);
  HWND root = hit ? GetAncestor(hit, GA_ROOT) : nullptr;
  if (Win32Window* window = FindWindowByHandle(root)) {
    // WindowFromPoint passes over disabled controls and labels; walk down
    // from the window instead, skipping only hidden ones.
    HWND deepest = root;
    for (;;) {
      POINT inside = pointer;
      ScreenToClient(deepest, &inside);
      HWND child = ChildWindowFromPointEx(deepest, inside, CWP_SKIPINVISIBLE);
      if (!child || child == deepest) break;
      deepest = child;
    }
    hint = window->HintFor(deepest);
  }
  if (hint == last_hint_) return;
  last_hint_ = hint;
  std::function<void(const std::string&)> handler = hint_handler_;
  handler(hint);
}

void Win32Toolkit::ReportError(const char* text) {
  MessageBoxA(GetActiveWindow(), text, title_.empty() ? nullptr : title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace setup
