// Setup.exe on a hostile machine: registry values of every type and size at
// every place the program reads, host files that are huge, garbage or out of
// reach, folder loops and links, paths at and past the system's limit, a
// package that reaches outside itself, read-only and vanishing targets. One
// run goes through the agreement, the drive scan, detection and the
// installation into every listed host. The program must neither crash nor
// hang, must report errors only in its own boxes with the system's text, and
// must leave no file anywhere but below the folders the listed hosts name.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"
#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kHostile[] = "C:\\hostile";             // all the test plants, but for the targets
constexpr char kDriveFolder[] = "C:\\hostile\\drive";  // drive R:, which the scan walks
constexpr char kOutside[] = "C:\\hostile\\Outside";    // what links inside targets lead to
constexpr char kVictim[] = "C:\\hostile\\Outside\\victim.8bf";
constexpr char kTargets[] = "C:\\Hosts\\";  // every sound folder the test names lies below
constexpr char kDrive = 'R';
constexpr std::size_t kMegabyte = 1 << 20;
// The run is quick; the deadline only ends a wait for a run that hangs.
constexpr std::chrono::minutes kRunLimit{5};

// Deterministic garbage, so that a failure can be replayed.
class Garbage {
 public:
  std::string Bytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(Next());
    return bytes;
  }
  // Bytes without a zero, starting with a letter so that it is no absolute path.
  std::string Text(std::size_t count) {
    std::string text = Bytes(count);
    for (char& c : text)
      if (c == '\0') c = '?';
    if (!text.empty()) text[0] = 'x';
    return text;
  }

 private:
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::uint32_t state_ = 0x2545F491;
};

std::string Sz(const std::string& text) { return text + '\0'; }
std::string Components(std::string start, const char* component, int count) {
  for (int i = 0; i < count; ++i) start += component;
  return start;
}
std::string PaddedTo(std::string start, std::size_t length) {
  start.resize(length, 'L');
  return start;
}

struct Value {
  DWORD type;
  std::string data;
  const char* listed_as = nullptr;  // a sound folder: the host must be listed under this tag
};

// Values for the catalogue's registry places: the first ones once each, in
// row order, the small ones over and over for the remaining rows.
std::vector<Value> OnceValues(Garbage& garbage) {
  return {
      {REG_SZ, Sz("C:\\Hosts\\Plain"), "plain"},
      {REG_SZ, Sz("C:\\Hosts\\Linked"), "linked"},
      {REG_SZ, Sz("C:\\Hosts\\Vanishing"), "vanishing"},
      {REG_SZ, "C:\\Hosts\\NoZero", "no terminating zero"},
      {REG_SZ, std::string("C:\\Hosts\\Embedded\0tail\0", 23), "embedded zero"},
      {REG_EXPAND_SZ, Sz("%SystemDrive%\\Hosts\\Expanded")},  // a type the catalogue does not read
      {REG_SZ, Sz(PaddedTo("C:\\Hosts\\AtLimit", 259)), "at the path limit"},
      {REG_SZ, Sz("Rel\\Plugins"), "relative"},
      {REG_SZ, Sz(PaddedTo("C:\\Hosts\\PastLimit", 260))},
      {REG_SZ, Sz(Components("C:\\", "a\\", 20000))},
      {REG_SZ, garbage.Text(kMegabyte)},
      {REG_EXPAND_SZ, Sz(Components("", "%x%", kMegabyte / 3))},
      {REG_BINARY, garbage.Bytes(kMegabyte)},
      {REG_MULTI_SZ, garbage.Text(kMegabyte) + std::string(2, '\0')},
  };
}

