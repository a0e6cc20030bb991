#include "scan/scan_hits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"
#include "unit/scratch_values.h"
#include "unit/test_world.h"

namespace setup {
namespace {

using Values = std::map<std::string, std::string>;

// Every scratch value a scan hit can write.
std::vector<std::string> ScanValueNames() {
  std::vector<std::string> names{"PDL", "PS2", "PS3", "PS4", "IEP4", "xR2", "QFX7", "Pm42", "AFX41", "DD", "I7"};
  for (int i = 1; i <= 8; ++i) {
    names.push_back("PiP" + std::to_string(i));
    names.push_back("INP" + std::to_string(i));
    if (i <= 7) names.push_back("Fw" + std::to_string(i));
  }
  return names;
}

// A file the case writes on drive C: before the hit.
struct File {
  const char* path;
  const char* bytes;
};

struct ScanHitWorld : TestWorld {
  void Hit(const std::string& folder, std::string_view name) { CheckScanHit(platform_, mark_, folder, name); }
  Values Stored() { return ScratchValues(registry_); }
  void Folder(const std::string& path) { std::filesystem::create_directories(files_.HostPath(path)); }

  // What a fresh machine stores for one text file met under its name.
  static Values StoredForText(const std::string& folder, const std::string& name, std::string_view content) {
    ScanHitWorld world;
    world.Write(folder + name, content);
    world.Hit(folder, name);
    return world.Stored();
  }

