// SetupCheck.exe --hosts lists what Setup.exe lists, and writes nothing.

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

// A host of its own registry value, one that a special detector finds
// (Painter IX through its application path) and one that an earlier run
// left under the scratch key.
constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\\\\Plug-Ins\"\n"
    "[HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\PSP5\\\\Filters\"\n\"Directory2\"=\"C:\\\\PSP5\\\\More\"\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter IX.exe]\n"
    "\"Path\"=\"C:\\\\Painter\\\\\"\n"
    "[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"AFX41\"=\"C:\\\\AfterFX\"\n";

// Every value below a key, with its sub-keys, as "path\name=type:data".
void CollectValues(HKEY root, const std::string& path, std::vector<std::string>& values) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return;
  char name[256];
  BYTE data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
    values.push_back(path + "\\" + std::string(name, name_size) + "=" + std::to_string(type) + ":" +
                     std::string(reinterpret_cast<char*>(data), data_size));
  }
  std::vector<std::string> sub_keys;
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    sub_keys.emplace_back(name, name_size);
  }
  RegCloseKey(key);
  values.push_back(path + "\\");
  for (const std::string& sub_key : sub_keys) CollectValues(root, path + "\\" + sub_key, values);
}

std::vector<std::string> Snapshot() {
  std::vector<std::string> values;
  for (const char* path : {"Software\\Brisquell", "Software\\JASC"}) CollectValues(HKEY_CURRENT_USER, path, values);
  for (const char* path : {"Software\\Adobe", "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"})
    CollectValues(HKEY_LOCAL_MACHINE, path, values);
  return values;
}

// The hosts of SetupCheck's JSON, one object a line: "[x] description".
std::vector<std::string> HostsOf(const std::string& json) {
  std::vector<std::string> hosts;
  const std::string description = "{\"description\": \"";
  for (std::size_t at = json.find(description); at != std::string::npos; at = json.find(description, at + 1)) {
    std::string text;
    std::size_t i = at + description.size();
    for (; i < json.size() && json[i] != '"'; ++i) {
      if (json[i] == '\\') ++i;
      text += json[i];
    }
    bool ticked = json.compare(i, 19, "\", \"ticked\": true, ") == 0;
    hosts.push_back((ticked ? "[x] " : "[ ] ") + text);
  }
  return hosts;
}

struct SetupCheckTest : SetupTest {
  ~SetupCheckTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe");
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe", View::k64);
    RemoveTree("C:\\CheckHosts");
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter IX.exe");
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\JASC");
  }
};

TEST_F(SetupCheckTest, HostListIsTheInstallersAndTheRegistryStaysAsItWas) {
  ImportReg(kMachine);
  // Two hosts the package names: one in the 64-bit view, one by its folder.
  ImportReg(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n"
      "\"ApplicationPath\"=\"C:\\\\CheckHosts\\\\PS\\\\\"\n",
      View::k64);
  MakeFolders("C:\\CheckHosts\\PS");
  MakeFolders("C:\\CheckHosts\\CC");
  package_.Write("setup.ini",
                 "[options]\r\nsubdir=Acme\r\n[enabled]\r\npaintshoppro5=1\r\nall=1\r\n"
                 "[hosts]\r\ncc=Shared plug-ins (64-bit)\r\nps64=Photoshop (64-bit)\r\ngone=Not installed\r\n"
                 "[host.cc]\r\nfolder=C:\\CheckHosts\\CC\r\nselect=0\r\n"
                 "[host.ps64]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0|ApplicationPath\r\nview=64\r\n"
                 "append=Plug-ins\r\n[host.gone]\r\nfolder=C:\\CheckHosts\\Gone\r\n");
  std::vector<std::string> before = Snapshot();
  ConsoleRun check =
      RunConsole(TestFile("SetupCheck.exe"), QuoteArgument(package_.folder()) + " --hosts --json", package_.folder());
  EXPECT_EQ(check.exit_code, 0u) << check.output;
  EXPECT_EQ(Snapshot(), before);
  std::vector<std::string> listed = HostsOf(check.output);
  EXPECT_EQ(listed, (std::vector<std::string>{"[x] After FX 4.1 by Adobe", "[x] Painter IX by Corel",
                                              "[x] Paint Shop Pro 5 by JASC, 1st path",
                                              "[ ] Paint Shop Pro 5 by JASC, 2nd path", "[x] PhotoShop 7 by Adobe",
                                              "[ ] Shared plug-ins (64-bit)", "[x] Photoshop (64-bit)"}))
      << check.output;
  EXPECT_NE(check.output.find("\"install_folder\": \"C:\\\\Painter\\\\Plugins\\\\Acme\\\\\", "
                              "\"source\": \"special detector\""),
            std::string::npos)
      << check.output;
  EXPECT_NE(check.output.find("\"install_folder\": \"C:\\\\CheckHosts\\\\PS\\\\Plug-ins\\\\Acme\\\\\", "
                              "\"source\": \"package host\""),
            std::string::npos)
      << check.output;

  Start("");
  HWND list = List(MainWindow());
  std::vector<std::string> shown;
  std::vector<bool> ticks = ListChecks(list);
  std::vector<std::string> texts = ListItemTexts(list);
  for (std::size_t i = 0; i < texts.size(); ++i) shown.push_back((ticks[i] ? "[x] " : "[ ] ") + texts[i]);
  EXPECT_EQ(shown, listed);
  // Setup.exe itself does store what the detector found.
  EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kScratchKey, "Pt9").has_value());
  CloseAnswering(MainWindow(), IDYES);
  ExpectEnded();
}

TEST_F(SetupCheckTest, ReportsAMistakeWithItsLineAndStatus) {
  package_.Write("setup.ini", "[options]\r\nautoselect=no\r\n[files]\r\n1=a.8bf\r\n");
  package_.Write("a.8bf", "filter");
  ConsoleRun check = RunConsole(TestFile("SetupCheck.exe"), QuoteArgument(package_.folder()), package_.folder());
  EXPECT_EQ(check.exit_code, 1u);
  EXPECT_EQ(check.output.substr(0, check.output.find('\n')),
            "setup.ini:2: warning: [options] autoselect=no does not switch it off: only \"0\" does "
            "(write autoselect=0)\r");
}

}  // namespace
}  // namespace setup::ui
