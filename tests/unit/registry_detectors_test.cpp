#include "hosts/registry_detectors.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "unit/scratch_values.h"
#include "unit/test_world.h"

namespace setup {
namespace {

using Values = std::map<std::string, std::string>;

constexpr RootKey kHkcu = RootKey::kCurrentUser;
constexpr RootKey kHklm = RootKey::kLocalMachine;

// Serves ini files from the test's drives and notes every read asked of it.
class RecordingProfileReader : public ProfileReader {
 public:
  explicit RecordingProfileReader(const PortableFileSystem& files) : files_(files) {}
  std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t buffer_size) override {
    reads_.emplace_back(file, std::string(section), std::string(key), buffer_size);
    return files_.ReadString(file, section, key, buffer_size);
  }
  std::vector<std::string> ReadKeyNames(const std::string& file, std::string_view section,
                                        std::size_t buffer_size) override {
    return files_.ReadKeyNames(file, section, buffer_size);
  }
  std::vector<std::string> ReadSection(const std::string& file, std::string_view section,
                                       std::size_t buffer_size) override {
    return files_.ReadSection(file, section, buffer_size);
  }

  std::vector<std::tuple<std::string, std::string, std::string, std::size_t>> reads_;

 private:
  PortableProfileReader files_;
};

struct RegistryDetectorsTest : testing::Test, TestWorld {
  void TearDown() override { EXPECT_EQ(registry_.OpenKeyCount(), 0u) << "a key was left open"; }
  void Set(RootKey root, std::string_view key, std::string_view name, std::string_view text) {
    ScopedKey opened(registry_, registry_.Create(root, key));
    registry_.SetString(opened.get(), name, text);
  }
  Values Scratch() { return ScratchValues(registry_); }

