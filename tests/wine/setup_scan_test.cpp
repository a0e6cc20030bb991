// Setup.exe scans the fixed drives for host files, at start-up and on Rescan.

#include <algorithm>
#include <chrono>
#include <cstring>
#include <regex>
#include <set>

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

// The tree lies on drive C: and is walked there too; drive R: comes later,
// so what it holds is what remains.
constexpr char kTree[] = "C:\\scanroot\\";
constexpr char kDrive = 'R';

// One file of every kind the scan recognises, each in a folder of its own
// below R:\Hosts\, and each such folder with a sub-folder deeper down.
const std::pair<const char*, const char*> kHostFiles[] = {
    {"PD\\PD.INI", "[PhotoDeluxe 1.0]\r\nPLUGINDIRECTORY=R:\\Hosts\\PD\\Plug-Ins\r\n"},
    {"PS2\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=R:\\Hosts\\PS2\\Plug-Ins\r\n"},
    {"PS3\\Photos30.ini", "[Photoshop]\r\nPlugInDirectory=R:\\Hosts\\PS3\\Plug-Ins\r\n"},
    {"PS4\\PHOTOS40.INI", "[PHOTOSHOP]\r\nplugindirectory = R:\\Hosts\\PS4\\Plug-Ins \r\n"},
    {"IEP\\iep.ini", "[Settings]\r\nPlugin Path=R:\\Hosts\\IEP\\Filters\\\r\n"},
    {"XRes\\xres.ini", "[Main]\r\nPluginDirectory=R:\\Hosts\\XRes\\Plug\r\n"},
    {"PI\\ulead32.ini",
     "[PLUG IN]\r\nUseDir1=0\r\nPLUGINDIR1=R:\\No\r\nUseDir2=0x1\r\nPLUGINDIR2=R:\\Hosts\\PI\\P2\r\n"},
    {"QFX\\qfxwin.ini", "[Paths]\r\nPluginFilePath, \"R:\\Hosts\\QFX\\Plugins\" ;end\r\n"},
    {"Prem\\Premiere.exe", ""},
    {"AE\\AfterFX.exe", ""},
    {"DD\\darkroom.exe", ""},
    {"ImageN\\imagen.exe", ""},
    {"ImageN\\plugdirs.cfg", "R:\\Hosts\\ImageN\\One\r\n\r\nR:\\Hosts\\ImageN\\Three\r\n"},
    {"AI\\AIPrefs", "/plugins {\n\t/name (R:\\\\Hosts\\\\AI\\\\Plug-ins)\n}\n"},
    {"FW\\Fireworks 4 Preferences.txt", "(ExtraPhotoshopPluginsDir) \"R:\\Hosts\\FW\\Filters\"\n"},
};
const char* const kHostFolders[] = {"Prem\\Plugins", "AE\\Plug-ins", "DD\\DDStuff\\Plugins"};

// The scratch values the scan leaves, and the hosts listed from them in
// catalogue order (Preselect decides the ticks).
const std::pair<const char*, const char*> kStored[] = {
    {"PDL", "R:\\Hosts\\PD\\Plug-Ins"},
    {"PS2", "R:\\Hosts\\PS2\\Plug-Ins"},
    {"PS3", "R:\\Hosts\\PS3\\Plug-Ins"},
    {"PS4", "R:\\Hosts\\PS4\\Plug-Ins"},
    {"IEP4", "R:\\Hosts\\IEP\\Filters\\"},
    {"xR2", "R:\\Hosts\\XRes\\Plug"},
    {"PiP2", "R:\\Hosts\\PI\\P2"},
    {"QFX7", "R:\\Hosts\\QFX\\Plugins"},
    {"Pm42", "R:\\Hosts\\Prem\\plugins\\"},
    {"AFX41", "R:\\Hosts\\AE\\plug-ins\\"},
    {"DD", "R:\\Hosts\\DD\\DDStuff\\Plugins\\"},
    {"INP1", "R:\\Hosts\\ImageN\\One"},
    {"INP3", "R:\\Hosts\\ImageN\\Three"},
    {"I7", "R:\\Hosts\\AI\\Plug-ins"},
    {"Fw4", "R:\\Hosts\\FW\\Filters"},
};
const std::pair<const char*, bool> kListed[] = {
    {"After FX 4.1 by Adobe", true},
    {"Digital Darkroom by MicroFrontier", true},
    {"FireWorks 4 by MacroMedia", true},
    {"Illustrator 7 by Adobe", true},
    {"Image Explorer Pro 4 by CDH Productions", true},
    {"imageN by PS, 1st path", true},
    {"imageN by PS, 3rd path", false},
    {"PhotoDeLuxe by Adobe", true},
    {"PhotoImpact by Ulead, 2nd path", false},
    {"PhotoShop 2 by Adobe", true},
    {"PhotoShop 3 by Adobe", true},
    {"PhotoShop 4 by Adobe", true},
    {"Premiere 4.2 by Adobe", true},
    {"QFX 7.0/8.0 by Tolvane", true},
    {"xRes 2 by MacroMedia", true},
};

