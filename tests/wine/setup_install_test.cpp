// The whole first run of Setup.exe: hosts listed, a choice made, files installed.

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\Hosts\\\\PS7\"\n"
    "[HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\Hosts\\\\PSP5\"\n"
    "[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"PS2\"=\"C:\\\\Hosts\\\\PS2\"\n";

constexpr char kSetupIni[] = "[options]\r\nsubdir=Acme\r\n[files]\r\n1=*.8bf\r\n2=Filters\\c.8bf\r\n";

struct InstallTest : SetupTest {
  InstallTest() {
    RemoveTree("C:\\Hosts");
    RemoveTree("C:\\Custom");
    for (const char* folder : {"C:\\Hosts\\PS7", "C:\\Hosts\\PSP5", "C:\\Hosts\\PS2", "C:\\Custom"})
      MakeFolders(folder);
    package_.Write("a.8bf", "A");
    package_.Write("b.8bf", "B");
    package_.Write("Filters\\c.8bf", "C");
    ImportReg(kMachine);
  }
  ~InstallTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop");
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\JASC");
  }
  static bool Has(const char* path) { return ReadFileBytes(path).has_value(); }
};

TEST_F(InstallTest, FirstRunInstallsIntoTheTickedHostsAndTheCustomFolder) {
  Start(kSetupIni);
  HWND main = MainWindow();
  HWND list = List(main);
  ASSERT_EQ(ListItemTexts(list), (std::vector<std::string>{"Paint Shop Pro 5 by JASC, 1st path", "PhotoShop 2 by Adobe",
                                                           "PhotoShop 7 by Adobe"}));
  SetListItemChecked(list, 0, false);
  SetText(Child(main, "Edit"), "C:\\Custom");
  Click(Child(main, "Button", "Also install in..."));
  WaitUntil([&] { return CheckState(Child(main, "Button", "Also install in...")) == BST_CHECKED; });
  // A destination held open by another program: its copy fails and the run goes on.
  MakeFolders("C:\\Hosts\\PS7\\Acme");
  HANDLE held =
      CreateFileA("C:\\Hosts\\PS7\\Acme\\b.8bf", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Click(Child(main, "Button", "&Install"));

  MessageBoxSeen failure = WaitForMessageBox(pid());
  EXPECT_EQ(failure.caption, "Error!");
  EXPECT_EQ(failure.icon, MessageIcon::kError);
  EXPECT_EQ(failure.text.rfind("The file b.8bf could not be copied.\nError: ", 0), 0u) << failure.text;
  EXPECT_GT(failure.text.size(), std::string("The file b.8bf could not be copied.\nError: ").size());
  HWND progress = FindTopWindow(pid(), "TProgressForm");
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(Visible(progress));
  EXPECT_EQ(TextOf(progress), "Installing, please wait...");
  EXPECT_NE(FindChild(progress, "Static", "PhotoShop 7 by Adobe (2/3)"), nullptr);
  EXPECT_NE(FindChild(progress, "Static", "b.8bf (2/3)"), nullptr);
  EXPECT_FALSE(Enabled(main));
  EXPECT_TRUE(CentredOnScreen(progress));
  // Alt+F4 on the progress window would hide Cancel while the run goes on.
  SendMessageA(progress, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(Visible(progress));
  Answer(failure, IDOK);
  CloseHandle(held);

  MessageBoxSeen done = WaitForMessageBox(pid());
  EXPECT_EQ(done.text, "The installation has completed.\nDo you want to exit the installation program?");
  EXPECT_EQ(done.caption, "Completed!");
  EXPECT_EQ(done.icon, MessageIcon::kInformation);
  EXPECT_FALSE(Visible(progress));
  Answer(done, IDYES);
  ExpectEnded();

  for (const char* file :
       {"C:\\Hosts\\PS2\\Acme\\a.8bf", "C:\\Hosts\\PS7\\Acme\\a.8bf", "C:\\Hosts\\PS7\\Acme\\Filters\\c.8bf",
        "C:\\Custom\\Acme\\b.8bf", "C:\\Custom\\Acme\\Filters\\c.8bf"})
    EXPECT_TRUE(Has(file)) << file;
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\PS7\\Acme\\b.8bf"), "");  // the held file kept its old content
  EXPECT_FALSE(Has("C:\\Hosts\\PSP5\\Acme\\a.8bf"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kScratchKey));
}

TEST_F(InstallTest, NoTargetIsAnErrorAndNothingIsCopied) {
  Start(kSetupIni);
  HWND main = MainWindow();
  HWND list = List(main);
  for (int i = 0; i < ListItemCount(list); ++i) SetListItemChecked(list, i, false);
  Click(Child(main, "Button", "&Install"));
  MessageBoxSeen box = WaitForMessageBox(pid());
  EXPECT_EQ(box.text, "You have not specified any folders.");
  EXPECT_EQ(box.caption, "Error!");
  Answer(box, IDOK);
  EXPECT_TRUE(Enabled(main));
  EXPECT_FALSE(Has("C:\\Hosts\\PS7\\Acme\\a.8bf"));
}

}  // namespace
}  // namespace setup::ui
