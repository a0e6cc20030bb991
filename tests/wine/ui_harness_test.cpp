// The harness proved against ui_stand_in, whose windows are known, before
// it is trusted with Setup.exe.

#include "wine/ui_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace setup::ui {
namespace {

struct HarnessTest : testing::Test {
  Package package_;

  HarnessTest() { package_.CopyIn(TestFile("ui_stand_in.exe"), "stand_in.exe"); }

  RunningProgram& Start(const std::string& arguments) {
    program_ = std::make_unique<RunningProgram>(package_.Path("stand_in.exe"), arguments, package_.folder());
    return *program_;
  }

  // Starts the stand-in's window and waits for it.
  HWND StartWindow() { return WaitForWindow(Start("window").pid(), "TStandIn"); }

  std::unique_ptr<RunningProgram> program_;
};

// Message text as the stand-in takes it: a line break as "\\n".
std::string Escape(const char* text) {
  std::string escaped;
  for (; *text; ++text) escaped += *text == '\n' ? std::string("\\n") : std::string(1, *text);
  return escaped;
}

// A message box style as the stand-in takes it.
std::string StyleArgument(UINT style) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", style);
  return text;
}

TEST_F(HarnessTest, ProgramRunsInThePackageFolderAndReportsItsExitCode) {
  package_.CopyIn(TestFile("ui_stand_in.exe"), "Setup.exe");
  RunningProgram program(package_, "exit 42");
  EXPECT_EQ(program.WaitExit(), 42u);
  EXPECT_FALSE(program.Running());
  std::string folder = package_.folder();
  EXPECT_EQ(package_.Read("cwd.txt"), folder.substr(0, folder.size() - 1));
}

TEST_F(HarnessTest, ProgramStillRunningIsKilledWithTheHarnessObject) {
  HANDLE watch = nullptr;
  {
    RunningProgram program(package_.Path("stand_in.exe"), "window", package_.folder());
    WaitForWindow(program.pid(), "TStandIn");
    EXPECT_EQ(program.WaitExit(100), std::nullopt);
    EXPECT_TRUE(program.Running());
    DuplicateHandle(GetCurrentProcess(), program.process(), GetCurrentProcess(), &watch, SYNCHRONIZE, FALSE, 0);
  }
  EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
  CloseHandle(watch);
}

TEST_F(HarnessTest, MissingWindowIsReportedAfterTheTimeout) {
  RunningProgram& program = Start("window");
  WaitForWindow(program.pid(), "TStandIn");
  EXPECT_EQ(FindTopWindow(program.pid(), "TMainForm"), nullptr);
  try {
    WaitForWindow(program.pid(), "TMainForm", 200);
    ADD_FAILURE() << "no error for a window that never came";
  } catch (const HarnessError& error) {
    EXPECT_NE(std::strstr(error.what(), "TStandIn \"Stand-in\""), nullptr) << error.what();
  }
}

TEST(QuoteArgumentTest, QuotesAsTheRuntimeSplitsArguments) {
  struct Case {
    const char* argument;
    const char* quoted;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"", "\"\""},
      {"two words", "\"two words\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\a b\\", "\"C:\\a b\\\\\""},
      {"C:\\a\\b", "C:\\a\\b"},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteArgument(c.argument), c.quoted) << c.argument;
}

TEST_F(HarnessTest, MessageBoxesAreReadAndAnswered) {
  using enum MessageIcon;
  struct Case {
    UINT style;
    const char* caption;
    const char* text;
    std::vector<std::string> buttons;
    MessageIcon icon;
    int answer;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONERROR, "Plug-in Setup", "Cannot open the file.", {"OK"}, kError, IDOK},
      {MB_YESNO | MB_ICONQUESTION, "Question", "Install anyway?", {"&Yes", "&No"}, kQuestion, IDNO},
      {MB_OKCANCEL | MB_ICONWARNING, "Careful", "One\nTwo", {"OK", "Cancel"}, kWarning, IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONINFORMATION, "Info", "Done.", {"&Yes", "&No", "Cancel"}, kInformation, IDYES},
      {MB_OK, "Plain", "No icon at all.", {"OK"}, kNone, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    RunningProgram& program = Start("msgbox " + StyleArgument(c.style) + " " + QuoteArgument(c.caption) + " " +
                                    QuoteArgument(Escape(c.text)));
    MessageBoxSeen box = WaitForMessageBox(program.pid());
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.buttons, c.buttons);
    EXPECT_STREQ(IconName(box.icon), IconName(c.icon));
    Answer(box, c.answer);
    EXPECT_EQ(program.WaitExit(), static_cast<DWORD>(c.answer));
  }
}