std::vector<Value> SmallValues(Garbage& garbage) {
  std::string wide_link;
  for (char c : std::string("\\Registry\\Machine\\Software")) wide_link += {c, '\0'};
  return {
      {REG_NONE, ""},
      {REG_NONE, garbage.Bytes(16)},
      {REG_BINARY, garbage.Bytes(64)},
      {REG_DWORD, garbage.Bytes(4)},
      {REG_DWORD, garbage.Bytes(3)},
      {REG_DWORD_BIG_ENDIAN, garbage.Bytes(4)},
      {REG_QWORD, garbage.Bytes(8)},
      {REG_MULTI_SZ, std::string("C:\\Hosts\\Multi\0second\0\0", 24)},
      {REG_LINK, wide_link},
      {REG_RESOURCE_LIST, garbage.Bytes(40)},
      {REG_SZ, ""},
      {REG_SZ, std::string(1, '\0')},
      {REG_SZ, Sz(garbage.Text(300))},
      {REG_SZ, Sz("C:")},  // relative to the drive's current folder
      {REG_EXPAND_SZ, Sz("%NO_SUCH_VARIABLE%\\x")},
      {REG_EXPAND_SZ, Sz("%")},
      {0x7FFF0000, garbage.Bytes(12)},  // a type no system defines
  };
}

struct Place {
  HKEY root;
  std::string key;
  std::string name;
};

// Places the special detectors read, with what this machine holds there.
struct DetectorValue {
  Place place;
  Value value;
};

