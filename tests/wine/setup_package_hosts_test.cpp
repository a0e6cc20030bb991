// Hosts named by the package on the real registry: every version of a
// 64-bit host enumerated in the registry's 64-bit view (which the 32-bit
// build must ask for), a folder named through an environment variable, and
// a catalogue host.

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kPhotoshopKeys[] = "Software\\Adobe\\Photoshop";

// Photoshop 7 from the catalogue, and two newer versions whose places are
// in the 64-bit view; the 32-bit view holds a decoy at one of their keys.
constexpr char kMachine32[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\Hosts\\\\PS7\"\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\190.0]\n\"ApplicationPath\"=\"C:\\\\Hosts\\\\Decoy32\\\\\"\n";
constexpr char kMachine64[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n\"ApplicationPath\"=\"C:\\\\Hosts\\\\PS 2025\\\\\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Photoshop\\180.0]\n\"ApplicationPath\"=\"C:\\\\Hosts\\\\PS 2024\\\\\"\n";

constexpr char kSetupIni[] =
    "[options]\r\nsubdir=Acme\r\n"
    "[hosts]\r\n"
    "psnew=%FOLDER%\r\n"
    "cc=Shared Adobe plug-ins folder (64-bit)\r\n"
    "[host.psnew]\r\n"
    "registry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\n"
    "view=64\r\n"
    "append=Plug-ins\r\n"
    "files=files64\r\n"
    "[host.cc]\r\n"
    "folder=%CommonProgramW6432%\\Adobe\\Plug-Ins\\CC\r\n"
    "files=files64\r\n"
    "subdir=0\r\n"
    "[files64]\r\n"
    "1=x64\\*.8bf\r\n"
    "[files]\r\n"
    "1=*.8bf\r\n";

struct PackageHostsTest : SetupTest {
  PackageHostsTest() {
    char common[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("CommonProgramW6432", common, MAX_PATH);
    if (length > 0 && length < MAX_PATH) shared_ = std::string(common) + "\\Adobe\\Plug-Ins\\CC";
    Clean();
    for (const char* folder :
         {"C:\\Hosts\\PS7", "C:\\Hosts\\PS 2024\\Plug-ins", "C:\\Hosts\\PS 2025\\Plug-ins", "C:\\Hosts\\Decoy32"})
      MakeFolders(folder);
    if (!shared_.empty()) MakeFolders(shared_);
    package_.Write("a.8bf", "32-bit");
    package_.Write("x64\\a.8bf", "64-bit");
    ImportReg(kMachine32, View::k32);
    ImportReg(kMachine64, View::k64);
  }
  ~PackageHostsTest() override { Clean(); }
  void Clean() {
    DeleteRegTree(HKEY_LOCAL_MACHINE, kPhotoshopKeys, View::k32);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kPhotoshopKeys, View::k64);
    RemoveTree("C:\\Hosts");
    if (!shared_.empty()) RemoveTree(shared_);
  }
  std::string shared_;  // the shared folder as the system names it
};

TEST_F(PackageHostsTest, EachVersionAndHostGetsItsOwnFilesBesideACatalogueHost) {
  ASSERT_FALSE(shared_.empty()) << "the system sets no CommonProgramW6432";
  Start(kSetupIni);
  HWND main = MainWindow();
  HWND list = List(main);
  // The versions in their order, each under the name of its folder.
  ASSERT_EQ(ListItemTexts(list), (std::vector<std::string>{"PhotoShop 7 by Adobe", "PS 2024", "PS 2025",
                                                           "Shared Adobe plug-ins folder (64-bit)"}));
  for (int item = 0; item < 4; ++item) EXPECT_TRUE(ListItemChecked(list, item)) << item;
  Click(Child(main, "Button", "&Install"));

  // The first box is the completion question: no error on the way.
  MessageBoxSeen done = WaitForMessageBox(pid());
  EXPECT_EQ(done.text, "The installation has completed.\nDo you want to exit the installation program?");
  Answer(done, IDYES);
  ExpectEnded();

  struct Expected {
    std::string file;
    std::optional<std::string> content;  // nothing: must not be there
  } expected[] = {
      {"C:\\Hosts\\PS7\\Acme\\a.8bf", "32-bit"},
      {"C:\\Hosts\\PS7\\Acme\\x64\\a.8bf", std::nullopt},
      {"C:\\Hosts\\PS 2024\\Plug-ins\\Acme\\x64\\a.8bf", "64-bit"},
      {"C:\\Hosts\\PS 2025\\Plug-ins\\Acme\\x64\\a.8bf", "64-bit"},
      {"C:\\Hosts\\PS 2025\\Plug-ins\\Acme\\a.8bf", std::nullopt},
      {"C:\\Hosts\\Decoy32\\Plug-ins\\Acme\\x64\\a.8bf", std::nullopt},
      {shared_ + "\\x64\\a.8bf", "64-bit"},
      {shared_ + "\\Acme\\x64\\a.8bf", std::nullopt},
  };
  for (const Expected& e : expected) EXPECT_EQ(ReadFileBytes(e.file), e.content) << e.file;
  // Nothing of these hosts went through the scratch key.
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kScratchKey));
}

}  // namespace
}  // namespace setup::ui