std::vector<std::string> ListedTexts() {
  std::vector<std::string> texts;
  for (const auto& [text, ticked] : kListed) texts.push_back(text);
  return texts;
}

constexpr char kFireworks4[] =
    "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Macromedia\\Fireworks\\4\\Installation]\n"
    "\"InstallPath\"=\"R:\\\\Hosts\\\\FW\"\n";

// Enough empty folders that a scan lasts long enough to be watched.
constexpr int kBulkFolders = 1500;
// A whole scan takes a few seconds, many times that on a loaded machine:
// the deadline only ends a wait for a scan that would never end. A scan that
// followed the link loop would store the folders of the hosts met through
// it, which ExpectHostsFound refuses.
constexpr std::chrono::minutes kScanTimeLimit{5};
constexpr DWORD kScanTimeLimitMs = 5 * 60 * 1000;

// A window of the class in the process, visible or not; null when none.
HWND WindowOfProcess(DWORD pid, const char* class_name) {
  for (HWND window = FindWindowExA(nullptr, nullptr, class_name, nullptr); window;
       window = FindWindowExA(nullptr, window, class_name, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) return window;
  }
  return nullptr;
}

// The text of a label that changes while it is read: one WM_GETTEXT, since
// a length asked first may belong to the text before. Nothing when the
// program did not answer (it handles its messages only now and then).
std::optional<std::string> ChangingText(HWND label) {
  char text[1024] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                           kDefaultTimeoutMs, &got))
    return std::nullopt;
  return std::string(text, std::min<size_t>(got, sizeof text - 1));
}

// What the test sees of a running scan, polled from outside.
struct ScanSeen {
  bool shown = false;
  bool ended = false;                 // hidden again within the time
  bool main_visible = false;          // at any time while the scan window showed
  bool main_enabled = false;          // likewise
  bool answered_during_scan = false;  // the main window answered a message while the scan went on
  bool centred = false;               // when first seen
  std::string caption;
  std::set<std::string> labels;
  double seconds = 0;
};

struct ScanTest : SetupTest {
  // The folders are made once: thousands of them take seconds under Wine.
  static void SetUpTestSuite() {
    RemoveTree(kTree);
    for (const auto& [path, bytes] : kHostFiles) {
      std::string folder(path);
      MakeFolders(std::string(kTree) + "Hosts\\" + folder.substr(0, folder.find('\\')) + "\\Deeper\\Deepest");
    }
    for (const char* folder : kHostFolders) MakeFolders(std::string(kTree) + "Hosts\\" + folder);
    for (int i = 0; i < kBulkFolders; ++i) MakeFolders(std::string(kTree) + "Bulk\\" + std::to_string(i));
    // A link back to the top: followed, it would walk the tree again and
    // again. It sorts after every host folder, so that the hosts met through
    // it would be the last met and their folders the ones stored.
    MakeFolders(std::string(kTree) + "Hosts\\ZLoop");
    MakeFolderLink(std::string(kTree) + "Hosts\\ZLoop\\Back", kTree);
  }
  static void TearDownTestSuite() { RemoveTree(kTree); }

