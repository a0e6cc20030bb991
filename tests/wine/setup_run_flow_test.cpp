// Setup.exe from start to end: messages, the agreement and closing.

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

using RunFlowTest = SetupTest;

TEST_F(RunFlowTest, NoSetupIniShowsTheMainWindowAndClosingAsksEveryTime) {
  Start("");
  HWND main = MainWindow();
  EXPECT_TRUE(Visible(main));
  EXPECT_EQ(TextOf(main), "");
  CloseAnswering(main, IDNO);
  EXPECT_TRUE(Visible(main));
  Close(main);  // the title bar's close box asks as well
  MessageBoxSeen question = WaitForMessageBox(pid());
  EXPECT_EQ(question.caption, "Cancel?");
  Answer(question, IDYES);
  ExpectEnded();  // and no close message was shown
}

TEST_F(RunFlowTest, StartMessageShowsBeforeTheMainWindow) {
  Start("[messages]\r\nstart=Welcome to the Acme Filters\r\n");
  MessageBoxSeen start = WaitForMessageBox(pid());
  EXPECT_EQ(start.text, "Welcome to the Acme Filters");
  EXPECT_EQ(start.caption, "Plug-in Setup");
  EXPECT_EQ(start.buttons, (std::vector<std::string>{"OK"}));
  EXPECT_EQ(start.icon, MessageIcon::kInformation);
  HWND early = FindTopWindow(pid(), "TMainForm");
  EXPECT_TRUE(early == nullptr || !Visible(early));
  Answer(start, IDOK);
  EXPECT_TRUE(Visible(MainWindow()));
}

TEST_F(RunFlowTest, AgreementAcceptedWithNext) {
  package_.Write("license.txt", "Line one\rLine two\nLine three\r\n");
  Start("[messages]\r\nagreement=license.txt\r\nagree=1\r\n");
  HWND dialog = WaitForWindow(pid(), "TAgreementForm");
  EXPECT_EQ(TextOf(dialog), "Agreement");
  EXPECT_EQ(TextOf(Child(dialog, "Edit")), "Line one\r\nLine two\r\nLine three");
  HWND next = Child(dialog, "Button", "&Next");
  EXPECT_TRUE(Enabled(next));
  EXPECT_EQ(CheckState(Child(dialog, "Button", "Accept and continue installation.")), BST_CHECKED);
  Click(next);
  EXPECT_TRUE(Visible(MainWindow()));
}

TEST_F(RunFlowTest, NextIsDisabledUntilAcceptIsSelected) {
  package_.Write("license.txt", "terms");
  Start("[messages]\r\nagreement=license.txt\r\nagree=yes\r\n");
  HWND dialog = WaitForWindow(pid(), "TAgreementForm");
  HWND next = Child(dialog, "Button", "&Next");
  EXPECT_FALSE(Enabled(next));
  EXPECT_EQ(CheckState(Child(dialog, "Button", "Decline.")), BST_CHECKED);
  Click(Child(dialog, "Button", "Accept and continue installation."));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(next); }));
  Click(Child(dialog, "Button", "Decline."));
  EXPECT_TRUE(WaitUntil([&] { return !Enabled(next); }));
  Click(Child(dialog, "Button", "Accept and continue installation."));
  ASSERT_TRUE(WaitUntil([&] { return Enabled(next); }));
  Click(next);
  EXPECT_TRUE(Visible(MainWindow()));
}

TEST_F(RunFlowTest, AgreementRefusedEndsTheProgram) {
  package_.Write("license.txt", "terms");
  ImportReg("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"PS2\"=\"C:\\\\PS2\"\n");
  Start("[messages]\r\nagreement=license.txt\r\nclose=Bye\r\n");
  HWND dialog = WaitForWindow(pid(), "TAgreementForm");
  Click(Child(dialog, "Button", "&Cancel"));
  ExpectEnded();
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kScratchKey));
}

TEST_F(RunFlowTest, EnterRightAfterOpeningRefuses) {
  package_.Write("license.txt", "terms");
  Start("[messages]\r\nagreement=license.txt\r\nagree=1\r\n");
  HWND dialog = WaitForWindow(pid(), "TAgreementForm");
  PressKeyInFocus(dialog, VK_RETURN);
  ExpectEnded();
}

