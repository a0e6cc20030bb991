#include "wine/ui_harness.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "wine/ui_harness_internal.h"

namespace setup::ui {
namespace {

constexpr DWORD kPollMs = 25;

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

std::string LastErrorText(const std::string& what) { return what + " (error " + std::to_string(GetLastError()) + ")"; }

LRESULT SendTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    throw HarnessError("window " + ClassOf(window) + " did not answer message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (true) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(kPollMs);
  }
}

std::vector<HWND> TopWindows(DWORD pid, std::string_view class_name) {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid && IsWindowVisible(window) && (class_name.empty() || ClassOf(window) == class_name))
      found.push_back(window);
  }
  return found;
}

HWND FindTopWindow(DWORD pid, std::string_view class_name) {
  std::vector<HWND> found = TopWindows(pid, class_name);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(DWORD pid, std::string_view class_name, DWORD timeout_ms) {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindTopWindow(pid, class_name)) != nullptr; }, timeout_ms)) {
    std::string shown;
    for (HWND window : TopWindows(pid))
      shown.append(" ").append(ClassOf(window)).append(" \"").append(TextOf(window)).append("\"");
    throw HarnessError("no " + std::string(class_name) + " window of process " + std::to_string(pid) + " within " +
                       std::to_string(timeout_ms) + " ms; it shows:" + (shown.empty() ? " nothing" : shown));
  }
  return found;
}

bool WaitGone(HWND window, DWORD timeout_ms) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout_ms);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    // A hung program: what the system keeps of the text is all there is.
    char text[1024] = {};
    int got = GetWindowTextA(window, text, sizeof text);
    return std::string(text, got > 0 ? static_cast<size_t>(got) : 0);
  }
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &got);
  text.resize(std::min<size_t>(got, length));
  return text;
}

void SetText(HWND window, std::string_view text) {
  std::string copy(text);
  SendTo(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::vector<HWND> Children(HWND parent, std::string_view class_name) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND child : all)
    if (class_name.empty() || ClassOf(child) == class_name) found.push_back(child);
  return found;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& predicate) {
  for (HWND child : Children(parent))
    if (predicate(child)) return child;
  return nullptr;
}

HWND FindChild(HWND parent, std::string_view class_name, std::string_view text) {
  return FindChild(parent, [&](HWND child) {
    return (class_name.empty() || ClassOf(child) == class_name) && (text.empty() || TextOf(child) == text);
  });
}

HWND Child(HWND parent, std::string_view class_name, std::string_view text) {
  HWND found = FindChild(parent, class_name, text);
  if (!found)
    throw HarnessError("no " + std::string(class_name.empty() ? "control" : class_name) +
                       (text.empty() ? "" : " \"" + std::string(text) + "\"") + " in " + ClassOf(parent) + " \"" +
                       TextOf(parent) + "\"");
  return found;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

bool CentredOnScreen(HWND window) {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT frame = WindowRect(window);
  auto centred = [](LONG low, LONG high, LONG area_low, LONG area_high) {
    return std::abs((low - area_low) - (area_high - high)) <= 1;
  };
  return centred(frame.left, frame.right, work.left, work.right) &&
         centred(frame.top, frame.bottom, work.top, work.bottom);
}

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

int CheckState(HWND button) { return static_cast<int>(SendTo(button, BM_GETCHECK, 0, 0)); }

}  // namespace setup::ui