  RecordingProfileReader recording_{files_};
  Platform recorded_{registry_, recording_, files_, keyboard_, clock_, environment_};
};

constexpr char kFreeHand[] = "SOFTWARE\\Macromedia\\FreeHand\\8\\Installation";
constexpr char kFreeHandXtras[] = "SOFTWARE\\Macromedia\\FreeHand\\8\\English";

TEST_F(RegistryDetectorsTest, FreeHand8NeedsBothValues) {
  struct Case {
    std::optional<std::string> install;
    std::optional<std::string> xtras;
    Values expected;
  };
  const Case cases[] = {
      {"D:\\FH8", "Xtras", {{"Fh8", "D:\\FH8\\Xtras"}}},
      {"D:\\FH8\\", "Xtras", {{"Fh8", "D:\\FH8\\Xtras"}}},
      {"D:\\FH8", "\\Xtras", {{"Fh8", "D:\\FH8\\\\Xtras"}}},
      {"D:\\FH8", std::nullopt, {}},
      {std::nullopt, "Xtras", {}},
      {"", "Xtras", {}},
      {"D:\\FH8", "", {}},
  };
  for (const Case& c : cases) {
    TestWorld world;
    auto set = [&](const char* key, const char* name, const std::optional<std::string>& text) {
      if (!text) return;
      ScopedKey opened(world.registry_, world.registry_.Create(kHklm, key));
      world.registry_.SetString(opened.get(), name, *text);
    };
    set(kFreeHand, "InstallPath", c.install);
    set(kFreeHandXtras, "XtrasDir", c.xtras);
    DetectFreeHand8(world.platform_);
    EXPECT_EQ(ScratchValues(world.registry_), c.expected)
        << c.install.value_or("(none)") << " + " << c.xtras.value_or("(none)");
  }
}

TEST_F(RegistryDetectorsTest, PhotoLineDropsTheFirstTwoCharacters) {
  struct Case {
    const char* text;
    std::optional<std::string> stored;
  } cases[] = {
      {"", std::nullopt},
      {"a", std::nullopt},
      {"ab", std::nullopt},
      {"abc", "c"},
      {"1;D:\\PL\\Plug", "D:\\PL\\Plug"},
      {"  D:\\PL", "D:\\PL"},
  };
  for (const Case& c : cases) {
    TestWorld world;
    for (const char* name : {"PlugInPath", "PlugInPath2"}) {
      ScopedKey opened(world.registry_, world.registry_.Create(kHkcu, "Software\\Computerinsel\\PhotoLine\\Settings"));
      world.registry_.SetString(opened.get(), name, c.text);
    }
    DetectPhotoLine(world.platform_);
    Values expected;
    if (c.stored) expected = {{"Pl5P1", *c.stored}, {"Pl5P2", *c.stored}};
    EXPECT_EQ(ScratchValues(world.registry_), expected) << '"' << c.text << '"';
  }
}

TEST_F(RegistryDetectorsTest, PhotoDrawJoinsItsInstallFolderAndKeepsTheAdditionalPath) {
  struct Case {
    const char* install;
    const char* additional;
    Values expected;
  } cases[] = {
      {"D:\\Apps", "E:\\More\\", {{"PD2KP1", "D:\\Apps\\PhotoDraw\\PlugIns"}, {"PD2KP2", "E:\\More\\"}}},
      {"D:\\Apps\\", "", {{"PD2KP1", "D:\\Apps\\PhotoDraw\\PlugIns"}}},
      {"", "x", {{"PD2KP2", "x"}}},
  };
  for (const Case& c : cases) {
    TestWorld world;
    ScopedKey install(world.registry_, world.registry_.Create(kHkcu, "Software\\Microsoft\\PhotoDraw\\1.0"));
    world.registry_.SetString(install.get(), "InstallDest", c.install);
    ScopedKey settings(world.registry_, world.registry_.Create(kHkcu, "Software\\Microsoft\\PhotoDraw\\1.0\\Settings"));
    world.registry_.SetString(settings.get(), "AdditionalPlugInPath", c.additional);
    DetectPhotoDraw(world.platform_);
    EXPECT_EQ(ScratchValues(world.registry_), c.expected) << c.install;
  }
}

struct PhotoPaint {
  void (*detect)(const Platform&);
  const char* key;
  const char* ini_name;
  const char* prefix;
};
constexpr PhotoPaint kPhotoPaints[] = {
    {DetectPhotoPaint9, "Software\\Corel\\Corel PHOTO-PAINT\\9", "photopnt.ini", "PP9P"},
    {DetectPhotoPaint12, "Software\\Corel\\CorelDraw\\12.0\\CorelPHOTO-PAINT", "CorelPP.ini", "PP12P"},
};

TEST_F(RegistryDetectorsTest, PhotoPaintReadsTheWorkspaceIniBesideTheWorkspace) {
  for (const PhotoPaint& host : kPhotoPaints) {
    TestWorld world;
    RecordingProfileReader recording(world.files_);
    Platform platform{world.registry_, recording, world.files_, world.keyboard_, world.clock_, world.environment_};
    {
      ScopedKey opened(world.registry_, world.registry_.Create(kHkcu, host.key));
      world.registry_.SetString(opened.get(), "LastWorkspaceUsed", "C:\\WS\\Main.cpw");
    }
    world.Write(std::string("C:\\WS\\Main\\") + host.ini_name,
                "[Other]\r\nDirs1=C:\\Wrong;00\r\n"
                "[pluginfilters]\r\n"
                "Dirs1=abc\r\n"  // three characters: the empty text is stored
                "Dirs2=abcd\r\n"
                "DIRS3=  C:\\Filters;00  \r\n"
                "Dirs5=\r\n"
                "Dirs8=C:\\Eighth\\*.*\r\n"
                "Dirs9=C:\\Ninth;00\r\n");
    host.detect(platform);
    std::string p = host.prefix;
    EXPECT_EQ(ScratchValues(world.registry_),
              (Values{{p + "1", ""}, {p + "2", "a"}, {p + "3", "C:\\Filters"}, {p + "8", "C:\\Eighth\\"}}))
        << host.prefix;
    ASSERT_EQ(recording.reads_.size(), 8u);
    for (std::size_t n = 1; n <= 8; ++n)
      EXPECT_EQ(recording.reads_[n - 1],
                std::make_tuple(std::string("C:\\WS\\Main\\") + host.ini_name, std::string("PluginFilters"),
                                "Dirs" + std::to_string(n), std::size_t{2048}));
  }
}

TEST_F(RegistryDetectorsTest, PhotoPaintCutsFourCharactersOffTheWorkspace) {
  struct Case {
    std::string workspace;
    const char* ini_path;  // empty: no ini is read at all
  } cases[] = {
      {"", ""},
      // Longer than any path the system reaches.
      {"C:\\" + std::string(33000, 'w') + ".cpw", ""},
      // Not a full path: a bare name would be looked for in the Windows folder.
      {"a", ""},
      {"Main", ""},
      {"X.cpw", ""},
      {"C:\\WS\\", "C:\\CorelPP.ini"},
      {"C:\\WS\\Main\\.cpw", "C:\\WS\\Main\\CorelPP.ini"},
      {"C:\\WS\\Main.cpw", "C:\\WS\\Main\\CorelPP.ini"},
  };
  for (const Case& c : cases) {
    TestWorld world;
    RecordingProfileReader recording(world.files_);
    Platform platform{world.registry_, recording, world.files_, world.keyboard_, world.clock_, world.environment_};
    ScopedKey opened(world.registry_, world.registry_.Create(kHkcu, kPhotoPaints[1].key));
    world.registry_.SetString(opened.get(), "LastWorkspaceUsed", c.workspace);
    DetectPhotoPaint12(platform);
    std::vector<std::string> files;
    for (const auto& read : recording.reads_) files.push_back(std::get<0>(read));
    EXPECT_EQ(files,
              std::string(c.ini_path).empty() ? std::vector<std::string>{} : std::vector<std::string>(8, c.ini_path))
        << c.workspace;
    EXPECT_EQ(ScratchValues(world.registry_), Values{}) << c.workspace;
  }
}

TEST_F(RegistryDetectorsTest, PhotoPaintStoresNothingWithoutAReadableIni) {
  Set(kHkcu, kPhotoPaints[0].key, "LastWorkspaceUsed", "C:\\WS\\Main.cpw");
  DetectPhotoPaint9(recorded_);
  EXPECT_EQ(recording_.reads_.size(), 8u);
  // A folder where the ini should be.
  std::filesystem::create_directories(files_.HostPath("C:\\WS\\Main\\photopnt.ini"));
  DetectPhotoPaint9(platform_);
  EXPECT_EQ(Scratch(), Values{});
}

TEST_F(RegistryDetectorsTest, PhotoImpactJoinsEachVersionsPlugInFolder) {
  // Every version at once, so that each probe is seen to read its own key.
  struct Case {
    const char* version;
    const char* path;
    const char* name;
    const char* folder;
  } cases[] = {
      {"5.0", "D:\\PI5", "Pi5", "D:\\PI5\\plugin"},       {"6.0", "D:\\PI6", "Pi6", "D:\\PI6\\plugin"},
      {"7.0", "D:\\PI7", "Pi7", "D:\\PI7\\plugin"},       {"8.0", "D:\\PI8", "Pi8", "D:\\PI8\\plugin"},
      {"8.5", "D:\\PI85", "Pi85", "D:\\PI85\\plugin"},    {"9.0", "D:\\PI9\\", "Pi9", "D:\\PI9\\\\plugin"},
      {"10.0", "D:\\PI10", "Pi10", "D:\\PI10\\plugin"},   {"11.0", "D:\\PI11", "Pi11", "D:\\PI11\\plugin"},
      {"12.0", "D:\\PI12", "Pi12", "D:\\PI12\\plugin"},   {"13.0", "D:\\PI13\\", "Pi13", "D:\\PI13\\plugin"},
      {"14.0", "D:\\PI14\\", "Pi14", "D:\\PI14\\plugin"}, {"15.0", "D:\\PI15", "Pi15", "D:\\PI15plugin"},
  };
  Values expected;
  for (const Case& c : cases) {
    Set(kHklm, std::string("Software\\Ulead Systems\\Ulead PhotoImpact\\") + c.version + "\\installer", "Path", c.path);
    expected[c.name] = c.folder;
  }
  // Neither a version without ".0" nor one beyond 15 is probed.
  Set(kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\10\\installer", "Path", "D:\\Wrong");
  Set(kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\16.0\\installer", "Path", "D:\\Wrong");
  DetectPhotoImpact(platform_);
  EXPECT_EQ(Scratch(), expected);
}

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

TEST_F(RegistryDetectorsTest, PainterXReplacesPainter10) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> registered;  // program, path
    Values expected;
  };
  const Case cases[] = {
      {{{"Painter IX.exe", "D:\\P9\\"}}, {{"Pt9", "D:\\P9\\Plugins"}}},
      {{{"Painter 10.exe", "D:\\P10\\"}}, {{"Pt10", "D:\\P10\\Plugins"}}},
      {{{"Painter 10.exe", "D:\\P10\\"}, {"Painter X.exe", "D:\\PX\\"}}, {{"Pt10", "D:\\PX\\Plugins"}}},
      {{{"Painter 10.exe", "D:\\P10\\"}, {"Painter X.exe", ""}}, {{"Pt10", "D:\\P10\\Plugins"}}},
      {{{"Sketch Pad.exe", "D:\\P11\\"}}, {{"Pt11", "D:\\P11\\Support Files\\Plugins"}}},
      {{{"Sketch Pad.exe", "D:\\P11"}}, {{"Pt11", "D:\\P11Support Files\\Plugins"}}},
      {{{"Painter 12.exe", "D:\\P12\\"}}, {}},  // no probe feeds "Pt12"
  };
  for (const Case& c : cases) {
    TestWorld world;
    for (const auto& [program, path] : c.registered) {
      ScopedKey opened(world.registry_, world.registry_.Create(kHklm, std::string(kAppPaths) + program));
      world.registry_.SetString(opened.get(), "Path", path);
    }
    DetectPainter(world.platform_);
    EXPECT_EQ(ScratchValues(world.registry_), c.expected) << c.registered.front().first;
  }
}

TEST_F(RegistryDetectorsTest, EachPassWritesAfreshAndNeverDeletes) {
  Set(kHklm, std::string(kAppPaths) + "Painter IX.exe", "Path", "D:\\P9\\");
  DetectPainter(platform_);
  Set(kHklm, std::string(kAppPaths) + "Painter IX.exe", "Path", "D:\\Moved\\");
  Set(kHklm, std::string(kAppPaths) + "Sketch Pad.exe", "Path", "D:\\P11\\");
  DetectPainter(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Pt9", "D:\\Moved\\Plugins"}, {"Pt11", "D:\\P11\\Support Files\\Plugins"}}));
  ASSERT_TRUE(registry_.DeleteKey(kHklm, std::string(kAppPaths) + "Sketch Pad.exe"));
  DetectPainter(platform_);
  EXPECT_EQ(Scratch()["Pt11"], "D:\\P11\\Support Files\\Plugins");
}

}  // namespace
}  // namespace setup