  bool mark_ = false;
};

// Nothing, or one value.
Values Only(const char* name, std::optional<const char*> folder) { return folder ? Values{{name, *folder}} : Values{}; }

struct ScanHitsTest : testing::Test, ScanHitWorld {};

TEST_F(ScanHitsTest, EveryWrittenValueNameIsReadByExactlyOneScratchEntry) {
  for (const std::string& name : ScanValueNames()) {
    int readers = 0;
    for (const HostEntry& entry : HostCatalogue)
      if (entry.Root == RootKey::kCurrentUser && entry.KeyPath == kScratchKeyPath && entry.ValueName == name) ++readers;
    EXPECT_EQ(readers, 1) << name;
  }
}

// One file meets the recognisers: what is stored, and only that.
struct HitCase {
  const char* label;
  std::vector<File> files;
  std::vector<const char*> folders;
  const char* folder;  // where the hit is met
  const char* name;    // the name as listed
  Values stored;
};

TEST_F(ScanHitsTest, SingleFolderTriggers) {
  const HitCase cases[] = {
      {"PhotoDeluxe",
       {{"C:\\PD\\pd.ini", "[PhotoDeluxe 1.0]\r\nPLUGINDIRECTORY=C:\\PD\\Plug-Ins\r\n"}},
       {},
       "C:\\PD\\",
       "pd.ini",
       {{"PDL", "C:\\PD\\Plug-Ins"}}},
      {"Photoshop 2",
       {{"C:\\PS\\photoshp.ini", "[photoshop]\r\nplugindirectory = C:\\PS2\\P \r\n"}},
       {},
       "C:\\PS\\",
       "Photoshp.ini",
       {{"PS2", "C:\\PS2\\P"}}},
      {"Photoshop 3",
       {{"C:\\PS\\photos30.ini", "[Photoshop]\r\nPlugInDirectory=D:\\P3\r\n"}},
       {},
       "C:\\PS\\",
       "photos30.ini",
       {{"PS3", "D:\\P3"}}},
      {"Photoshop 4 in capitals",
       {{"C:\\PS\\PHOTOS40.INI", "[Photoshop]\r\nPlugInDirectory=D:\\P4\r\n"}},
       {},
       "C:\\PS\\",
       "PHOTOS40.INI",
       {{"PS4", "D:\\P4"}}},
      {"Image Explorer Pro settings",
       {{"C:\\IEP\\iep.ini", "[Settings]\r\nPlugin Path=C:\\IEP\\Filters\r\n"}},
       {},
       "C:\\IEP\\",
       "IEP.ini",
       {{"IEP4", "C:\\IEP\\Filters"}}},
      {"xRes",
       {{"C:\\XR\\xres.ini", "[Main]\r\nPluginDirectory=C:\\XR\\PI\r\n"}},
       {},
       "C:\\XR\\",
       "xRes.INI",
       {{"xR2", "C:\\XR\\PI"}}},
      {"empty value",
       {{"C:\\PS\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=\r\n"}},
       {},
       "C:\\PS\\",
       "photoshp.ini",
       {}},
      {"other section",
       {{"C:\\PS\\photoshp.ini", "[Photoshop 5]\r\nPlugInDirectory=C:\\X\r\n"}},
       {},
       "C:\\PS\\",
       "photoshp.ini",
       {}},
      {"name with more before",
       {{"C:\\PS\\myphotoshp.ini", "[Photoshop]\r\nPlugInDirectory=C:\\X\r\n"}},
       {},
       "C:\\PS\\",
       "myphotoshp.ini",
       {}},
      {"other extension",
       {{"C:\\PS\\photoshp.ini.bak", "[Photoshop]\r\nPlugInDirectory=C:\\X\r\n"}},
       {},
       "C:\\PS\\",
       "photoshp.ini.bak",
       {}},
      {"Premiere", {}, {"C:\\Prem\\Plugins"}, "C:\\Prem\\", "Premiere.EXE", {{"Pm42", "C:\\Prem\\plugins\\"}}},
      {"Premiere without plug-ins",
       {{"C:\\Prem\\plugins", "a file, not a folder"}},
       {},
       "C:\\Prem\\",
       "premiere.exe",
       {}},
      {"After Effects", {}, {"C:\\AE\\Plug-ins"}, "C:\\AE\\", "AfterFX.exe", {{"AFX41", "C:\\AE\\plug-ins\\"}}},
      {"After Effects with plugins only", {}, {"C:\\AE\\Plugins"}, "C:\\AE\\", "afterfx.exe", {}},
      {"Digital Darkroom",
       {},
       {"C:\\DD\\DDStuff\\Plugins"},
       "C:\\DD\\",
       "DarkRoom.exe",
       {{"DD", "C:\\DD\\DDStuff\\Plugins\\"}}},
      {"Digital Darkroom without plug-ins", {}, {"C:\\DD\\DDStuff"}, "C:\\DD\\", "darkroom.exe", {}},
      {"Image Explorer Pro program, folder not needed",
       {},
       {},
       "C:\\Image Explorer\\",
       "Image Explorer Pro.exe",
       {{"IEP4", "C:\\Image Explorer\\Plugins\\"}}},
      {"program with another extension", {}, {"C:\\Prem\\plugins"}, "C:\\Prem\\", "premiere.com", {}},
  };
  for (const HitCase& c : cases) {
    ScanHitWorld world;
    for (const File& file : c.files) world.Write(file.path, file.bytes);
    for (const char* folder : c.folders) world.Folder(folder);
    world.Hit(c.folder, c.name);
    EXPECT_EQ(world.Stored(), c.stored) << c.label;
    EXPECT_EQ(world.mark_, c.stored.count("IEP4") > 0 && std::string_view(c.name) == "IEP.ini") << c.label;
  }
}

TEST_F(ScanHitsTest, UleadPathsCountOnlyWhereTheirSwitchIsANonZeroNumber) {
  Write("C:\\PI\\ulead32.ini",
        "[PLUG IN]\r\n"
        "UseDir1=0\r\nPLUGINDIR1=C:\\One\r\n"
        "UseDir2=0x1\r\nPLUGINDIR2=C:\\Two\r\n"
        "UseDir3=1\r\nPLUGINDIR3=C:\\Three\r\n"
        "UseDir4=1\r\nPLUGINDIR4=\r\n"
        "UseDir5=yes\r\nPLUGINDIR5=C:\\Five\r\n"
        "PLUGINDIR6=C:\\Six\r\n"
        "UseDir7=-2\r\nPLUGINDIR7=C:\\Seven\r\n"
        "UseDir8=$A\r\nPLUGINDIR8=C:\\Eight\r\n"
        "UseDir9=1\r\nPLUGINDIR9=C:\\Nine\r\n");
  Hit("C:\\PI\\", "ULEAD32.ini");
  EXPECT_EQ(Stored(),
            (Values{{"PiP2", "C:\\Two"}, {"PiP3", "C:\\Three"}, {"PiP7", "C:\\Seven"}, {"PiP8", "C:\\Eight"}}));
}

TEST_F(ScanHitsTest, HostNumbers) {
  const std::pair<const char*, int> cases[] = {
      {"1", 1},          {"0", 0},      {"17", 17},         {"+5", 5},          {"-2", -2},
      {"0x1", 1},        {"0x1F", 31},  {"0xff", 255},      {"$A", 10},         {"$0", 0},
      {"-0x1", -1},      {"-$10", -16}, {"0xFFFFFFFF", -1}, {"0x100000000", 0}, {"2147483647", 2147483647},
      {"2147483648", 0}, {"", 0},       {"0x", 0},          {"$", 0},           {"yes", 0},
      {"1x", 0},         {"0x1g", 0},   {"$-1", 0},         {"--1", 0},         {"0X1", 0},
      {"x1", 0},         {"1.5", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(ParseHostNumber(text), number) << text;
}

TEST_F(ScanHitsTest, QfxTakesTheQuotedPathBeforeTheSemicolon) {
  const std::pair<const char*, std::optional<const char*>> cases[] = {
      {"PluginFilePath,\"C:\\QFX\\Plugins\";1\r\n", "C:\\QFX\\Plugins"},
      {"[Paths]\r\nPluginFilePath, \t\"C:\\Q\" ;x;y\r\nPluginFilePath,\"C:\\Second\";\r\n", "C:\\Q"},
      {"PluginFilePath,\"C:\\QFX\\Plugins\"\r\n", ""},  // no semicolon: stored empty
      {"PluginFilePath,x;\r\n", ""},
      {"PluginFilePath,;\r\n", ""},
      {"pluginfilepath,\"C:\\Lower\";\r\nPluginFilePath,'C:\\Upper';", "C:\\Upper"},
      {" PluginFilePath,\"C:\\Indented\";\r\n", std::nullopt},
      {"PluginFilePath\"C:\\NoComma\";\r\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [content, stored] : cases)
    EXPECT_EQ(ScanHitWorld::StoredForText("C:\\QFX\\", "QfxWin.ini", content), Only("QFX7", stored)) << content;
}

TEST_F(ScanHitsTest, AiPrefsTakesTheFirstNameAfterThePluginsLine) {
  const std::pair<const char*, std::optional<const char*>> cases[] = {
      {"/plugins {\n\t/name (C:\\\\Adobe\\\\Plug-ins)\n}\n", "C:\\Adobe\\Plug-ins"},
      {"\t/name (C:\\\\Before)\n/plugins {\n\t/name (C:\\\\After)\n\t/name (C:\\\\Later)\n", "C:\\After"},
      {"/plugins {\n}\n/other {\n\t/name (D:\\\\\\\\\\Run\\\\\\Of\\Slashes\\\\)\n", "D:\\Run\\Of\\Slashes\\"},
      {"/plugins {x\r\n\t/name (E:\\P)\r\n", "E:\\P"},
      {"/plugins {\n\t/name ()\n", ""},
      {"/plugins {\n\t/name (\n", ""},
      {"/plugins {\n  /name (C:\\\\Spaces)\n\t/name(C:\\\\NoBlank)\n", std::nullopt},
      {"  /plugins {\n\t/name (C:\\\\Indented)\n", std::nullopt},
      {"/Plugins {\n\t/name (C:\\\\Case)\n", std::nullopt},
      {"\t/name (C:\\\\NoPluginsLine)\n", std::nullopt},
  };
  for (const auto& [content, stored] : cases)
    EXPECT_EQ(ScanHitWorld::StoredForText("C:\\AI\\", "AIPrefs", content), Only("I7", stored)) << content;
}

TEST_F(ScanHitsTest, FireworksPreferencesGoToEveryVersionInstalledInTheirFolder) {
  registry_.Load(
      "REGEDIT4\n"
      "[HKLM\\Software\\Macromedia\\Fireworks\\2\\Installation]\n\"InstallPath\"=\"c:\\\\fw\"\n"
      "[HKLM\\Software\\Macromedia\\Fireworks\\3\\Installation]\n\"InstallPath\"=\"C:\\\\FW\"\n"
      "[HKLM\\Software\\Macromedia\\Fireworks\\5\\Installation]\n\"InstallPath\"=\"C:\\\\FW\\\\\"\n"
      "[HKLM\\Software\\Macromedia\\Fireworks\\7\\Installation]\n\"InstallPath\"=\"C:\\\\Other\"\n"
      "[HKLM\\Software\\Macromedia\\Fireworks\\8\\Installation]\n\"InstallPath\"=\"C:\\\\FW\"\n");
  const std::pair<const char*, std::optional<const char*>> cases[] = {
      {"(Other) \"x\"\n(ExtraPhotoshopPluginsDir) \"C:\\Filters\"\n(ExtraPhotoshopPluginsDir) \"C:\\Later\"\n",
       "C:\\Filters"},
      {"(ExtraPhotoshopPluginsDir) \"\"\n", ""},
      {"(ExtraPhotoshopPluginsDir)\n", ""},
      {"(ExtraPhotoshopPluginsDir)xxD:\\Plug\n", "D:\\Plu"},
      {" (ExtraPhotoshopPluginsDir) \"C:\\Indented\"\n", std::nullopt},
      {"(extraphotoshoppluginsdir) \"C:\\Lower\"\n", std::nullopt},
  };
  for (const auto& [content, value] : cases) {
    Write("C:\\FW\\Fireworks 3 Preferences.txt", content);
    DeleteScratchKey(registry_);
    Hit("C:\\FW\\", "Fireworks 3 Preferences.txt");
    Values expected;
    if (value) expected = {{"Fw3", *value}, {"Fw5", *value}};
    EXPECT_EQ(Stored(), expected) << content;
  }
}

TEST_F(ScanHitsTest, FireworksPreferenceNames) {
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Macromedia\\Fireworks\\1\\Installation]\n\"InstallPath\"=\"C:\\\\FW\"\n");
  const std::pair<const char*, bool> cases[] = {
      {"Fireworks Preferences.txt", true},
      {"FIREWORKS.TXT", true},
      {"fireworks4.Txt", true},
      {"My Fireworks.txt", false},
      {"Fireworks.txt.bak", false},
      {"Fireworks Preferences", false},
      {"Firework.txt", false},
  };
  for (const auto& [name, recognised] : cases) {
    Write(std::string("C:\\FW\\") + name, "(ExtraPhotoshopPluginsDir) \"C:\\P\"\n");
    DeleteScratchKey(registry_);
    Hit("C:\\FW\\", name);
    EXPECT_EQ(Stored(), Only("Fw1", recognised ? std::optional("C:\\P") : std::nullopt)) << name;
  }
}

TEST_F(ScanHitsTest, FireworksFolderNamedByNoVersionStoresNothing) {
  registry_.Load(
      "REGEDIT4\n[HKLM\\Software\\Macromedia\\Fireworks\\4\\Installation]\n\"InstallPath\"=\"C:\\\\Elsewhere\"\n");
  Write("C:\\FW\\Fireworks.txt", "(ExtraPhotoshopPluginsDir) \"C:\\P\"\n");
  Hit("C:\\FW\\", "Fireworks.txt");
  EXPECT_EQ(Stored(), Values{});
}

TEST_F(ScanHitsTest, ImagenStoresTheFirstEightNonEmptyLinesUnderTheirNumbers) {
  Write("C:\\ImageN\\plugdirs.cfg",
        "C:\\One\r\n\r\n C:\\Three \r\nC:\\4\nC:\\5\rC:\\6\r\nC:\\7\r\nC:\\8\r\nC:\\9\r\nC:\\10\r\n");
  Hit("C:\\ImageN\\", "imageN.exe");
  EXPECT_EQ(Stored(), (Values{{"INP1", "C:\\One"},
                              {"INP3", " C:\\Three "},
                              {"INP4", "C:\\4"},
                              {"INP5", "C:\\5"},
                              {"INP6", "C:\\6"},
                              {"INP7", "C:\\7"},
                              {"INP8", "C:\\8"}}));
}

TEST_F(ScanHitsTest, ImagenWithoutItsListOrWithAShortOne) {
  Hit("C:\\ImageN\\", "imagen.exe");
  EXPECT_EQ(Stored(), Values{});
  Folder("C:\\ImageN\\plugdirs.cfg");
  Hit("C:\\ImageN\\", "imagen.exe");
  EXPECT_EQ(Stored(), Values{}) << "a folder of that name is no list";
  std::filesystem::remove(files_.HostPath("C:\\ImageN\\plugdirs.cfg"));
  Write("C:\\ImageN\\plugdirs.cfg", "C:\\Only");
  Hit("C:\\ImageN\\", "imagen.exe");
  EXPECT_EQ(Stored(), (Values{{"INP1", "C:\\Only"}}));
}

TEST_F(ScanHitsTest, IepSettingsSetTheMarkThatHidesTheProgramForTheRun) {
  Write("C:\\IEP\\iep.ini", "[Settings]\r\nPlugin Path=C:\\IEP\\Filters\r\n");
  Write("C:\\Empty\\iep.ini", "[Settings]\r\nPlugin Path=\r\n");

  Hit("C:\\IEP\\", "Image Explorer Pro.exe");
  EXPECT_EQ(Stored(), (Values{{"IEP4", "C:\\IEP\\Plugins\\"}}));
  Hit("C:\\Empty\\", "iep.ini");
  EXPECT_FALSE(mark_) << "a settings file without a folder sets no mark";
  Hit("C:\\IEP\\", "iep.ini");
  EXPECT_TRUE(mark_);
  EXPECT_EQ(Stored(), (Values{{"IEP4", "C:\\IEP\\Filters"}})) << "met after the program, the settings replace it";
  Hit("C:\\Elsewhere\\", "image explorer pro.exe");
  EXPECT_EQ(Stored(), (Values{{"IEP4", "C:\\IEP\\Filters"}})) << "met after the settings, the program is ignored";
}

TEST_F(ScanHitsTest, UnreadableHostTextFilesArePassedOver) {
  Write("C:\\Q\\qfxwin.ini", "PluginFilePath,\"C:\\QFX\";\r\n");
  Write("C:\\AI\\aiprefs", "/plugins {\n\t/name (C:\\\\AI)\n");
  Write("C:\\FW\\Fireworks.txt", "(ExtraPhotoshopPluginsDir) \"C:\\P\"\n");
  Write("C:\\IN\\plugdirs.cfg", "C:\\One\r\n");
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Macromedia\\Fireworks\\1\\Installation]\n\"InstallPath\"=\"C:\\\\FW\"\n");
  for (const char* held : {"C:\\Q\\qfxwin.ini", "C:\\AI\\aiprefs", "C:\\FW\\Fireworks.txt", "C:\\IN\\plugdirs.cfg"})
    files_.HoldOpen(held);
  EXPECT_NO_THROW(Hit("C:\\Q\\", "qfxwin.ini"));
  EXPECT_NO_THROW(Hit("C:\\AI\\", "aiprefs"));
  EXPECT_NO_THROW(Hit("C:\\FW\\", "Fireworks.txt"));
  EXPECT_NO_THROW(Hit("C:\\IN\\", "imagen.exe"));
  // Far larger than any host writes: passed over without reading it.
  Write("C:\\Big\\qfxwin.ini", "PluginFilePath,\"C:\\QFX\";\r\n");
  std::filesystem::resize_file(files_.HostPath("C:\\Big\\qfxwin.ini"), std::uintmax_t{3} << 30);
  EXPECT_NO_THROW(Hit("C:\\Big\\", "qfxwin.ini"));
  EXPECT_EQ(Stored(), Values{});

  files_.Release("C:\\AI\\aiprefs");
  Hit("C:\\AI\\", "aiprefs");
  EXPECT_EQ(Stored(), (Values{{"I7", "C:\\AI"}}));
}

// Counts every question asked of the file system, the registry and the
// profile reader, and answers nothing.
class CountingMachine : public Registry, public ProfileReader, public FileSystem {
 public:
  int calls_ = 0;

