#include "wine/ui_harness.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "wine/ui_harness_internal.h"

namespace setup::ui {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone: return "none";
    case MessageIcon::kError: return "error";
    case MessageIcon::kWarning: return "warning";
    case MessageIcon::kInformation: return "information";
    case MessageIcon::kQuestion: return "question";
    case MessageIcon::kUnknown: break;
  }
  return "unknown";
}

MessageBoxSeen ReadMessageBox(HWND box) {
  MessageBoxSeen seen;
  seen.window = box;
  seen.caption = TextOf(box);
  std::vector<std::pair<LONG, std::string>> buttons;
  HWND icon_control = nullptr;
  bool message_found = false;
  for (HWND child : Children(box)) {
    if (!IsWindowVisible(child)) continue;
    std::string class_name = ClassOf(child);
    if (class_name == "Button") {
      buttons.emplace_back(WindowRect(child).left, TextOf(child));
    } else if (class_name == "Static") {
      auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
      if ((style & SS_TYPEMASK) == SS_ICON) {
        icon_control = child;
      } else {
        // The message is the static with id 0xFFFF, in Wine as in Windows;
        // a box made otherwise shows its longest static text.
        std::string text = TextOf(child);
        bool is_message = GetDlgCtrlID(child) == 0xFFFF;
        if (is_message || (!message_found && text.size() > seen.text.size())) seen.text = text;
        message_found = message_found || is_message;
      }
    }
  }
  std::stable_sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& button : buttons) seen.buttons.push_back(std::move(button.second));
  // The box keeps "\r\n" as Windows writes it; tests compare lines with "\n".
  for (size_t at = seen.text.find("\r\n"); at != std::string::npos; at = seen.text.find("\r\n", at))
    seen.text.erase(at, 1);
  if (icon_control) seen.icon = RecogniseIcon(icon_control);
  return seen;
}

MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeout_ms) {
  return ReadMessageBox(WaitForWindow(pid, "#32770", timeout_ms));
}

void Answer(const MessageBoxSeen& box, int button_id) {
  HWND button = GetDlgItem(box.window, button_id);
  if (!button) throw HarnessError("message box \"" + box.caption + "\" has no button " + std::to_string(button_id));
  Click(button);
  if (!WaitGone(box.window))
    throw HarnessError("message box \"" + box.caption + "\" stayed after button " + std::to_string(button_id));
}

}  // namespace setup::ui
