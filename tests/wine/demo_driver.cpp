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
    HWND status = Child(main, "msctls_statusbar32");
    HoverUntil(list, {item.left + 30, (item.top + item.bottom) / 2}, [&] { return !StatusText(status).empty(); });
    std::printf("  pointing at the first host shows: %s\n", StatusText(status).c_str());
  }
  Shot(main, "3-main-window");

  // The user's choice: no Paint Shop Pro, and the files in a folder of their own too.
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].rfind("Paint Shop Pro", 0) == 0 && ticks[i]) {
      SetListItemChecked(list, static_cast<int>(i), false);
      std::printf("Unticking \"%s\".\n", items[i].c_str());
    }
  }
  const std::string custom = "C:\\My Plug-ins";
  MakeFolders(custom);
  SetText(Child(main, "Edit"), custom);
  HWND also = Child(main, "Button", "Also install in...");
  if (CheckState(also) != BST_CHECKED) Click(also);
  WaitUntil([&] { return CheckState(also) == BST_CHECKED; });
  std::printf("Also installing in %s; pressing Install.\n", custom.c_str());
  Shot(main, "4-main-window-choice");
  Click(Child(main, "Button", "&Install"));

  // Error reports, if any, are read and confirmed until the final question.
  for (;;) {
    MessageBoxSeen box = WaitForMessageBox(pid, 60000);
    SayBox(box);
    if (box.caption != "Completed!") {
      Answer(box, IDOK);
      continue;
    }
    Shot(box.window, "5-completed");
    Answer(box, IDYES);
    break;
  }
  std::optional<DWORD> code = program.WaitExit();
  std::printf("Setup.exe ended (exit code %lu).\n", code ? static_cast<unsigned long>(*code) : 999ul);
  return code == 0u ? 0 : 1;
}

// Every file under a folder, with its path below it.
void ListFiles(const std::string& folder, const std::string& below, std::vector<std::string>& out) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ListFiles(folder + name + "\\", below + name + "\\", out);
    else
      out.push_back(below + name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

void ReportInstalled() {
  std::printf("Installed files:\n");
  for (const char* folder :
       {"C:\\Program Files (x86)\\", "C:\\Program Files\\", "C:\\Shared Plug-ins\\", "C:\\My Plug-ins\\"}) {
    std::vector<std::string> files;
    ListFiles(folder, "", files);
    for (const std::string& file : files)
      if (file.find("Acme") != std::string::npos) std::printf("  %s%s\n", folder, file.c_str());
  }
}

int DriveAndReport(const std::string& package) {
  int status = Drive(package);
  ReportInstalled();
  return status;
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
    return DriveAndReport(package);
  } catch (const std::exception& error) {
    std::printf("The demo stopped: %s\n", error.what());
    return 1;
  }
}