  KeyHandle OpenForReading(RootKey, std::string_view) override { return Count(0); }
  KeyHandle OpenForReadingInView(RootKey, std::string_view, RegistryView) override { return Count(0); }
  KeyHandle OpenForWriting(RootKey, std::string_view) override { return Count(0); }
  KeyHandle Create(RootKey, std::string_view) override { return Count(0); }
  std::optional<RegistryValue> ReadValue(KeyHandle, std::string_view) override { return Count(std::nullopt); }
  bool SetString(KeyHandle, std::string_view, std::string_view) override { return Count(false); }
  bool SetDword(KeyHandle, std::string_view, std::uint32_t) override { return Count(false); }
  std::optional<std::uint32_t> CountSubKeys(KeyHandle) override { return Count(std::nullopt); }
  std::optional<std::string> SubKeyName(KeyHandle, std::uint32_t) override { return Count(std::nullopt); }
  bool DeleteKey(RootKey, std::string_view) override { return Count(false); }
  void Close(KeyHandle key) override {
    if (key != 0) ++calls_;
  }

  std::string ReadString(const std::string&, std::string_view, std::string_view, std::size_t) override {
    return Count(std::string());
  }
  std::vector<std::string> ReadKeyNames(const std::string&, std::string_view, std::size_t) override {
    return Count(std::vector<std::string>());
  }
  std::vector<std::string> ReadSection(const std::string&, std::string_view, std::size_t) override {
    return Count(std::vector<std::string>());
  }

