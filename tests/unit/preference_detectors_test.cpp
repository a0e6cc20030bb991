#include "hosts/preference_detectors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <optional>

#include "unit/app_world.h"
#include "unit/scratch_values.h"
#include "unit/test_world.h"

namespace setup {
namespace {

using Values = std::map<std::string, std::string>;

constexpr char kAppData[] = "C:\\Users\\Ann\\AppData";
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kFw8[] = "C:\\Users\\Ann\\AppData\\Macromedia\\Fireworks 8";
constexpr char kFw8File[] = "Fireworks 8 Preferences.txt";

// The bytes of a literal, NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// A Fireworks preference text that switches on the given extra folder.
std::string FireworksPreferences(const std::string& folder) {
  return "<key>UseExtraPhotoshopPluginsDir</key>\n<bool>true</bool>\n"
         "<key>ExtraPhotoshopPluginsDir</key>\n<string>" +
         folder + "</string>\n";
}

struct PreferenceDetectorsTest : testing::Test, TestWorld {
  PreferenceDetectorsTest() { Set(RootKey::kCurrentUser, kShellFolders, "AppData", kAppData); }
  void TearDown() override { EXPECT_EQ(registry_.OpenKeyCount(), 0u) << "a key was left open"; }

  void Set(RootKey root, const std::string& key, std::string_view name, std::string_view text) {
    ScopedKey opened(registry_, registry_.Create(root, key));
    registry_.SetString(opened.get(), name, text);
  }
  void MarkFireworks(int version, std::string_view install_path = "C:\\FW\\") {
    Set(RootKey::kLocalMachine, FireworksMarkerKey(version), "InstallPath", install_path);
  }
  void MakeFolder(const std::string& windows_path) {
    std::filesystem::create_directories(files_.HostPath(windows_path));
  }
  Values Scratch() { return ScratchValues(registry_); }