TEST_F(RunFlowTest, MissingAgreementFileIsReportedThenTheWindowShows) {
  Start("[messages]\r\nagreement=missing.txt\r\n");
  MessageBoxSeen report = WaitForMessageBox(pid());
  EXPECT_NE(report.text.find(package_.Path("missing.txt")), std::string::npos) << report.text;
  EXPECT_EQ(report.caption, "Plug-in Setup");
  EXPECT_EQ(report.icon, MessageIcon::kError);
  Answer(report, IDOK);
  EXPECT_TRUE(Visible(MainWindow()));
  EXPECT_EQ(FindTopWindow(pid(), "TAgreementForm") != nullptr && Visible(FindTopWindow(pid(), "TAgreementForm")),
            false);
}

TEST_F(RunFlowTest, CloseConfirmedDeletesTheScratchKeyBeforeTheCloseMessage) {
  ImportReg("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"PS2\"=\"C:\\\\PS2\"\n");
  Start("[messages]\r\nclose=Thank you\r\n");
  HWND main = MainWindow();
  CloseAnswering(main, IDNO);
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kScratchKey));
  CloseAnswering(main, IDYES);
  MessageBoxSeen goodbye = WaitForMessageBox(pid());
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kScratchKey));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Brisquell"));
  EXPECT_EQ(goodbye.text, "Thank you");
  EXPECT_EQ(goodbye.caption, "Plug-in Setup");
  EXPECT_EQ(goodbye.icon, MessageIcon::kInformation);
  Answer(goodbye, IDOK);
  ExpectEnded();
}

TEST_F(RunFlowTest, PresentationComesFromSetupIni) {
  Start(
      "[presentation]\r\nwidth=640\r\nheight=480\r\ncaption=Acme Setup\r\ntitle=Acme\r\nversion=Version 2\r\n"
      "scan.visible=1\r\nscan.caption=Scan\r\n");
  HWND main = MainWindow();
  EXPECT_EQ(TextOf(main), "Acme Setup");
  RECT frame = WindowRect(main);
  EXPECT_EQ(frame.right - frame.left, 640);
  EXPECT_EQ(frame.bottom - frame.top, 480);
  EXPECT_NE(FindChild(main, "Static", "Acme"), nullptr);
  EXPECT_NE(FindChild(main, "Static", "Version 2"), nullptr);
  EXPECT_NE(FindChild(main, "Static", "Select applications to install Acme in..."), nullptr);
  HWND rescan = FindChild(main, "Button", "Scan");
  ASSERT_NE(rescan, nullptr);
  EXPECT_TRUE(Visible(rescan));
}

TEST_F(RunFlowTest, SizesAtOrBelowTheMinimumKeepTheDesign) {
  Start("[presentation]\r\nwidth=400\r\nheight=333\r\ntitle=\r\n");
  HWND main = MainWindow();
  RECT client = ClientRect(main);
  RECT frame = WindowRect(main);
  EXPECT_EQ(client.right, 492);
  // The designed client height, unless the frame is so thin that the window
  // would be lower than its minimum of 333 (as here without a window manager).
  EXPECT_EQ(frame.bottom - frame.top, std::max<LONG>(333, 299 + (frame.bottom - frame.top) - client.bottom));
  EXPECT_GE(client.bottom, 299);
  EXPECT_TRUE(CentredOnScreen(main));
  EXPECT_NE(FindChild(main, "Static", "Select applications to install  in..."), nullptr);
  for (HWND button : Children(main, "Button"))
    EXPECT_FALSE(Visible(button) && TextOf(button).empty() && ClientRect(button).right == 22 &&
                 WindowRect(button).top - WindowRect(main).top < 100)
        << "the rescan button shows without scan.visible";
}

TEST_F(RunFlowTest, PictureThatCannotBeLoadedEndsTheProgram) {
  package_.Write("logo.bmp", "this is not a bitmap");
  Start("[presentation]\r\nbitmap=logo.bmp\r\n");
  MessageBoxSeen report = WaitForMessageBox(pid());
  EXPECT_EQ(report.caption, "Plug-in Setup");
  EXPECT_EQ(report.icon, MessageIcon::kError);
  Answer(report, IDOK);
  ExpectEnded();
}

}  // namespace
}  // namespace setup::ui