std::vector<DetectorValue> DetectorValues(Garbage& garbage) {
  const HKEY hkcu = HKEY_CURRENT_USER;
  const HKEY hklm = HKEY_LOCAL_MACHINE;
  return {
      {{hkcu, "Software\\Corel\\Corel PHOTO-PAINT\\9", "LastWorkspaceUsed"},
       {REG_SZ, Sz("C:\\" + std::string(33000, 'w'))}},
      {{hkcu, "Software\\Corel\\CorelDraw\\12.0\\CorelPHOTO-PAINT", "LastWorkspaceUsed"}, {REG_SZ, Sz("ab")}},
      {{hkcu, "Software\\Computerinsel\\PhotoLine\\Settings", "PlugInPath"}, {REG_SZ, garbage.Text(kMegabyte)}},
      {{hkcu, "Software\\Computerinsel\\PhotoLine\\Settings", "PlugInPath2"}, {REG_DWORD, garbage.Bytes(4)}},
      {{hkcu, "Software\\Microsoft\\PhotoDraw\\1.0", "InstallDest"}, {REG_SZ, Sz(Components("C:\\", "a\\", 20000))}},
      {{hkcu, "Software\\Microsoft\\PhotoDraw\\1.0\\Settings", "AdditionalPlugInPath"},
       {REG_MULTI_SZ, std::string("C:\\Hosts\\Multi\0\0", 16)}},
      {{hklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\10.0\\installer", "Path"},
       {REG_EXPAND_SZ, Sz("%NO_SUCH_VARIABLE%")}},
      {{hklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\13.0\\installer", "Path"}, {REG_BINARY, garbage.Bytes(300)}},
      {{hklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter X.exe", "Path"},
       {REG_SZ, Sz(PaddedTo("C:\\Hosts\\Painter", 258))}},
      {{hklm, "Software\\Xara\\XtremePro\\5", "XaraX Root Dir"}, {REG_SZ, Sz("C:\\Hosts\\Xara\\")}},
      {{hklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\Installation", "InstallPath"}, {REG_SZ, Sz("C:\\Hosts\\FH8")}},
      {{hklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\English", "XtrasDir"}, {REG_SZ, garbage.Text(kMegabyte)}},
      {{hklm, "Software\\Macromedia\\Fireworks\\8\\Installation", "InstallPath"}, {REG_SZ, Sz("C:\\Hosts\\FW8\\")}},
  };
}

// A Fireworks preference naming a folder as its host writes it.
std::string FireworksPreferences(const std::string& folder) {
  return "<key>UseExtraPhotoshopPluginsDir</key>\r\n<bool>true</bool>\r\n<key>ExtraPhotoshopPluginsDir</"
         "key>\r\n<string>" +
         folder + "</string>\r\n";
}

// Host files on drive R:, by path below it; the huge ones are written apart.
std::vector<std::pair<std::string, std::string>> DriveFiles(Garbage& garbage) {
  return {
      {"PD\\PD.INI", garbage.Bytes(kMegabyte)},
      {"PS3\\Photos30.ini", "[Photoshop]\r\nPlugInDirectory=" + PaddedTo("C:\\Hosts\\PS3", 300) + "\r\n"},
      {"PS4\\PHOTOS40.INI", "[Photoshop]\r\nPlugInDirectory=Rel\\Path\r\n"},
      {"XRes\\xres.ini", garbage.Bytes(10000)},
      {"PI\\ulead32.ini",
       "[PLUG IN]\r\nUseDir1=" + garbage.Text(5000) + "\r\nPLUGINDIR1=" + garbage.Text(70000) + "\r\n"},
      {"IEP\\iep.ini", ""},
      {"FW\\Fireworks 4 Preferences.txt", garbage.Bytes(20000) + FireworksPreferences(garbage.Text(40000))},
      {"AE\\AfterFX.exe", garbage.Bytes(100)},
      {"DD\\darkroom.exe", ""},
  };
}

// Every file and folder of a tree, links listed but not entered.
struct Entry {
  ULONGLONG size = 0;
  FILETIME written{};
  bool folder = false;
  bool operator==(const Entry& other) const {
    return size == other.size && folder == other.folder && CompareFileTime(&written, &other.written) == 0;
  }
};
using Snapshot = std::map<std::wstring, Entry>;

void Walk(const std::wstring& folder, Snapshot& out) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    Entry entry;
    entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    entry.written = found.ftLastWriteTime;
    out[folder + name] = entry;
    if (entry.folder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Walk(folder + name + L"\\", out);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The whole of drive C:, long paths included.
Snapshot DriveC() {
  Snapshot snapshot;
  Walk(L"\\\\?\\C:\\", snapshot);
  return snapshot;
}

std::string Narrow(const std::wstring& wide) {
  std::string text;
  for (wchar_t c : wide) text += c < 128 ? static_cast<char>(c) : '?';
  return text;
}

// What changed on the drive outside the targets: new, changed or gone
// entries. Folders count by their presence only, as adding a file changes
// a folder's time.
std::vector<std::string> ChangesOutsideTargets(const Snapshot& before, const Snapshot& after) {
  const std::wstring targets = L"\\\\?\\" + std::wstring(kTargets, kTargets + std::size(kTargets) - 1);
  std::vector<std::string> changes;
  for (const auto& [path, entry] : after) {
    if (path.rfind(targets, 0) == 0 || path + L"\\" == targets) continue;
    auto old = before.find(path);
    if (old == before.end())
      changes.push_back("new: " + Narrow(path));
    else if (!entry.folder && !(old->second == entry))
      changes.push_back("changed: " + Narrow(path));
  }
  for (const auto& [path, entry] : before)
    if (path.rfind(targets, 0) != 0 && !after.count(path)) changes.push_back("gone: " + Narrow(path));
  return changes;
}

// The boxes an installation may show for a target or a file that fails,
// each ending in the system's own error text where it has one.
const std::regex kErrorBoxes[] = {
    std::regex(R"(The file .+ could not be copied\.\nError: [^\n]+\n?)"),
    std::regex(R"(The file .+ could not be copied\.\nError unknown: \d+)"),
    std::regex(R"(Subdirectory .+ could not be created\.)"),
    std::regex(R"(The plug-in folder of .+ could not be found\.)"),
};

struct HostileMachineTest : SetupTest {
  HostileMachineTest() {
    CleanUp();
    Plant();
  }
  ~HostileMachineTest() override {
    drive_.reset();
    app_data_.reset();
    CleanUp();
  }

  void CleanUp() {
    for (const Place& place : written_) DeleteRegValue(place.root, place.key, place.name);
    written_.clear();
    RemoveTree(kHostile);
    RemoveTree("C:\\Hosts");
    RemoveTree("C:\\evil");
    for (const std::string& file : windows_files_) DeleteFileA(file.c_str());
  }

  void Write(const Place& place, const Value& value) {
    WriteRegValue(place.root, place.key, place.name, value.type, value.data);
    written_.push_back(place);
  }

  void Plant() {
    Garbage garbage;
    // Every registry place of the catalogue that a host fills itself.
    std::vector<Value> once = OnceValues(garbage);
    std::vector<Value> small = SmallValues(garbage);
    std::set<std::string> seen;
    std::size_t next_once = 0;
    std::size_t next_small = 0;
    for (const HostEntry& entry : HostCatalogue) {
      if (entry.KeyPath == kScratchKeyPath) continue;
      Place place{entry.Root == kHklm ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, std::string(entry.KeyPath),
                  std::string(entry.ValueName)};
      if (!seen.insert(std::to_string(entry.Root == kHklm) + place.key + '|' + place.name).second) continue;
      const Value& value = next_once < once.size() ? once[next_once++] : small[next_small++ % small.size()];
      Write(place, value);
      if (value.listed_as) sound_hosts_[value.listed_as] = std::string(entry.Description);
      if (value.listed_as && value.listed_as == std::string_view("vanishing")) vanishing_ = place;
      ++values_written_;
    }
    for (const DetectorValue& detector : DetectorValues(garbage)) {
      Write(detector.place, detector.value);
      ++values_written_;
    }

    // Targets with traps: a destination that cannot be written, and a
    // folder link to a folder outside. (A read-only file would not do: Wine
    // run as root writes it all the same. A host symbolic link to a file,
    // Wine lists as a plain file, so the program could not know it.)
    WriteFileBytes(kVictim, "victim");
    MakeFolders("C:\\Hosts\\Plain\\b.8bf");
    MakeFolders("C:\\Hosts\\Linked");
    MakeFolderLink("C:\\Hosts\\Linked\\Filters", kOutside);

    // Preference files in the application-data folder: huge, and garbage.
    std::string app_data = std::string(kHostile) + "\\AppData";
    WriteFileBytes(app_data + "\\Macromedia\\Fireworks 8\\Fireworks 8 Preferences.txt",
                   FireworksPreferences(Components("C:\\Hosts\\FW8\\", "a\\", 25000)) + garbage.Bytes(50 * kMegabyte));
    WriteFileBytes(app_data + "\\Deneba\\Canvas9\\CVAppData.set", garbage.Bytes(50 * kMegabyte));
    WriteFileBytes(app_data + "\\ACD Systems\\Canvas 12\\CVAppData.set",
                   garbage.Bytes(100000) + "\r\n(PPRF:plugInPath1,6)=\"C:\\Hosts\\CV12\"\r\n" + garbage.Bytes(1000));
    app_data_ = std::make_unique<AppDataFolder>(app_data);
    // Workspace files of the Windows folder, which a relative workspace name would reach.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const char* name : {"\\photopnt.ini", "\\CorelPP.ini"}) {
      std::string path = windows + std::string(name);
      if (ReadFileBytes(path)) continue;
      WriteFileBytes(path, std::string("[PluginFilters]\r\nDirs1=") + kOutside + "\r\nDirs2=" + kOutside + "\r\n");
      windows_files_.push_back(path);
    }

    // Drive R:: host files of every kind, huge ones, a link loop and paths past the limit.
    std::string drive = std::string(kDriveFolder) + "\\";
    for (const auto& [path, bytes] : DriveFiles(garbage)) WriteFileBytes(drive + path, bytes);
    WriteFileBytes(drive + "PS2\\photoshp.ini",
                   "[Photoshop]\r\nPlugInDirectory=C:\\Hosts\\PS2\r\n" + garbage.Bytes(50 * kMegabyte));
    WriteFileBytes(drive + "ImageN\\imagen.exe", "");
    WriteFileBytes(drive + "ImageN\\plugdirs.cfg", garbage.Bytes(50 * kMegabyte));
    WriteFileBytes(drive + "AI\\AIPrefs", garbage.Bytes(50 * kMegabyte));
    MakeFolders(drive + "Prem\\Premiere.exe");  // a folder in place of the program
    MakeSparseFile(drive + "QFX\\qfxwin.ini", 3ull << 30);
    MakeFolders(drive + "Loop");
    MakeFolderLink(drive + "Loop\\Back", drive);
    MakeDeepTree(drive + "Deep");
    drive_ = std::make_unique<MappedDrive>(kDrive, kDriveFolder);

    // Files a package must not reach: above it and by absolute path.
    WriteFileBytes(std::string(kHostile) + "\\secret\\s.txt", "secret");
  }

  static void MakeSparseFile(const std::string& path, ULONGLONG size) {
    WriteFileBytes(path, "[Paths]\r\n");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw HarnessError("cannot open " + path);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    bool done = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!done) throw HarnessError("cannot grow " + path);
  }

  // Folders nested past the system's path limit, with a host file at every
  // level: the ones beyond the limit cannot even be named by the program.
  static void MakeDeepTree(const std::string& top) {
    std::wstring folder = L"\\\\?\\" + std::wstring(top.begin(), top.end());
    for (int level = 0; level < 40; ++level) {
      CreateDirectoryW(folder.c_str(), nullptr);
      HANDLE file =
          CreateFileW((folder + L"\\photoshp.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (file == INVALID_HANDLE_VALUE) throw HarnessError("cannot write a host file below " + top);
      const char content[] = "[Photoshop]\r\nPlugInDirectory=C:\\Hosts\\Deep\r\n";
      DWORD written = 0;
      WriteFile(file, content, sizeof content - 1, &written, nullptr);
      CloseHandle(file);
      folder += L"\\level-" + std::to_wstring(level);
    }
  }

  std::string SetupIni() const {
    Garbage garbage;
    return "[options]\r\nautoscan=1\r\nsubdir=..\\..\\evil\r\n" + garbage.Bytes(3000) +
           "\r\n[messages]\r\nagreement=agree.txt\r\n[files]\r\n1=*.8bf\r\n2=..\\..\\hostile\\secret\\*.txt\r\n"
           "3=C:\\hostile\\secret\\*.txt\r\n4=Filters\\*.8bf\r\n5=" +
           garbage.Text(2000) + "\r\n6=" + PaddedTo("x", 5000) + "\r\n[" + garbage.Text(70000) + "]\r\n" +
           garbage.Bytes(kMegabyte);
  }

  std::vector<Place> written_;
  std::vector<std::string> windows_files_;
  std::map<std::string, std::string> sound_hosts_;  // tag -> the host's description
  Place vanishing_;
  int values_written_ = 0;
  std::unique_ptr<AppDataFolder> app_data_;
  std::unique_ptr<MappedDrive> drive_;
};

TEST_F(HostileMachineTest, NoCrashNoHangNoFileOutsideTheTargets) {
  Garbage garbage;
  package_.Write("a.8bf", "A");
  package_.Write("b.8bf", "B");
  package_.Write("Filters\\c.8bf", "C");
  package_.Write("agree.txt", garbage.Bytes(64 * 1024));
  package_.Write("setup.ini", SetupIni());
  Snapshot before = DriveC();
  auto start = std::chrono::steady_clock::now();
  auto left_ms = [&] {
    auto left = kRunLimit - (std::chrono::steady_clock::now() - start);
    return static_cast<DWORD>(
        std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(left).count()));
  };
  Start("");

  HWND agreement = WaitForWindow(pid(), "TAgreementForm", left_ms());
  Click(Child(agreement, "Button", "Accept and continue installation."));
  HWND next = Child(agreement, "Button", "&Next");
  ASSERT_TRUE(WaitUntil([&] { return Enabled(next); }));
  Click(next);

  // The scan and detection say nothing: the main window is the next thing shown.
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (HWND box = FindTopWindow(pid(), "#32770"))
          ADD_FAILURE() << "box during the scan: " << ReadMessageBox(box).text;
        main = FindTopWindow(pid(), "TMainForm");
        return main && Enabled(main);
      },
      left_ms()))
      << "the scan and detection end";
  // The scan went on through the trees to the last host file of its kind,
  // which the system's profile reader reads, however large.
  std::optional<RegValue> found = ReadRegValue(HKEY_CURRENT_USER, kScratchKey, "PS2");
  EXPECT_EQ(found ? found->Text() : "(none)", "C:\\Hosts\\PS2");
  HWND list = List(main);
  std::vector<std::string> listed = ListItemTexts(list);
  for (const auto& [tag, description] : sound_hosts_)
    EXPECT_NE(std::find(listed.begin(), listed.end(), description), listed.end()) << tag << ": " << description;

  for (int i = 0; i < ListItemCount(list); ++i) SetListItemChecked(list, i, true);
  DeleteRegValue(vanishing_.root, vanishing_.key, vanishing_.name);
  Click(Child(main, "Button", "&Install"));

  std::map<std::string, int> boxes;  // by kind
  std::vector<std::string> texts;
  for (;;) {
    MessageBoxSeen box = WaitForMessageBox(pid(), left_ms());
    if (box.caption == "Completed!") {
      Answer(box, IDYES);
      break;
    }
    texts.push_back(box.text);
    EXPECT_EQ(box.caption, "Error!") << box.text;
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"}) << box.text;
    bool known = false;
    for (std::size_t kind = 0; kind < std::size(kErrorBoxes); ++kind) {
      if (!std::regex_match(box.text, kErrorBoxes[kind])) continue;
      known = true;
      ++boxes[std::to_string(kind)];
    }
    EXPECT_TRUE(known) << box.text;
    Answer(box, IDOK);
  }
  EXPECT_EQ(program_->WaitExit(left_ms()), 0u) << "the program ends";
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  // The traps: each reported, none sprung.
  auto reported = [&](const std::string& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
  EXPECT_TRUE(reported("The plug-in folder of " + sound_hosts_["relative"] + " could not be found."));
  EXPECT_TRUE(reported("The plug-in folder of " + sound_hosts_["vanishing"] + " could not be found."));
  EXPECT_EQ(ReadFileBytes(kVictim), "victim");
  EXPECT_TRUE(reported("The file b.8bf could not be copied.\nError: Access denied.\n"));
  EXPECT_TRUE(reported("The file Filters\\c.8bf could not be copied.\nError: Access denied.\n"));
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\Plain\\a.8bf"), "A");
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\Plain\\Filters\\c.8bf"), "C");

  Snapshot after = DriveC();
  std::vector<std::string> changes = ChangesOutsideTargets(before, after);
  for (const std::string& change : changes) ADD_FAILURE() << "outside the targets: " << change;
  // The package's entries that reach outside it copied nothing.
  for (const auto& [path, entry] : after) {
    std::string name = Narrow(path);
    EXPECT_FALSE(name.size() >= 6 && name.compare(name.size() - 6, 6, "\\s.txt") == 0 &&
                 name.find(kTargets) != std::string::npos)
        << name;
  }

  std::printf("hostile machine: %d registry values, %zu entries on drive C:, %zu listed hosts, %zu error boxes",
              values_written_, after.size(), listed.size(), texts.size());
  for (const auto& [kind, count] : boxes) std::printf(" [kind %s: %d]", kind.c_str(), count);
  std::printf(", %.1f s\n", seconds);
}

}  // namespace
}  // namespace setup::ui