  ScanTest() {
    for (const auto& [path, bytes] : kHostFiles) WriteFileBytes(std::string(kTree) + "Hosts\\" + path, bytes);
    ImportReg(kFireworks4);
    drive_ = std::make_unique<MappedDrive>(kDrive, kTree);
  }
  ~ScanTest() override {
    drive_.reset();
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Macromedia");
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe");
  }

  // Watches the scan window of the program from the moment it shows until
  // it hides again.
  ScanSeen WatchScan(HWND main) {
    ScanSeen seen;
    HWND scan = nullptr;
    if (!WaitUntil([&] { return (scan = FindTopWindow(pid(), "TScanProgressForm")) != nullptr; }, kScanTimeLimitMs))
      return seen;
    auto start = std::chrono::steady_clock::now();
    seen.shown = true;
    seen.caption = TextOf(scan);
    seen.centred = CentredOnScreen(scan);
    HWND label = Child(scan, "Static");
    while (std::chrono::steady_clock::now() - start < kScanTimeLimit) {
      // The main window is read before the scan window: the program disables
      // it before the scan window shows and enables it after that hides, so
      // "enabled, then still visible" can only mean both at once.
      bool main_visible = IsWindowVisible(main);
      bool main_enabled = IsWindowEnabled(main);
      if (!IsWindowVisible(scan)) break;
      seen.main_visible = seen.main_visible || main_visible;
      seen.main_enabled = seen.main_enabled || main_enabled;
      // An answer that came while the scan window still shows came from a
      // scan that handles its messages.
      DWORD_PTR ignored = 0;
      if (SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &ignored) &&
          IsWindowVisible(scan))
        seen.answered_during_scan = true;
      if (std::optional<std::string> text = ChangingText(label)) seen.labels.insert(*text);
      Sleep(10);
    }
    seen.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    seen.ended = !IsWindowVisible(scan);
    return seen;
  }

  void ExpectHostsFound(HWND main) {
    for (const auto& [name, folder] : kStored) {
      std::optional<RegValue> value = ReadRegValue(HKEY_CURRENT_USER, kScratchKey, name);
      ASSERT_TRUE(value.has_value()) << name;
      EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
      EXPECT_EQ(value->Text(), folder) << name;
    }
    std::vector<bool> ticks;
    for (const auto& [text, ticked] : kListed) ticks.push_back(ticked);
    EXPECT_EQ(ListItemTexts(List(main)), ListedTexts());
    EXPECT_EQ(ListChecks(List(main)), ticks);
  }

  // Every label is a full path on a scanned drive, at most two folders deep,
  // or the design text, which shows until the first drive is entered.
  static void ExpectTopLevelLabels(const std::set<std::string>& labels) {
    static const std::regex kTopLevels(R"([CR]:\\([^\\]+\\){0,2})");
    for (const std::string& label : labels)
      EXPECT_TRUE(label == "Drive: C" || std::regex_match(label, kTopLevels)) << label;
  }

  std::unique_ptr<MappedDrive> drive_;
};

TEST_F(ScanTest, AutoscanFindsEveryKindOfHostFileBeforeTheMainWindowShows) {
  Start("[options]\r\nautoscan=1\r\n");
  // The main window exists from the start, hidden until the scan is over.
  HWND hidden_main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (hidden_main = WindowOfProcess(pid(), "TMainForm")) != nullptr; }));
  ScanSeen seen = WatchScan(hidden_main);
  ASSERT_TRUE(seen.shown);
  ASSERT_TRUE(seen.ended) << "the scan ends";
  EXPECT_EQ(seen.caption, "Autodetecting, press ESC to stop...");
  EXPECT_TRUE(seen.centred);
  EXPECT_FALSE(seen.main_visible);
  EXPECT_FALSE(seen.main_enabled);
  EXPECT_TRUE(seen.answered_during_scan) << "the windows handle their messages during the scan";
  ExpectTopLevelLabels(seen.labels);
  EXPECT_TRUE(std::any_of(seen.labels.begin(), seen.labels.end(), [](const std::string& label) {
    return label.rfind("R:\\", 0) == 0;
  })) << "the mapped drive was walked";
  std::printf("autoscan took %.2f s, %zu label texts seen\n", seen.seconds, seen.labels.size());

  HWND main = MainWindow();
  EXPECT_TRUE(Enabled(main));
  ExpectHostsFound(main);
  CloseAnswering(main, IDYES);
  ExpectEnded();
}

