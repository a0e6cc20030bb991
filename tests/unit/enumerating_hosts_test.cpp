// Package hosts that stand for every place matching a pattern: a "*" key of
// a registry place, or wildcards in the last folder of a folder place.
#include <gtest/gtest.h>

#include "check/host_report.h"
#include "config/package_hosts.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/package_host_places.h"
#include "unit/app_world.h"

namespace setup {
namespace {

using Main = TMainForm;

TEST(VersionOrderTest, DigitsByValueOtherTextWithoutCase) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"90.0", "140.0", -1},
      {"140.0", "90.0", 1},
      {"180.0", "180.0", 0},
      {"Brisk Paint 9", "Brisk Paint 2023", -1},
      {"brisk paint 10", "Brisk Paint 9", 1},
      {"BRISK", "brisk", 0},
      {"007", "7", 0},
      {"99999999999999999999999", "100000000000000000000000", -1},  // longer than any integer type
      {"2", "a", -1},
      {"v2", "v2a", -1},
      {"", "0", -1},
      {"2024 beta", "2024", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareVersionNames(c.a, c.b), c.order) << c.a << " / " << c.b;
}

TEST(EnumeratingParseTest, OneStarComponentAndPlaceholderTexts) {
  TestWorld world;
  world.WriteSetupIni(
      "[hosts]\r\na=%FOLDER%\r\nb=%FOLDER%\r\nc=Two stars\r\nd=Star in a name\r\n"
      "[host.a]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\n"
      "[host.b]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*\\PluginPath|\r\n"
      "[host.c]\r\nregistry=HKLM\\SOFTWARE\\*\\Photoshop\\*|ApplicationPath\r\n"
      "[host.d]\r\nregistry=HKLM\\SOFTWARE\\Photo*|Path\r\n");
  PackageHosts parsed = ReadPackageHosts(world.platform_);
  // A text with a placeholder is compared only once it is replaced.
  ASSERT_EQ(parsed.hosts.size(), 3u);
  EXPECT_TRUE(EnumeratesKeys(parsed.hosts[0]));
  EXPECT_TRUE(EnumeratesKeys(parsed.hosts[1]));
  EXPECT_FALSE(EnumeratesKeys(parsed.hosts[2])) << "a * inside a name is the name's own character";
  ASSERT_EQ(parsed.skipped.size(), 1u);
  EXPECT_EQ(parsed.skipped[0].id, "c");
  EXPECT_EQ(parsed.skipped[0].problem, PackageHostProblem::kManyWildcards);
}

// Photoshop versions in the 64-bit view (one in a folder that is gone, one
// with a relative path), a decoy in the 32-bit view, and a host installed
// by folders of one name pattern.
constexpr char kMachine64[] =
    "REGEDIT4\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\180.0]\n\"ApplicationPath\"=\"C:\\\\Program Files\\\\Adobe\\\\Adobe "
    "Photoshop 2024\\\\\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\180.0\\PluginPath]\n@=\"C:\\\\Plug-ins 2024\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\90.0]\n\"ApplicationPath\"=\"C:\\\\Program Files\\\\Adobe\\\\Adobe "
    "Photoshop CC 2015\\\\\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\170.0]\n\"ApplicationPath\"=\"C:\\\\Uninstalled\\\\\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\160.0]\n\"ApplicationPath\"=\"Relative\\\\\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\Settings]\n";
constexpr char kMachine32[] =
    "REGEDIT4\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\200.0]\n\"ApplicationPath\"=\"C:\\\\Program Files\\\\Adobe\\\\Adobe "
    "Photoshop 2024\\\\\"\n";

