#pragma once

// What the Setup.exe scenarios share: a package with Setup.exe in it, the
// program started from there, and the main window's controls by their texts.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "wine/ui_harness.h"

namespace setup::ui {

inline constexpr char kScratchKey[] = "Software\\Brisquell\\Temp";

struct SetupTest : testing::Test {
  SetupTest() {
    package_.AddSetup();
    DeleteRegTree(HKEY_CURRENT_USER, kScratchKey);
  }
  ~SetupTest() override { DeleteRegTree(HKEY_CURRENT_USER, kScratchKey); }

  RunningProgram& Start(const std::string& setup_ini) {
    if (!setup_ini.empty()) package_.Write("setup.ini", setup_ini);
    program_ = std::make_unique<RunningProgram>(package_);
    return *program_;
  }
  DWORD pid() const { return program_->pid(); }
  HWND MainWindow() { return WaitForWindow(pid(), "TMainForm"); }
  HWND List(HWND main) { return Child(main, "SysListView32"); }
  HWND StatusBar(HWND main) { return Child(main, "msctls_statusbar32"); }
  // Asks to close with Cancel and answers the close question.
  void CloseAnswering(HWND main, int answer) {
    Click(Child(main, "Button", "&Cancel"));
    MessageBoxSeen question = WaitForMessageBox(pid());
    EXPECT_EQ(question.text, "Are you sure you want to cancel installation?");
    EXPECT_EQ(question.caption, "Cancel?");
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(question.icon, MessageIcon::kWarning);
    Answer(question, answer);
  }
  void ExpectEnded() { EXPECT_EQ(program_->WaitExit(), 0u); }

  Package package_;
  std::unique_ptr<RunningProgram> program_;
};

}  // namespace setup::ui