TEST_F(ScanTest, RescanWalksAgainWithTheMainWindowDisabled) {
  Start("[presentation]\r\nscan.visible=1\r\nscan.caption=Scan\r\n");
  HWND main = MainWindow();
  EXPECT_TRUE(ListItemTexts(List(main)).empty());
  // Never shown yet: the design text.
  HWND scan_window = WindowOfProcess(pid(), "TScanProgressForm");
  ASSERT_NE(scan_window, nullptr);
  EXPECT_FALSE(IsWindowVisible(scan_window));
  EXPECT_EQ(TextOf(Child(scan_window, "Static")), "Drive: C");

  Click(Child(main, "Button", "Scan"));
  ScanSeen seen = WatchScan(main);
  ASSERT_TRUE(seen.shown);
  ASSERT_TRUE(seen.ended);
  EXPECT_TRUE(seen.main_visible);
  EXPECT_FALSE(seen.main_enabled) << "no click can start other work meanwhile";
  EXPECT_TRUE(seen.answered_during_scan) << "the windows handle their messages during the scan";
  ExpectTopLevelLabels(seen.labels);
  std::printf("rescan took %.2f s, %zu label texts seen\n", seen.seconds, seen.labels.size());

  ASSERT_TRUE(WaitUntil([&] { return Enabled(main); }, kScanTimeLimitMs));
  ExpectHostsFound(main);
  std::string last = TextOf(Child(scan_window, "Static"));
  EXPECT_EQ(last.substr(0, 3), "R:\\") << "the last folder text stays: " << last;
  ExpectTopLevelLabels({last});

  // A second scan finds the same again, also what changed in between.
  WriteFileBytes(std::string(kTree) + "Hosts\\PS2\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=R:\\Elsewhere\r\n");
  Click(Child(main, "Button", "Scan"));
  EXPECT_TRUE(WatchScan(main).shown);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(main); }, kScanTimeLimitMs));
  EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kScratchKey, "PS2").value_or(RegValue{}).Text(), "R:\\Elsewhere");
  EXPECT_EQ(ListItemTexts(List(main)), ListedTexts());
  CloseAnswering(main, IDYES);
  ExpectEnded();
}

TEST_F(ScanTest, EscapePressedBeforeTheScanStopsItAtOnce) {
  Start("[presentation]\r\nscan.visible=1\r\nscan.caption=Scan\r\n");
  HWND main = MainWindow();
  HWND label = Child(WindowOfProcess(pid(), "TScanProgressForm"), "Static");
  // Pressed and released: the key state remembers the press until asked.
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_ESCAPE;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  // A host that only the detection pass after the scan can list: it shows
  // when the scan is over.
  ImportReg("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n");
  ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
  Click(Child(main, "Button", "Scan"));
  ASSERT_TRUE(WaitUntil([&] { return ListItemTexts(List(main)) == std::vector<std::string>{"PhotoShop 7 by Adobe"}; }));
  EXPECT_EQ(TextOf(label), "Drive: C") << "not even the first folder was looked at";
  EXPECT_FALSE(ReadRegValue(HKEY_CURRENT_USER, kScratchKey, "PS2").has_value());
  EXPECT_TRUE(Enabled(main));

  DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe");
  Click(Child(main, "Button", "Scan"));
  EXPECT_TRUE(WatchScan(main).shown);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(main); }, kScanTimeLimitMs));
  ExpectHostsFound(main);
  CloseAnswering(main, IDYES);
  ExpectEnded();
}

}  // namespace
}  // namespace setup::ui