  std::string ExecutableFolder() override { return Count(std::string("C:\\")); }
  std::unique_ptr<FolderListing> List(const std::string&) override { return Count(nullptr); }
  bool FolderExists(const std::string&) override { return Count(false); }
  bool FileExists(const std::string&) override { return Count(false); }
  std::optional<std::string> ReadWholeFile(const std::string&, std::size_t) override { return Count(std::nullopt); }
  bool CreateFolder(const std::string&) override { return Count(false); }
  bool CreateFolderTree(const std::string&) override { return Count(false); }
  bool CopyReplacing(const std::string&, const std::string&) override { return Count(false); }
  bool AppendToFile(const std::string&, std::string_view) override { return Count(false); }
  bool WriteWholeFile(const std::string&, std::string_view) override { return Count(false); }
  bool RemoveFile(const std::string&) override { return Count(false); }
  bool RemoveFolder(const std::string&) override { return Count(false); }
  bool IsLink(const std::string&) override { return Count(false); }
  bool CanWriteIn(const std::string&) override { return Count(false); }
  bool ReplaceAtRestart(const std::string&, const std::string&) override { return Count(false); }
  bool RemoveAtRestart(const std::string&) override { return Count(false); }
  std::string ExecutablePath() override { return Count(std::string()); }
  std::string ProgramFilesFolder() override { return Count(std::string()); }
  std::string LocalDataFolder() override { return Count(std::string()); }
  std::string WindowsFolder() override { return Count(std::string()); }
  std::string CommonDataFolder() override { return Count(std::string()); }
  std::uint32_t LastError() override { return Count(0u); }
  std::optional<std::string> ErrorText(std::uint32_t) override { return Count(std::nullopt); }
  std::uint32_t DriveTypeOf(const std::string&) override { return Count(0u); }

 private:
  template <typename T>
  T Count(T answer) {
    ++calls_;
    return answer;
  }
};

TEST(ScanHitsCostTest, NamesThatMatchNoTriggerCostNoAccess) {
  CountingMachine machine;
  ScriptedKeyboard keyboard;
  FixedClock clock(2026);
  PortableEnvironment environment;
  Platform platform{machine, machine, machine, keyboard, clock, environment};
  bool mark = false;
  for (const char* name : {"readme.txt", "setup.ini", "desktop.ini", "photoshop.exe", "photoshp.ini.bak", "aiprefs.txt",
                           "aiprefs2", "fireworks.ini", "fireworks", "firework.txt", "plugdirs.cfg", "Photoshp", "ini",
                           ".ini", "", "IMAGE EXPLORER.EXE", "qfxwin.ini~", "premiere.exe.lnk"}) {
    CheckScanHit(platform, mark, "C:\\Some\\", name);
    EXPECT_EQ(machine.calls_, 0) << name;
  }
  // The counter does count: a name that matches asks.
  CheckScanHit(platform, mark, "C:\\Some\\", "PD.INI");
  EXPECT_GT(machine.calls_, 0);
}

}  // namespace
}  // namespace setup
