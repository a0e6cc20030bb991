// Setup.exe finds hosts through its special detectors: registry values put
// together, PHOTO-PAINT workspace ini files and the hosts' preference files.

#include <map>
#include <vector>

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kData[] = "C:\\pkgdata\\detectors";
constexpr char kFireworks8[] = "C:\\pkgdata\\detectors\\AppData\\Macromedia\\Fireworks 8";
constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr const char* kLoopLinks[] = {"Loop A", "Loop B", "Loop C"};

// A host of every detector, as a 32-bit program sees the registry.
constexpr char kMachine[] = R"(REGEDIT4
[HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FreeHand\8\Installation]
"InstallPath"="C:\\FH8"
[HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FreeHand\8\English]
"XtrasDir"="Xtras"
[HKEY_CURRENT_USER\Software\Computerinsel\PhotoLine\Settings]
"PlugInPath"="1;C:\\PL"
"PlugInPath2"="ab"
[HKEY_CURRENT_USER\Software\Microsoft\PhotoDraw\1.0]
"InstallDest"="C:\\PD\\"
[HKEY_CURRENT_USER\Software\Microsoft\PhotoDraw\1.0\Settings]
"AdditionalPlugInPath"="C:\\PD2"
[HKEY_CURRENT_USER\Software\Corel\Corel PHOTO-PAINT\9]
"LastWorkspaceUsed"="C:\\pkgdata\\detectors\\WS9\\Main.cpw"
[HKEY_CURRENT_USER\Software\Corel\CorelDraw\12.0\CorelPHOTO-PAINT]
"LastWorkspaceUsed"="C:\\pkgdata\\detectors\\WS12\\Main.cpw"
[HKEY_LOCAL_MACHINE\Software\Ulead Systems\Ulead PhotoImpact\10.0\installer]
"Path"="C:\\PI10"
[HKEY_LOCAL_MACHINE\Software\Ulead Systems\Ulead PhotoImpact\13.0\installer]
"Path"="C:\\PI13\\"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\Painter 10.exe]
"Path"="C:\\P10\\"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\Painter X.exe]
"Path"="C:\\PX\\"
[HKEY_LOCAL_MACHINE\Software\Macromedia\Fireworks\8\Installation]
"InstallPath"="C:\\FW8\\"
[HKEY_LOCAL_MACHINE\Software\Macromedia\Fireworks\7\Installation]
"InstallPath"="C:\\FW7\\"
[HKEY_LOCAL_MACHINE\Software\Xara\XtremePro\5]
"XaraX Root Dir"="C:\\X5"
[HKEY_LOCAL_MACHINE\Software\Xara\XtremePro\5.1]
"XaraX Root Dir"="C:\\X51\\"
)";

struct DetectorsTest : SetupTest {
  DetectorsTest() {
    CleanUp();
    ImportReg(kMachine);
  }
  ~DetectorsTest() override { CleanUp(); }
  void CleanUp() {
    RemoveTree(kData);
    for (const char* key : {"Software\\Macromedia", "Software\\Ulead Systems", "Software\\Xara"})
      DeleteRegTree(HKEY_LOCAL_MACHINE, key);
    for (const char* program : {"Painter 10.exe", "Painter X.exe"})
      DeleteRegTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + program);
    for (const char* key : {"Software\\Computerinsel", "Software\\Microsoft\\PhotoDraw", "Software\\Corel"})
      DeleteRegTree(HKEY_CURRENT_USER, key);
  }
  static std::optional<std::string> Scratch(const char* name) {
    std::optional<RegValue> value = ReadRegValue(HKEY_CURRENT_USER, kScratchKey, name);
    if (!value) return std::nullopt;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
    return value->Text();
  }

  AppDataFolder app_data_{std::string(kData) + "\\AppData"};
};