TEST_F(HarnessTest, EnterRightAfterOpeningPressesTheDefaultButton) {
  RunningProgram& box_program = Start("msgbox " + StyleArgument(MB_YESNO | MB_DEFBUTTON2) + " Ask Sure?");
  HWND box = WaitForWindow(box_program.pid(), "#32770");
  PressKeyInFocus(box, VK_RETURN);
  EXPECT_EQ(box_program.WaitExit(), static_cast<DWORD>(IDNO));

  HWND window = StartWindow();
  EXPECT_EQ(FocusedControl(window), Child(window, "Edit"));
  PressKeyInFocus(window, VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window) == "Stand-in: 1 clicks"; })) << TextOf(window);
}

TEST_F(HarnessTest, ControlsAreFoundAndRead) {
  HWND window = StartWindow();
  EXPECT_EQ(ClassOf(window), "TStandIn");
  EXPECT_EQ(TextOf(window), "Stand-in");

  HWND install = Child(window, "Button", "&Install");
  HWND disabled = Child(window, "Button", "Disabled");
  HWND edit = Child(window, "Edit");
  EXPECT_EQ(FindChild(window, "Button", "Install"), nullptr);
  EXPECT_EQ(FindChild(window, [](HWND child) { return GetDlgCtrlID(child) == 104; }), disabled);
  EXPECT_EQ(Children(window, "Button").size(), 4u);
  EXPECT_EQ(TextOf(edit), "C:\\Plugins");
  EXPECT_TRUE(Enabled(install));
  EXPECT_FALSE(Enabled(disabled));
  EXPECT_TRUE(Visible(install));

  RECT outer = WindowRect(window);
  RECT button = WindowRect(install);
  EXPECT_EQ(button.right - button.left, 90);
  EXPECT_EQ(button.bottom - button.top, 26);
  EXPECT_TRUE(button.left > outer.left && button.bottom < outer.bottom);
  RECT client = ClientRect(install);
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.right, 90);

  SetText(edit, "D:\\Filters");
  EXPECT_EQ(TextOf(edit), "D:\\Filters");
}

TEST_F(HarnessTest, ClicksReachTheProgram) {
  HWND window = StartWindow();
  HWND remember = Child(window, "Button", "&Remember");
  EXPECT_EQ(CheckState(remember), BST_UNCHECKED);
  Click(remember);
  EXPECT_TRUE(WaitUntil([&] { return CheckState(remember) == BST_CHECKED; }));

  HWND install = Child(window, "Button", "&Install");
  Click(install);
  Click(install);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window) == "Stand-in: 2 clicks"; })) << TextOf(window);

  Close(window);
  EXPECT_EQ(program_->WaitExit(), 2u << 8 | 1u << 4 | 0b010u);
}

TEST_F(HarnessTest, ClickThatOpensAModalBoxDoesNotBlockTheTest) {
  HWND window = StartWindow();
  Click(Child(window, "Button", "&Ask"));
  MessageBoxSeen box = WaitForMessageBox(program_->pid());
  EXPECT_EQ(box.text, "Proceed?");
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), window);
  Answer(box, IDNO);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Child(window, "Edit")) == "no"; }));
}