constexpr char kPhotoshopHosts[] =
    "[hosts]\r\n"
    "ps=%FOLDER%\r\n"
    "plugins=Photoshop %KEY% (its plug-in path)\r\n"
    "brisk=%FOLDER% (%KEY%)\r\n"
    "[host.ps]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\nview=64\r\nappend=Plug-ins\r\n"
    "select=0\r\n"
    "[host.plugins]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*\\PluginPath|\r\nview=64\r\n"
    "[host.brisk]\r\nfolder=%ProgramW6432%\\Brisk\\Brisk Paint *\\\r\nfiles=brisk\r\n"
    "[files]\r\n1=a.8bf\r\n[brisk]\r\n1=b.8bf\r\n";

struct EnumeratingWorld : AppWorld {
  EnumeratingWorld() {
    registry_.Load(kMachine64, RegistryView::k64Bit);
    registry_.Load(kMachine32);
    environment_.Set("ProgramW6432", "C:\\Program Files");
    for (const char* folder :
         {"C:\\Program Files\\Adobe\\Adobe Photoshop 2024", "C:\\Program Files\\Adobe\\Adobe Photoshop CC 2015",
          "C:\\Plug-ins 2024", "C:\\Package\\Relative", "C:\\Program Files\\Brisk\\Brisk Paint 2023",
          "C:\\Program Files\\Brisk\\Brisk Paint 9", "C:\\Program Files\\Brisk\\brisk paint 10"})
      std::filesystem::create_directories(files_.HostPath(folder));
    Write("C:\\Program Files\\Brisk\\Brisk Paint 11", "a file, not a host");
    Write("C:\\Package\\a.8bf", "A");
    Write("C:\\Package\\b.8bf", "B");
  }
};

struct EnumeratingHostsTest : testing::Test, EnumeratingWorld {};

TEST_F(EnumeratingHostsTest, EachMatchIsAHostInVersionOrderWithItsOwnText) {
  HeadlessWindow& main = RunWith(kPhotoshopHosts);
  EXPECT_EQ(Items(), (std::vector<std::string>{
                         "Adobe Photoshop CC 2015",
                         "Adobe Photoshop 2024",
                         "Photoshop 180.0 (its plug-in path) [x]",
                         "Brisk Paint 9 () [x]",
                         "brisk paint 10 () [x]",
                         "Brisk Paint 2023 () [x]",
                     }));
  // Pointing shows each match's own folder.
  main.MovePointer(Main::Detected, 10, 13 + 2);
  EXPECT_EQ(main.Text(Main::Status), "C:\\Program Files\\Adobe\\Adobe Photoshop 2024\\Plug-ins");
  main.MovePointer(Main::Detected, 10, 13 * 5 + 2);
  EXPECT_EQ(main.Text(Main::Status), "C:\\Program Files\\Brisk\\Brisk Paint 2023");

  // A version installed while the window is open appears after a rescan.
  registry_.Load("REGEDIT4\n[HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n\"ApplicationPath\"=\"C:\\\\PS 2025\"\n",
                 RegistryView::k64Bit);
  std::filesystem::create_directories(files_.HostPath("C:\\PS 2025"));
  main.SetVisible(Main::Rescan, true);
  main.Click(Main::Rescan);
  EXPECT_EQ(Items()[2], "PS 2025");

  // Install serves the ticked matches in list order, each with its own files.
  for (int item : {0, 2}) main.SetItemChecked(Main::Detected, item, true);
  for (int item : {5, 6}) main.SetItemChecked(Main::Detected, item, false);
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdNo; };
  main.Click(Main::Install);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string(StringText(kStrExitQuestion))});
  struct Expected {
    const char* file;
    const char* content;  // empty: must not exist
  } expected[] = {
      {"C:\\Program Files\\Adobe\\Adobe Photoshop CC 2015\\Plug-ins\\a.8bf", "A"},
      {"C:\\PS 2025\\Plug-ins\\a.8bf", "A"},
      {"C:\\Program Files\\Adobe\\Adobe Photoshop 2024\\Plug-ins\\a.8bf", ""},
      {"C:\\Plug-ins 2024\\a.8bf", "A"},
      {"C:\\Program Files\\Brisk\\Brisk Paint 9\\b.8bf", "B"},
      {"C:\\Program Files\\Brisk\\Brisk Paint 2023\\b.8bf", ""},
  };
  for (const Expected& e : expected) EXPECT_EQ(files_.ReadWholeFile(e.file, 100).value_or(""), e.content) << e.file;
}