  // The readers on a file of exactly these bytes.
  std::string ReadFireworks(std::string_view bytes) {
    Write("C:\\Prefs\\Fireworks.txt", bytes);
    return ReadFireworksPluginFolder(platform_, "C:\\Prefs\\Fireworks.txt");
  }
  std::string ReadCanvas(std::string_view bytes) {
    Write("C:\\Prefs\\CVAppData.set", bytes);
    return ReadCanvasPluginFolder(platform_, "C:\\Prefs\\CVAppData.set");
  }
};

// ---- Fireworks preference file ------------------------------------------------

TEST_F(PreferenceDetectorsTest, FireworksReaderTakesTheSwitchedOnFolder) {
  const std::string on = "<key>UseExtraPhotoshopPluginsDir</key>\n<bool>true</bool>\n";
  const std::string key = "<key>ExtraPhotoshopPluginsDir</key>\n";
  struct Case {
    std::string text;
    std::string folder;
  };
  const Case cases[] = {
      {on + key + "<string>C:\\Extra</string>\n", "C:\\Extra"},
      {key + "<string>C:\\Extra</string>\n" + on, "C:\\Extra"},
      {"\t <key>UseExtraPhotoshopPluginsDir</key> \r\n\t<bool>true</bool>\t\r\n  " + key +
           "\t\t<string>C:\\Extra</string>  ",
       "C:\\Extra"},
      // CR alone and CR LF end lines as well; the break after the last line adds nothing.
      {"<key>UseExtraPhotoshopPluginsDir</key>\r<bool>true</bool>\r\n<key>ExtraPhotoshopPluginsDir</key>\r"
       "<string>C:\\Extra</string>\r\n",
       "C:\\Extra"},
      // Blanks inside the tags and character references are kept as they are.
      {on + key + "<string> C:\\A&amp;B </string>", " C:\\A&amp;B "},
      {on + key + "x<string>C:\\Extra</string><string>D:\\</string>", "C:\\Extra"},
      {"<key>UseExtraPhotoshopPluginsDir</key>\n<bool>false</bool>\n" + key + "<string>C:\\Extra</string>", ""},
      {"<key>UseExtraPhotoshopPluginsDir</key>\n<bool>TRUE</bool>\n" + key + "<string>C:\\Extra</string>", ""},
      {key + "<string>C:\\Extra</string>", ""},
      // Once switched on, a later "false" does not switch it off.
      {on + "<key>UseExtraPhotoshopPluginsDir</key>\n<bool>false</bool>\n" + key + "<string>C:\\E</string>", "C:\\E"},
      {on + "<key>ExtraPhotoshopPluginsDir</key><string>C:\\Extra</string>\n", ""},
      {on + key + "<string>C:\\First</string>\n" + key + "<string>C:\\Second</string>", "C:\\Second"},
      {on + key + "<string>C:\\First</string>\n" + key + "<string></string>", ""},
      {on + key + "<string>C:\\Extra", ""},
      // No opening tag: the characters from position 8 up to the closing tag at 20.
      {on + key + "0123456789ABCDEFGHI</string>", "789ABCDEFGHI"},
      {on + key + "</string>", ""},
      // A key on the last line has no value line; the earlier folder stays.
      {on + key + "<string>C:\\Extra</string>\n" + key, "C:\\Extra"},
      {on + key + "<string>C:\\Extra</string>\n" + "<key>ExtraPhotoshopPluginsDir</key>\r\n", "C:\\Extra"},
      {key + "<string>C:\\Extra</string>\n<key>UseExtraPhotoshopPluginsDir</key>", ""},
      // Every line is judged, even one that is the value line of the line before it.
      {"<key>UseExtraPhotoshopPluginsDir</key>\n" + on + key + "<string>C:\\Extra</string>", "C:\\Extra"},
      {on + key + key + "<string>C:\\Extra</string>", "C:\\Extra"},
      {Bytes("<key>UseExtraPhotoshopPluginsDir</key>\n<bool>true</bool>\0\n") + key + "<string>C:\\Extra</string>", ""},
      {on + Bytes("<key>ExtraPhotoshopPluginsDir</key>\n<string>C:\\Ex\0tra</string>"), ""},
      {"", ""},
      {"\n\n\r\n", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadFireworks(c.text), c.folder) << c.text;
}

TEST_F(PreferenceDetectorsTest, OnlyTheNewestMarkedFireworksCounts) {
  MarkFireworks(8);
  MarkFireworks(7);
  MarkFireworks(6);
  Write(std::string(kFw8) + "\\" + kFw8File, "<key>ExtraPhotoshopPluginsDir</key>\n<string>C:\\Off</string>\n");
  Write(std::string(kAppData) + "\\Macromedia\\Fireworks 7\\Fireworks 7 Preferences.txt",
        FireworksPreferences("C:\\Seven"));
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), Values{});

