// Plays the user through the demo package without anybody at the screen:
// demo_driver PACKAGE_FOLDER SCREENSHOT_FOLDER. Prints what it sees and
// saves a screenshot of every window on the way.

#include <cstdio>
#include <exception>
#include <string>

#include "wine/ui_harness.h"

namespace {

using namespace setup::ui;

std::string shots;

void Shot(HWND window, const char* name) {
  SaveWindowBmp(window, shots + name + ".bmp");
  std::printf("  (screenshot %s.png)\n", name);
}

void SayBox(const MessageBoxSeen& box) {
  std::printf("Message box \"%s\" [%s]: %s\n", box.caption.c_str(), IconName(box.icon), box.text.c_str());
}

int Drive(const std::string& package) {
  RunningProgram program(package + "Setup.exe", "", package);
  DWORD pid = program.pid();

  // The first start in a fresh prefix sets up fonts and the display: give it time.
  MessageBoxSeen start = WaitForMessageBox(pid, 60000);
  SayBox(start);
  Shot(start.window, "1-start-message");
  Answer(start, IDOK);

  HWND agreement = WaitForWindow(pid, "TAgreementForm");
  std::printf("Agreement dialog \"%s\" shows %zu characters of text.\n", TextOf(agreement).c_str(),
              TextOf(Child(agreement, "Edit")).size());
  Shot(agreement, "2-agreement");
  Click(Child(agreement, "Button", "Accept and continue installation."));
  HWND next = Child(agreement, "Button", "&Next");
  WaitUntil([&] { return Enabled(next); });
  std::printf("Accepted; pressing Next.\n");
  Click(next);

  HWND main = WaitForWindow(pid, "TMainForm");
  WaitUntil([&] { return Visible(main); });
  std::printf("Main window \"%s\":\n", TextOf(main).c_str());
  HWND list = Child(main, "SysListView32");
  std::vector<std::string> items = ListItemTexts(list);
  std::vector<bool> ticks = ListChecks(list);
  for (size_t i = 0; i < items.size(); ++i) std::printf("  [%c] %s\n", ticks[i] ? 'x' : ' ', items[i].c_str());
  if (items.empty()) std::printf("  (no host found)\n");
  if (!items.empty()) {
    RECT item = ListItemRect(list, 0);
    MovePointerTo(list, {item.left + 30, (item.top + item.bottom) / 2});
    HWND status = Child(main, "msctls_statusbar32");
    WaitUntil([&] { return !StatusText(status).empty(); }, 2000);
    std::printf("  pointing at the first host shows: %s\n", StatusText(status).c_str());
  }
  Shot(main, "3-main-window");

  Click(Child(main, "Button", "&Cancel"));
  MessageBoxSeen question = WaitForMessageBox(pid);
  SayBox(question);
  Shot(question.window, "4-close-question");
  Answer(question, IDYES);
  MessageBoxSeen goodbye = WaitForMessageBox(pid);
  SayBox(goodbye);
  Answer(goodbye, IDOK);
  std::optional<DWORD> code = program.WaitExit();
  std::printf("Setup.exe ended (exit code %lu).\n", code ? static_cast<unsigned long>(*code) : 999ul);
  return code == 0u ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_driver PACKAGE_FOLDER SCREENSHOT_FOLDER\n");
    return 2;
  }
  std::string package = argv[1];
  if (package.back() != '\\') package += '\\';
  shots = argv[2];
  if (shots.back() != '\\') shots += '\\';
  MakeFolders(shots);
  try {
    return Drive(package);
  } catch (const std::exception& error) {
    std::printf("The demo stopped: %s\n", error.what());
    return 1;
  }
}