TEST_F(HarnessTest, ListViewItemsAreReadAndChecked) {
  HWND window = StartWindow();
  HWND list = Child(window, WC_LISTVIEWA);
  EXPECT_EQ(ListItemCount(list), 3);
  EXPECT_EQ(ListItemTexts(list), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(ListChecks(list), (std::vector<bool>{false, true, false}));

  SetListItemChecked(list, 0, true);
  SetListItemChecked(list, 1, false);
  EXPECT_EQ(ListChecks(list), (std::vector<bool>{true, false, false}));

  RECT first = ListItemRect(list, 0);
  RECT second = ListItemRect(list, 1);
  EXPECT_GT(first.right - first.left, 0);
  EXPECT_EQ(second.top, first.bottom);

  // The program sees the new checks too: its exit code packs them.
  Close(window);
  EXPECT_EQ(program_->WaitExit(), 0b001u);
}

TEST_F(HarnessTest, StatusBarFollowsThePointerOverTheList) {
  HWND window = StartWindow();
  HWND list = Child(window, WC_LISTVIEWA);
  HWND status = Child(window, STATUSCLASSNAMEA);
  EXPECT_EQ(StatusText(status), "Ready");
  for (int item : {2, 0, 1}) {
    RECT rect = ListItemRect(list, item);
    std::string expected = "Item " + std::to_string(item);
    EXPECT_TRUE(HoverUntil(list, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2},
                           [&] { return StatusText(status) == expected; }))
        << "expected " << expected << ", status shows \"" << StatusText(status) << "\"";
  }
  EXPECT_TRUE(HoverUntil(window, {10, 10}, [&] { return StatusText(status).empty(); })) << StatusText(status);
}

TEST_F(HarnessTest, ScreenshotShowsTheWindow) {
  HWND window = StartWindow();
  RECT outer = WindowRect(window);
  POINT mark = {5, 5};  // inside the red square the stand-in paints
  ClientToScreen(window, &mark);
  mark.x -= outer.left;
  mark.y -= outer.top;
  Image image;
  ASSERT_TRUE(WaitUntil([&] {
    image = CaptureWindow(window);
    return image.At(mark.x, mark.y) == 0xFF0000;
  }));
  EXPECT_EQ(image.width, outer.right - outer.left);
  EXPECT_EQ(image.height, outer.bottom - outer.top);
  EXPECT_NE(image.At(mark.x + 40, mark.y), 0xFF0000u);

  std::string path = package_.Path("shots\\stand_in.bmp");
  SaveBmp(image, path);
  std::optional<std::string> bmp = ReadFileBytes(path);
  ASSERT_TRUE(bmp);
  ASSERT_GT(bmp->size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  std::memcpy(&file, bmp->data(), sizeof file);
  std::memcpy(&info, bmp->data() + sizeof file, sizeof info);
  EXPECT_EQ(file.bfType, 0x4D42);
  EXPECT_EQ(file.bfSize, bmp->size());
  EXPECT_EQ(info.biWidth, image.width);
  EXPECT_EQ(info.biHeight, image.height);
  EXPECT_EQ(info.biBitCount, 24);
  // Rows are stored bottom up, each padded to four bytes.
  size_t row = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  size_t at = file.bfOffBits + (image.height - 1 - mark.y) * row + mark.x * 3;
  EXPECT_EQ(bmp->substr(at, 3), std::string("\x00\x00\xFF", 3));
}

struct RegistryHelpersTest : testing::Test {
  static constexpr char kKey[] = "Software\\PluginSetupHarnessTest";
  RegistryHelpersTest() { Clean(); }
  ~RegistryHelpersTest() override { Clean(); }
  void Clean() {
    DeleteRegTree(HKEY_LOCAL_MACHINE, kKey, View::k32);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kKey, View::k64);
  }
};

