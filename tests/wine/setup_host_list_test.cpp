// Setup.exe lists the hosts of the machine it runs on.

#include "hosts/host_catalogue.h"
#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

struct HostListTest : SetupTest {
  ~HostListTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe");
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe", View::k64);
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\JASC");
  }
};

constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\\\\Plug-Ins\"\n"
    "[HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\PSP5\\\\Filters\"\n"
    "\"Directory2\"=hex(2):43,3a,5c,00\n"
    "\"Directory3\"=dword:00000001\n";

TEST_F(HostListTest, ListsHostsOfThe32BitViewWithTheirFolderAsHint) {
  ImportReg(kMachine);
  // Seen only by a 64-bit program: not listed.
  ImportReg("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\6.0\\PluginPath]\n@=\"C:\\\\PS6\"\n",
            View::k64);
  Start("");
  HWND main = MainWindow();
  HWND list = List(main);
  EXPECT_EQ(ListItemTexts(list),
            (std::vector<std::string>{"Paint Shop Pro 5 by JASC, 1st path", "PhotoShop 7 by Adobe"}));
  EXPECT_EQ(ListChecks(list), (std::vector<bool>{true, true}));
  RECT item = ListItemRect(list, 1);
  EXPECT_TRUE(HoverUntil(list, {item.left + 20, (item.top + item.bottom) / 2}, [&] {
    return StatusText(StatusBar(main)) == "C:\\PS7\\Plug-Ins";
  })) << StatusText(StatusBar(main));
  EXPECT_TRUE(HoverUntil(list, {item.left + 20, (item.bottom + ClientRect(list).bottom) / 2}, [&] {
    return StatusText(StatusBar(main)) == "Check the applications for which you'd like to install";
  })) << StatusText(StatusBar(main));
}

// Every catalogue entry's value, each a folder of its own.
std::string EveryHost() {
  std::string reg = "REGEDIT4\n";
  for (std::size_t i = 0; i < kHostCount; ++i) {
    const HostEntry& entry = HostCatalogue[i];
    reg += entry.Root == RootKey::kCurrentUser ? "[HKEY_CURRENT_USER\\" : "[HKEY_LOCAL_MACHINE\\";
    reg += std::string(entry.KeyPath) + "]\n";
    if (entry.ValueName.empty()) {
      reg += '@';
    } else {
      reg += '"';
      reg += entry.ValueName;
      reg += '"';
    }
    reg += "=\"C:\\\\Hosts\\\\" + std::to_string(i) + "\"\n";
  }
  return reg;
}

struct EveryHostTest : HostListTest {
  ~EveryHostTest() override {
    // Three levels deep, so that shared keys such as Software\Microsoft stay.
    for (const HostEntry& entry : HostCatalogue) {
      std::size_t second = entry.KeyPath.find('\\', 9);
      std::size_t third = second == std::string_view::npos ? second : entry.KeyPath.find('\\', second + 1);
      std::string top(entry.KeyPath.substr(0, third));
      DeleteRegTree(entry.Root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, top);
    }
  }
};

TEST_F(EveryHostTest, ListsTheWholeCatalogueInOrder) {
  ImportReg(EveryHost());
  Start("");
  HWND list = List(MainWindow());
  std::vector<std::string> expected;
  std::vector<bool> ticks;
  for (const HostEntry& entry : HostCatalogue) {
    expected.emplace_back(entry.Description);
    ticks.push_back(entry.Preselect);
  }
  EXPECT_EQ(ListItemTexts(list), expected);
  EXPECT_EQ(ListChecks(list), ticks);
}

TEST_F(EveryHostTest, EnabledSectionOffersOnlyWhatItEnables) {
  ImportReg(EveryHost());
  Start("[enabled]\r\nall=0\r\nPaintShopPro=1\r\npaintshoppro9=0\r\nphotoshop7=1\r\n");
  std::vector<std::string> expected;
  for (const HostEntry& entry : HostCatalogue) {
    bool on = (entry.HostId == "paintshoppro" && entry.VersionId != "paintshoppro9") || entry.VersionId == "photoshop7";
    if (on) expected.emplace_back(entry.Description);
  }
  EXPECT_EQ(ListItemTexts(List(MainWindow())), expected);
}

TEST_F(HostListTest, EnabledSectionLimitsTheList) {
  ImportReg(kMachine);
  Start("[enabled]\r\nall=0\r\nphotoshop=1\r\n[options]\r\nautoselect=0\r\n");
  HWND list = List(MainWindow());
  EXPECT_EQ(ListItemTexts(list), (std::vector<std::string>{"PhotoShop 7 by Adobe"}));
  EXPECT_EQ(ListChecks(list), (std::vector<bool>{false}));
}

TEST_F(HostListTest, NothingFoundTicksTheCustomFolder) {
  Start("[enabled]\r\nall=0\r\n");
  HWND main = MainWindow();
  EXPECT_EQ(ListItemCount(List(main)), 0);
  EXPECT_EQ(CheckState(Child(main, "Button", "Also install in...")), BST_CHECKED);
}

}  // namespace
}  // namespace setup::ui