TEST_F(DetectorsTest, ListsTheHostsEveryDetectorFinds) {
  std::string data = kData;
  WriteFileBytes(data + "\\WS9\\Main\\photopnt.ini", "[PluginFilters]\r\nDirs1=C:\\PP9;00\r\n");
  WriteFileBytes(data + "\\WS12\\Main\\CorelPP.ini", "[pluginfilters]\r\ndirs2 = C:\\PP12\\*.*\r\nDirs3=ab\r\n");
  // Fireworks 8 is the newest: its file is searched for; version 7's is never read.
  WriteFileBytes(std::string(kFireworks8) + "\\Zh\\Fireworks 8 Preferences.txt",
                 "<key>ExtraPhotoshopPluginsDir</key>\r\n\t<string>C:\\FW8 Extra</string>\r\n"
                 "<key>UseExtraPhotoshopPluginsDir</key>\r\n<bool>true</bool>\r\n");
  WriteFileBytes(data + "\\AppData\\Macromedia\\Fireworks 7\\Fireworks 7 Preferences.txt",
                 "<key>UseExtraPhotoshopPluginsDir</key>\n<bool>true</bool>\n"
                 "<key>ExtraPhotoshopPluginsDir</key>\n<string>C:\\FW7</string>\n");
  WriteFileBytes(data + "\\AppData\\Deneba\\Canvas9\\CVAppData.set", "(PPRF:plugInPath1,6)=\"C:\\CV9\"\r\n");
  WriteFileBytes(data + "\\AppData\\ACD Systems\\Canvas 12\\CVAppData.set",
                 "(PPRF:plugInPath2,7)=\"C:\\CV12\"\r\n(PPRF:plugInPath3,2)=\"C:\\\"\r\n");
  // A folder in place of Canvas 11's file.
  MakeFolders(data + "\\AppData\\ACD Systems\\Canvas 11\\CVAppData.set");

  Start("");
  HWND list = List(MainWindow());
  EXPECT_EQ(ListItemTexts(list), (std::vector<std::string>{
                                     "Canvas 9 by Deneba/ACD Systems",
                                     "Canvas 12 by ACD Systems",
                                     "FireWorks 8 by MacroMedia",
                                     "Freehand 8 by MacroMedia",
                                     "Painter X by Corel",
                                     "PhotoDraw 2000 by Microsoft, 1st path",
                                     "PhotoDraw 2000 by Microsoft, 2nd path",
                                     "PhotoImpact 10 by Ulead, standard",
                                     "PhotoImpact X3 by Corel, standard",
                                     "PhotoLine32 5/6 by Computerinsel, 1st path",
                                     "PhotoPaint 9 by Corel, 1st path",
                                     "PhotoPaint 12 by Corel, 2nd path",
                                     "Xara Xtreme Pro 5 by Xara, main path",
                                     "Xara Xtreme Pro 5.1 by Xara, main path",
                                 }));
  EXPECT_EQ(ListChecks(list),
            (std::vector<bool>{true, true, true, true, true, true, false, true, true, true, true, false, true, true}));

  const std::map<std::string, std::string> stored = {
      {"Cv9", "C:\\CV9"},
      {"Cv12", "C:\\CV12"},
      {"Fw8", "C:\\FW8 Extra"},
      {"Fh8", "C:\\FH8\\Xtras"},
      {"Pt10", "C:\\PX\\Plugins"},
      {"PD2KP1", "C:\\PD\\PhotoDraw\\PlugIns"},
      {"PD2KP2", "C:\\PD2"},
      {"Pi10", "C:\\PI10\\plugin"},
      {"Pi13", "C:\\PI13\\plugin"},
      {"Pl5P1", "C:\\PL"},
      {"PP9P1", "C:\\PP9"},
      {"PP12P2", "C:\\PP12\\"},
      {"PP12P3", ""},
      {"XXPrP5", "C:\\X5Xara Picture Editor\\PSplug-ins"},
      {"XXPrP51", "C:\\X51\\Xara Picture Editor\\PSplug-ins"},
  };
  for (const auto& [name, folder] : stored) EXPECT_EQ(Scratch(name.c_str()), folder) << name;
  for (const char* name : {"Fw7", "Pl5P2", "Cv10", "Cv11", "Pt9", "Pt11", "Pi85", "XX", "PP9P2"})
    EXPECT_EQ(Scratch(name), std::nullopt) << name;
  CloseAnswering(MainWindow(), IDYES);
  ExpectEnded();
}

TEST_F(DetectorsTest, FolderLinksBackUpTheTreeDoNotHoldUpTheSearch) {
  // Three links back to the search folder and no preference file: entered,
  // they would make the search tree grow threefold at every level, and the
  // main window would never appear.
  MakeFolders(std::string(kFireworks8) + "\\English");
  for (const char* link : kLoopLinks) MakeFolderLink(std::string(kFireworks8) + "\\" + link, kFireworks8);
  Start("[enabled]\r\nall=0\r\nfireworks=1\r\n");
  EXPECT_EQ(ListItemCount(List(MainWindow())), 0);
  EXPECT_EQ(Scratch("Fw8"), std::nullopt);
  EXPECT_EQ(Scratch("Fw7"), std::nullopt);
}

}  // namespace
}  // namespace setup::ui