  // An empty marker is no marker: version 7 is the newest then.
  MarkFireworks(8, "");
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Fw7", "C:\\Seven"}}));
}

TEST_F(PreferenceDetectorsTest, FireworksWithoutItsPreferenceFileRecordsNothing) {
  MarkFireworks(8);
  MarkFireworks(2);
  Write(std::string(kAppData) + "\\Macromedia\\Fireworks 2\\Fireworks 2 Preferences.txt",
        FireworksPreferences("C:\\2"));
  DetectFireworks(platform_);  // no search folder for version 8
  MakeFolder(kFw8);
  DetectFireworks(platform_);  // an empty one
  Write(std::string(kFw8) + "\\fireworks 8 preferences.txt", FireworksPreferences("C:\\Case"));
  DetectFireworks(platform_);  // a name that differs in letter case
  EXPECT_EQ(Scratch(), Values{});
}

TEST_F(PreferenceDetectorsTest, FireworksNeedsTheApplicationDataFolder) {
  MarkFireworks(8);
  Write(std::string(kFw8) + "\\" + kFw8File, FireworksPreferences("C:\\Extra"));
  Set(RootKey::kCurrentUser, kShellFolders, "AppData", "");
  DetectFireworks(platform_);
  DetectCanvas(platform_);
  EXPECT_EQ(Scratch(), Values{});
  EXPECT_EQ(keyboard_.questions_asked_, 0);
  Set(RootKey::kCurrentUser, kShellFolders, "AppData", kAppData);
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Fw8", "C:\\Extra"}}));
}

TEST_F(PreferenceDetectorsTest, FireworksFindsItsFileInALanguageFolder) {
  MarkFireworks(8);
  Write(std::string(kFw8) + "\\English\\Configuration\\" + kFw8File, FireworksPreferences("C:\\Extra\\"));
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Fw8", "C:\\Extra\\"}}));
}

TEST_F(PreferenceDetectorsTest, UnreadablePreferenceFilesCountAsNotFound) {
  MarkFireworks(8);
  std::string fireworks = std::string(kFw8) + "\\" + kFw8File;
  Write(fireworks, FireworksPreferences("C:\\Extra"));
  std::string canvas9 = std::string(kAppData) + "\\Deneba\\Canvas9\\CVAppData.set";
  Write(canvas9, "(PPRF:plugInPath1,4)=\"C:\\9\\\"");
  Write(std::string(kAppData) + "\\ACD Systems\\Canvas 12\\CVAppData.set", "(PPRF:plugInPath1,5)=\"C:\\12\"");
  files_.HoldOpen(fireworks);
  files_.HoldOpen(canvas9);
  DetectFireworks(platform_);
  DetectCanvas(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Cv12", "C:\\12"}}));
  files_.Release(fireworks);
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Cv12", "C:\\12"}, {"Fw8", "C:\\Extra"}}));
}

// A file system whose reads fail as a file too large for memory makes them fail.
class ExhaustedFileSystem : public PortableFileSystem {
 public:
  using PortableFileSystem::PortableFileSystem;
  std::optional<std::string> ReadWholeFile(const std::string&, std::size_t) override { throw std::bad_alloc(); }
};

TEST_F(PreferenceDetectorsTest, AFileTooLargeToHoldCountsAsNotFound) {
  MarkFireworks(8);
  Write(std::string(kFw8) + "\\" + kFw8File, FireworksPreferences("C:\\Extra"));
  Write(std::string(kAppData) + "\\Deneba\\Canvas9\\CVAppData.set", "(PPRF:plugInPath1,4)=\"C:\\9\\\"");
  ExhaustedFileSystem files("C:\\Package\\");
  files.MapDrive('C', root_);
  Platform exhausted{registry_, profile_, files, keyboard_, clock_, environment_};
  EXPECT_NO_THROW(DetectFireworks(exhausted));
  EXPECT_NO_THROW(DetectCanvas(exhausted));
  EXPECT_EQ(Scratch(), Values{});
}

// ---- The file search ------------------------------------------------------------

TEST_F(PreferenceDetectorsTest, SearchIsDepthFirstAndTheFirstMatchWins) {
  std::string root = "C:\\Tree";
  Write(root + "\\A Lang\\Deep\\" + kFw8File, "a");
  Write(root + "\\" + kFw8File, "root");
  Write(root + "\\B Lang\\" + kFw8File, "b");
  EXPECT_EQ(FindFileInTree(platform_, root, kFw8File), root + "\\A Lang\\Deep\\" + kFw8File);
  EXPECT_EQ(FindFileInTree(platform_, root + "\\", kFw8File), root + "\\A Lang\\Deep\\" + kFw8File);
  EXPECT_EQ(FindFileInTree(platform_, root + "\\B Lang", kFw8File), root + "\\B Lang\\" + kFw8File);
}

TEST_F(PreferenceDetectorsTest, AFolderNamedLikeTheFileIsSearched) {
  std::string inner = std::string("C:\\Tree\\") + kFw8File + "\\" + kFw8File;
  Write(inner, "inner");
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Tree", kFw8File), inner);
  std::filesystem::remove(files_.HostPath(inner));
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Tree", kFw8File), "");
}

TEST_F(PreferenceDetectorsTest, SearchOfAFolderThatCannotBeListedFindsNothing) {
  Write("C:\\File.txt", "not a folder");
  // The inner folder's listing pattern is too long for the file system.
  std::string outer = "C:\\" + std::string(200, 'L');
  Write(outer + "\\" + std::string(100, 'M') + "\\" + kFw8File, "too deep to list");
  for (const std::string& folder :
       {std::string("C:\\Missing"), std::string("C:\\File.txt"), outer, std::string("Q:\\")})
    EXPECT_EQ(FindFileInTree(platform_, folder, kFw8File), "") << folder;
}

TEST_F(PreferenceDetectorsTest, EscapeHeldStopsTheSearchAtOnce) {
  MarkFireworks(8);
  Write(std::string(kFw8) + "\\" + kFw8File, FireworksPreferences("C:\\Extra"));
  keyboard_.HoldEscape(true);
  DetectFireworks(platform_);
  EXPECT_EQ(keyboard_.questions_asked_, 1);
  EXPECT_EQ(Scratch(), Values{});
  keyboard_.HoldEscape(false);
  DetectFireworks(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Fw8", "C:\\Extra"}}));
}

TEST_F(PreferenceDetectorsTest, AShortPressSkipsOnlyTheFolderThatAsksNext) {
  Write(std::string("C:\\Tree\\A\\") + kFw8File, "a");
  Write(std::string("C:\\Tree\\B\\") + kFw8File, "b");
  keyboard_.PressEscapeAtQuestion(2);  // asked by C:\Tree\A
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Tree", kFw8File), std::string("C:\\Tree\\B\\") + kFw8File);
  EXPECT_EQ(keyboard_.questions_asked_, 3);
}

TEST_F(PreferenceDetectorsTest, EscapeHeldMidwayStillComparesTheFilesOfOpenListings) {
  // Questions: 1 Tree, 2 A, 3 A\A1, 4 A\A2. Held from the third on, the
  // match in A2 is never seen, but the one in Tree itself still is.
  MakeFolder("C:\\Tree\\A\\A1");
  Write(std::string("C:\\Tree\\A\\A2\\") + kFw8File, "a2");
  Write(std::string("C:\\Tree\\") + kFw8File, "tree");
  for (int question = 3; question < 10; ++question) keyboard_.PressEscapeAtQuestion(question);
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Tree", kFw8File), std::string("C:\\Tree\\") + kFw8File);
  EXPECT_EQ(keyboard_.questions_asked_, 4);
}

TEST_F(PreferenceDetectorsTest, FolderLinksAreNotEntered) {
  // A link back up the tree, listed before the folder that holds the file.
  Write(std::string("C:\\Tree\\Z\\") + kFw8File, "z");
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Tree"), files_.HostPath("C:\\Tree\\Loop"));
  std::filesystem::create_directory_symlink("..", files_.HostPath("C:\\Tree\\Z\\Up"));
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Tree", kFw8File), std::string("C:\\Tree\\Z\\") + kFw8File);
  EXPECT_EQ(keyboard_.questions_asked_, 2) << "only Tree and Tree\\Z are searched";

  // Nor is a link to a folder elsewhere that holds the file.
  Write(std::string("C:\\Elsewhere\\") + kFw8File, "elsewhere");
  MakeFolder("C:\\Linked");
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Elsewhere"), files_.HostPath("C:\\Linked\\To"));
  EXPECT_EQ(FindFileInTree(platform_, "C:\\Linked", kFw8File), "");
}

// ---- Canvas -------------------------------------------------------------------------

TEST_F(PreferenceDetectorsTest, CanvasReaderTakesTheFirstPathsEntry) {
  struct Case {
    std::string text;
    std::string path;
  };
  const Case cases[] = {
      {"(PPRF:plugInPath1,12)=\"C:\\Canvas\\P1\"", "C:\\Canvas\\P1"},
      {"xPPRF:plugInPath1, 5)=\"C:\\P1\" more", "C:\\P1"},
      {"PPRF:plugInPath1,5)=\"C:\\P1\"", ""},  // the key must start at the second character
      {"(PPRF:plugInPath2,4)=\"C:\\2\"\n(PPRF:plugInPath1,4)=\"C:\\1\"", "C:\\1"},
      {"(PPRF:plugInPath2,4)=\"C:\\2x\"\r(PPRF:plugInPath3,4)=\"C:\\3\"", "C:\\2"},
      {"(PPRF:plugInPath,4)=\"C:\\0\"", "C:\\0"},
      // The first path's key is recognised by its first 16 characters.
      {"(PPRF:plugInPath2,4)=\"C:\\2\"\n(PPRF:plugInPath10,4)=\"C:\\A\"", "C:\\A"},
      // The first path's entry wins even when its length is useless.
      {"(PPRF:plugInPath2,4)=\"C:\\2\"\n(PPRF:plugInPath1,x)=\"C:\\1\"", ""},
      {"(PPRF:plugInPath1,99)=\"C:\\P1\" end", "C:\\P1\" end"},
      {"(PPRF:plugInPath1,2147483647)=\"C:\\P1\"", "C:\\P1\""},
      {"(PPRF:plugInPath1,0)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,-3)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,-2147483648)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,4)=C:\\P1", "(PPR"},
      {"(PPRF:plugInPath1,+4)=\"C:\\P1\"", "C:\\P"},
      {"(PPRF:plugInPath1,\t 4)=\"C:\\P1\"", "C:\\P"},
      {"(PPRF:plugInPath1,4 )=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,4x)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,- 4)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,++4)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,99999999999)=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1 4)=\"C:\\P1\"", ""},  // no comma
      {"(PPRF:plugInPath1,4=\"C:\\P1\"", ""},   // no closing parenthesis
      {"(PPRF:plugInPath1)4,=\"C:\\P1\"", ""},  // the parenthesis before the comma
      {")PPRF:plugInPath1,4=\"C:\\P1\"", ""},
      {"(PPRF:plugInPath1,4)=\"C:\\P1\",(5)", "C:\\P"},
      {Bytes("(PPRF:plugInPath2,4)=\"C:\\2\"\0\n(PPRF:plugInPath1,4)=\"C:\\1\""), "C:\\2"},
      {Bytes("\0(PPRF:plugInPath1,4)=\"C:\\1\""), ""},
      {"", ""},
      {"x\n\n(\n(P\n", ""},
      {"(PPRF:plugInPat", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadCanvas(c.text), c.path) << c.text;
}

TEST_F(PreferenceDetectorsTest, CanvasRowsAreIndependent) {
  const char* rows[][2] = {
      {"\\Deneba\\Canvas9\\CVAppData.set", "Cv9"},
      {"\\ACD Systems\\Canvas X\\CVAppData.set", "Cv10"},
      {"\\ACD Systems\\Canvas 11\\CVAppData.set", "Cv11"},
      {"\\ACD Systems\\Canvas 12\\CVAppData.set", "Cv12"},
  };
  Values expected;
  for (const auto& [file, name] : rows) {
    std::string folder = std::string("C:\\Plug-ins\\") + name;
    Write(kAppData + std::string(file),
          "header\r\n(PPRF:plugInPath1," + std::to_string(folder.size()) + ")=\"" + folder + "\"\r\n");
    expected[name] = folder;
  }
  DetectCanvas(platform_);
  EXPECT_EQ(Scratch(), expected);

  // A missing file, a folder in its place and a file without an entry are
  // passed over; the rows after them are still read.
  DeleteScratchKey(registry_);
  std::filesystem::remove(files_.HostPath(kAppData + std::string(rows[0][0])));
  std::filesystem::remove(files_.HostPath(kAppData + std::string(rows[1][0])));
  MakeFolder(kAppData + std::string(rows[1][0]));
  Write(kAppData + std::string(rows[2][0]), "(PPRF:plugInPath1,0)=\"C:\\\"");
  DetectCanvas(platform_);
  EXPECT_EQ(Scratch(), (Values{{"Cv12", "C:\\Plug-ins\\Cv12"}}));
}

// ---- Xara -----------------------------------------------------------------------------

TEST_F(PreferenceDetectorsTest, XaraAppendsThePlugInFolderToEachRoot) {
  const char* rows[][3] = {
      {"Software\\Xara\\Xara Xtreme", "XX", "C:\\Xara\\"},
      {"Software\\Xara\\XtremePro\\1", "XXPrP1", "C:\\Pro1\\"},
      {"Software\\Xara\\XtremePro\\2", "XXPrP2", "C:\\Pro2\\"},
      {"Software\\Xara\\XtremePro\\3", "XXPrP3", "C:\\Pro3\\"},
      {"Software\\Xara\\XtremePro\\4", "XXPrP4", "C:\\Pro4\\"},
      {"Software\\Xara\\XtremePro\\5", "XXPrP5", "C:\\Pro5"},
      {"Software\\Xara\\XtremePro\\5.1", "XXPrP51", "C:\\Pro51\\"},
  };
  Values expected;
  for (const auto& [key, name, root] : rows) {
    Set(RootKey::kLocalMachine, key, "XaraX Root Dir", root);
    expected[name] = std::string(root) + "Xara Picture Editor\\PSplug-ins";
  }
  Set(RootKey::kLocalMachine, "Software\\Xara\\XtremePro\\6", "XaraX Root Dir", "C:\\Pro6\\");
  Set(RootKey::kLocalMachine, "Software\\Xara\\XtremePro\\3", "XaraX Root Dir", "");
  expected.erase("XXPrP3");
  DetectXara(platform_);
  EXPECT_EQ(Scratch(), expected);
  EXPECT_EQ(Scratch()["XXPrP5"], "C:\\Pro5Xara Picture Editor\\PSplug-ins");
}

// ---- Bad input ------------------------------------------------------------------------

TEST_F(PreferenceDetectorsTest, BadFilesYieldOnlyWhatTheRulesSay) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(1 + (i * 37) % 255);
  std::string megabyte_line(1 << 20, 'x');
  std::string long_folder(256 << 10, 'F');
  struct Case {
    const char* what;
    std::string text;
    std::string fireworks;
    std::string canvas;
  };
  const Case cases[] = {
      {"empty", "", "", ""},
      {"binary", binary, "", ""},
      {"one line without an end", megabyte_line, "", ""},
      {"NUL bytes", std::string(1000, '\0') + FireworksPreferences("C:\\X") + "(PPRF:plugInPath1,4)=\"C:\\X\"", "", ""},
      {"megabyte lines around the entries",
       megabyte_line + "\n" + FireworksPreferences(long_folder) + megabyte_line + "\n(PPRF:plugInPath1," +
           std::to_string(long_folder.size()) + ")=\"" + long_folder + "\"\n" + megabyte_line,
       long_folder, long_folder},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadFireworks(c.text), c.fireworks) << c.what;
    EXPECT_EQ(ReadCanvas(c.text), c.canvas) << c.what;
  }
}

TEST_F(PreferenceDetectorsTest, FilesUpToTheLimitAreReadToTheEndLargerOnesNotAtAll) {
  // Ordinary lines, then half a million empty ones (the case that would cost
  // most if every line were kept), the entries last, just within the limit.
  const std::string entries = FireworksPreferences("C:\\End") + "(PPRF:plugInPath1,6)=\"C:\\End\"\n";
  const std::string line = "\t<key>Other</key> <string>" + std::string(64, 'v') + "</string>\r\n";
  const std::size_t empty_lines = 512 << 10;
  std::string huge;
  while (huge.size() + line.size() + empty_lines + entries.size() <= kHostTextFileLimit) huge += line;
  huge.append(empty_lines, '\n');
  huge += entries;
  ASSERT_LE(huge.size(), kHostTextFileLimit);
  EXPECT_EQ(ReadFireworks(huge), "C:\\End");
  EXPECT_EQ(ReadCanvas(huge), "C:\\End");

  huge.insert(0, kHostTextFileLimit + 1 - huge.size(), '\n');
  EXPECT_EQ(ReadFireworks(huge), "");
  EXPECT_EQ(ReadCanvas(huge), "");
}

// ---- The detection pass -------------------------------------------------------------

struct EveryDetectorTest : testing::Test, AppWorld {
  void Set(RootKey root, const std::string& key, std::string_view name, std::string_view text) {
    ScopedKey opened(registry_, registry_.Create(root, key));
    registry_.SetString(opened.get(), name, text);
  }
};

TEST_F(EveryDetectorTest, TheMainWindowListsWhatEveryDetectorFinds) {
  constexpr RootKey kHkcu = RootKey::kCurrentUser;
  constexpr RootKey kHklm = RootKey::kLocalMachine;
  Set(kHklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\Installation", "InstallPath", "C:\\FH8");
  Set(kHklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\English", "XtrasDir", "Xtras");
  Set(kHkcu, "Software\\Computerinsel\\PhotoLine\\Settings", "PlugInPath", "1;C:\\PL");
  Set(kHkcu, "Software\\Microsoft\\PhotoDraw\\1.0", "InstallDest", "C:\\Apps");
  Set(kHkcu, "Software\\Corel\\Corel PHOTO-PAINT\\9", "LastWorkspaceUsed", "C:\\WS9\\Main.cpw");
  Write("C:\\WS9\\Main\\photopnt.ini", "[PluginFilters]\r\nDirs1=C:\\PP9;00\r\n");
  Set(kHkcu, "Software\\Corel\\CorelDraw\\12.0\\CorelPHOTO-PAINT", "LastWorkspaceUsed", "C:\\WS12\\Main.cpw");
  Write("C:\\WS12\\Main\\CorelPP.ini", "[PluginFilters]\r\nDirs3=C:\\PP12;00\r\n");
  Set(kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\10.0\\installer", "Path", "C:\\PI10");
  Set(kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter X.exe", "Path", "C:\\PX\\");
  Set(kHklm, FireworksMarkerKey(8), "InstallPath", "C:\\FW8\\");
  Set(kHkcu, kShellFolders, "AppData", kAppData);
  Write(std::string(kFw8) + "\\English\\" + kFw8File, FireworksPreferences("C:\\FW8\\Extra"));
  Write(std::string(kAppData) + "\\Deneba\\Canvas9\\CVAppData.set", "(PPRF:plugInPath1,6)=\"C:\\CV9\"");
  Set(kHklm, "Software\\Xara\\Xara Xtreme", "XaraX Root Dir", "C:\\Xara\\");
  app_.Run();
  std::vector<std::string> items;
  for (int i = 0; i < Main().ItemCount(TMainForm::Detected); ++i)
    items.push_back(Main().ItemText(TMainForm::Detected, i));
  EXPECT_EQ(items, (std::vector<std::string>{
                       "Canvas 9 by Deneba/ACD Systems",
                       "FireWorks 8 by MacroMedia",
                       "Freehand 8 by MacroMedia",
                       "Painter X by Corel",
                       "PhotoDraw 2000 by Microsoft, 1st path",
                       "PhotoImpact 10 by Ulead, standard",
                       "PhotoLine32 5/6 by Computerinsel, 1st path",
                       "PhotoPaint 9 by Corel, 1st path",
                       "PhotoPaint 12 by Corel, 3rd path",
                       "Xara Xtreme 2 by Xara, main path",
                   }));
  EXPECT_EQ(ScratchValues(registry_), (Values{
                                          {"Cv9", "C:\\CV9"},
                                          {"Fh8", "C:\\FH8\\Xtras"},
                                          {"Fw8", "C:\\FW8\\Extra"},
                                          {"PD2KP1", "C:\\Apps\\PhotoDraw\\PlugIns"},
                                          {"PP12P3", "C:\\PP12"},
                                          {"PP9P1", "C:\\PP9"},
                                          {"Pi10", "C:\\PI10\\plugin"},
                                          {"Pl5P1", "C:\\PL"},
                                          {"Pt10", "C:\\PX\\Plugins"},
                                          {"XX", "C:\\Xara\\Xara Picture Editor\\PSplug-ins"},
                                      }));
}

}  // namespace
}  // namespace setup