TEST_F(RegistryHelpersTest, ImportWritesIntoTheNamedViewOnly) {
  ImportReg(
      "REGEDIT4\n\n"
      "[HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\Host]\n"
      "\"Path\"=\"C:\\\\Program Files\\\\Host\"\n"
      "\"Count\"=dword:0000002a\n"
      "\"Raw\"=hex:01,02,03\n",
      View::k32);
  ImportReg(
      "REGEDIT4\n\n"
      "[HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\Other]\n"
      "@=\"sixty-four\"\n",
      View::k64);

  std::string host = std::string(kKey) + "\\Host";
  std::optional<RegValue> path = ReadRegValue(HKEY_LOCAL_MACHINE, host, "Path");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(path->Text(), "C:\\Program Files\\Host");
  EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, host, "Count").value_or(RegValue{}).Dword(), 42u);
  EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, host, "Raw").value_or(RegValue{}).data, "\x01\x02\x03");
  EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, host, "Missing"), std::nullopt);

  // The 32-bit view is Wow6432Node as the 64-bit side sees it.
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, host, View::k32));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, host, View::k64));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\PluginSetupHarnessTest\\Host", View::k64));
  std::string other = std::string(kKey) + "\\Other";
  EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, other, "", View::k64).value_or(RegValue{}).Text(), "sixty-four");
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, other, View::k32));

  DeleteRegTree(HKEY_LOCAL_MACHINE, kKey, View::k32);
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kKey, View::k32));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, other, View::k64));
}

TEST_F(RegistryHelpersTest, ImportAppliesDeletions) {
  ImportReg("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\A\\B]\n\"X\"=\"1\"\n\"Y\"=\"2\"\n");
  ImportReg(
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\A]\n\"X\"=-\n"
      "[HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\A\\B]\n\"Y\"=-\n");
  std::string b = std::string(kKey) + "\\A\\B";
  EXPECT_TRUE(ReadRegValue(HKEY_LOCAL_MACHINE, b, "X"));
  EXPECT_FALSE(ReadRegValue(HKEY_LOCAL_MACHINE, b, "Y"));
  ImportReg("REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\Software\\PluginSetupHarnessTest\\A]\n");
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, b));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kKey));
}

TEST(PackageTest, FolderIsFreshAndHoldsTheFilesWritten) {
  std::string stale;
  {
    Package first("PackageTest.Fresh");
    first.Write("Plugins\\Leftover.8bf", "old");
    stale = first.Path("Plugins\\Leftover.8bf");
    SetFileAttributesA(stale.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  Package package("PackageTest.Fresh");
  EXPECT_EQ(package.folder(), "C:\\pkg\\PackageTest.Fresh\\");
  EXPECT_FALSE(ReadFileBytes(stale));
  package.Write("setup.ini", "[Setup]\r\nName=Filter\r\n");
  package.Write("Plugins\\Sub\\f.8bf", std::string("\0\x01\xFF", 3));
  package.CopyIn(TestFile("ui_stand_in.exe"), "Tools\\copy.exe");
  EXPECT_EQ(package.Read("setup.ini"), "[Setup]\r\nName=Filter\r\n");
  EXPECT_EQ(package.Read("Plugins\\Sub\\f.8bf"), std::string("\0\x01\xFF", 3));
  EXPECT_EQ(package.Read("Tools\\copy.exe").value_or("").substr(0, 2), "MZ");
  EXPECT_EQ(package.Read("missing.txt"), std::nullopt);
  EXPECT_EQ(Package().folder(), "C:\\pkg\\PackageTest.FolderIsFreshAndHoldsTheFilesWritten\\");
}

TEST(FolderLinkTest, LinksAreListedAsReparsePointsAndRemovedWithoutTheirTargets) {
  const std::string tree = "C:\\pkgdata\\links";
  const std::string outside = "C:\\pkgdata\\links-outside";
  RemoveTree(tree);
  RemoveTree(outside);
  WriteFileBytes(outside + "\\kept.txt", "kept");
  MakeFolders(tree);
  MakeFolderLink(tree + "\\out", outside);
  MakeFolderLink(tree + "\\loop", tree);
  EXPECT_TRUE(IsFolderLink(tree + "\\out"));
  EXPECT_FALSE(IsFolderLink(outside));
  EXPECT_EQ(ReadFileBytes(tree + "\\out\\kept.txt"), "kept");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((tree + "\\loop").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_EQ(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

  EXPECT_TRUE(RemoveTree(tree));
  EXPECT_EQ(ReadFileBytes(outside + "\\kept.txt"), "kept");
  EXPECT_TRUE(RemoveTree(outside));
}

}  // namespace
}  // namespace setup::ui