TEST_F(EnumeratingHostsTest, TextsTakenOnceAndTheSwitchesOfTheId) {
  struct Case {
    std::string ini;
    std::vector<std::string> listed;
  } cases[] = {
      // Without a placeholder every match has the same text: the first is listed.
      {"[hosts]\r\nps=Photoshop\r\n[host.ps]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\n"
       "view=64\r\n",
       {"Photoshop [x]"}},
      // A match whose text an earlier one has is skipped.
      {"[hosts]\r\nfirst=Adobe Photoshop 2024\r\nps=%FOLDER%\r\nold=PhotoShop %KEY% by Adobe\r\n"
       "[host.first]\r\nfolder=C:\\Plug-ins 2024\r\n"
       "[host.ps]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\nview=64\r\n"
       "[host.old]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\nview=64\r\n",
       {"Adobe Photoshop 2024 [x]", "Adobe Photoshop CC 2015 [x]", "PhotoShop 90.0 by Adobe [x]",
        "PhotoShop 180.0 by Adobe [x]"}},
      // [enabled] switches every match by the host's id.
      {"[enabled]\r\nps=0\r\n" + std::string(kPhotoshopHosts),
       {"Photoshop 180.0 (its plug-in path) [x]", "Brisk Paint 9 () [x]", "brisk paint 10 () [x]",
        "Brisk Paint 2023 () [x]"}},
      // The 32-bit view has only the decoy.
      {"[hosts]\r\nps=%KEY%\r\n[host.ps]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\n",
       {"200.0 [x]"}},
  };
  for (const Case& c : cases) {
    EnumeratingWorld world;
    world.RunWith(c.ini);
    EXPECT_EQ(world.Items(), c.listed) << c.ini;
  }
}

TEST_F(EnumeratingHostsTest, TheLimitCountsMatches) {
  std::string machine = "REGEDIT4\n";
  for (int i = 0; i < 150; ++i) {
    machine +=
        "[HKLM\\SOFTWARE\\Many\\" + std::to_string(i) + "]\n\"Path\"=\"C:\\\\Many\\\\" + std::to_string(i) + "\"\n";
    std::filesystem::create_directories(files_.HostPath("C:\\Many\\" + std::to_string(i)));
  }
  registry_.Load(machine, RegistryView::k64Bit);
  RunWith(
      "[hosts]\r\nmany=Many %KEY%\r\nlater=Later\r\n"
      "[host.many]\r\nregistry=HKLM\\SOFTWARE\\Many\\*|Path\r\nview=64\r\n"
      "[host.later]\r\nfolder=C:\\Plug-ins 2024\r\n");
  std::vector<std::string> items = Items();
  ASSERT_EQ(items.size(), kMaxPackageHosts);
  EXPECT_EQ(items.front(), "Many 0 [x]");
  EXPECT_EQ(items.back(), "Many 99 [x]") << "in version order, not in the registry's";
}

TEST_F(EnumeratingHostsTest, TheCheckerNamesEachMatchWithItsPlace) {
  WriteSetupIni("[options]\r\nsubdir=Acme\r\n" + std::string(kPhotoshopHosts));
  std::vector<HostRow> rows = ListHostsReadOnly(platform_);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1].description, "Adobe Photoshop 2024");
  EXPECT_EQ(rows[1].install_folder, "C:\\Program Files\\Adobe\\Adobe Photoshop 2024\\Plug-ins\\Acme\\");
  EXPECT_EQ(rows[1].detail,
            "[host.ps], HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Photoshop\\180.0, value ApplicationPath, 64-bit view");
  EXPECT_EQ(rows[3].detail, "[host.brisk], folder C:\\Program Files\\Brisk\\Brisk Paint 9");
}

}  // namespace
}  // namespace setup
