#include "config/package_hosts.h"

#include <gtest/gtest.h>

#include <set>

#include "config/setup_config.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/package_host_places.h"
#include "install/installation.h"
#include "unit/app_world.h"
#include "unit/installation_transcript.h"

namespace setup {
namespace {

using Main = TMainForm;

// A host in one line: id, text, place, append, subdir, files, select.
std::string Summary(const PackageHost& host) {
  std::string place = host.from_registry
                          ? std::string(host.root == RootKey::kLocalMachine ? "HKLM" : "HKCU") + "\\" + host.key_path +
                                "|" + host.value_name + (host.view == RegistryView::k64Bit ? " (64)" : " (32)")
                          : "folder " + host.folder;
  return host.id + "=" + host.description + "; " + place + "; append " + host.append + "; " +
         (host.use_subdir ? "subdir" : "direct") + "; " + host.files_section + "; " +
         (host.preselect ? "ticked" : "unticked");
}

std::vector<std::string> Summaries(const PackageHosts& parsed) {
  std::vector<std::string> lines;
  for (const PackageHost& host : parsed.hosts) lines.push_back(Summary(host));
  for (const SkippedPackageHost& skipped : parsed.skipped)
    lines.push_back("skipped " + skipped.id + ": " + std::string(ProblemText(skipped.problem)));
  return lines;
}

struct PackageHostParseTest : testing::Test, TestWorld {
  std::vector<std::string> Parse(const std::string& ini) {
    WriteSetupIni(ini);
    return Summaries(ReadPackageHosts(platform_));
  }
};

TEST_F(PackageHostParseTest, EveryKeyAndItsEdgeCases) {
  const std::string bad_root = "skipped x: " + std::string(ProblemText(PackageHostProblem::kBadRoot));
  const std::string bad_registry = "skipped x: " + std::string(ProblemText(PackageHostProblem::kBadRegistry));
  const std::string bad_append = "skipped x: " + std::string(ProblemText(PackageHostProblem::kBadAppend));
  const std::string no_place = "skipped x: " + std::string(ProblemText(PackageHostProblem::kNoPlace));
  struct Case {
    std::string section;  // [host.x], for [hosts] x=X
    std::vector<std::string> expected;
  } cases[] = {
      {"registry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0|ApplicationPath\r\nview=64\r\nappend=Plug-ins\r\n"
       "files=files64\r\nsubdir=0\r\nselect=0",
       {"x=X; HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0|ApplicationPath (64); append Plug-ins; direct; files64; "
        "unticked"}},
      {"registry=HKEY_CURRENT_USER\\Software\\Host\\|",
       {"x=X; HKCU\\Software\\Host| (32); append ; subdir; files; ticked"}},
      {"registry=hkey_local_machine\\A|V\r\nview=64bit\r\nsubdir=no\r\nselect=false",
       {"x=X; HKLM\\A|V (32); append ; subdir; files; ticked"}},
      // Both places: the registry is used; the folder is kept for whoever reports it.
      {"registry=HKCU\\A|V\r\nfolder=C:\\F", {"x=X; HKCU\\A|V (32); append ; subdir; files; ticked"}},
      {"folder=%CommonProgramW6432%\\Adobe\\Plug-Ins\\CC\r\nfiles=\r\nappend=Sub\\Deeper\\",
       {"x=X; folder %CommonProgramW6432%\\Adobe\\Plug-Ins\\CC; append Sub\\Deeper\\; subdir; files; ticked"}},
      {"", {no_place}},
      {"view=64\r\nappend=Plug-ins", {no_place}},
      {"registry=HKCR\\A|V", {bad_root}},
      {"registry=HKEY_CLASSES_ROOT\\A|V\r\nfolder=C:\\F", {bad_root}},
      {"registry=\\HKLM\\A|V", {bad_root}},
      {"registry=HKLM\\A\\V", {bad_registry}},
      {"registry=HKLM|V", {bad_registry}},
      {"registry=HKLM\\\\|V", {bad_registry}},
      {"folder=C:\\F\r\nappend=..\\Other", {bad_append}},
      {"folder=C:\\F\r\nappend=Plug-ins\\..\\..", {bad_append}},
      {"folder=C:\\F\r\nappend=C:\\Elsewhere", {bad_append}},
      {"folder=C:\\F\r\nappend=\\Root", {bad_append}},
      {"folder=C:\\F\r\nappend=a\\..\\b", {"x=X; folder C:\\F; append a\\..\\b; subdir; files; ticked"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Parse("[hosts]\r\nx=X\r\n[host.x]\r\n" + c.section + "\r\n"), c.expected) << c.section;
}

TEST_F(PackageHostParseTest, IdsDescriptionsAndTheLimit) {
  EXPECT_EQ(Parse("[options]\r\nsubdir=A\r\n"), std::vector<std::string>{});
  EXPECT_EQ(Parse("[hosts]\r\nx=X\r\n"),
            std::vector<std::string>{"skipped x: " + std::string(ProblemText(PackageHostProblem::kNoPlace))});

  auto skipped = [](const char* id, PackageHostProblem problem) {
    return "skipped " + std::string(id) + ": " + std::string(ProblemText(problem));
  };
  std::string places;
  for (const char* id : {"a-1_Z", "b", "c", "d", "e", "f", "g"})
    places += "[host." + std::string(id) + "]\r\nfolder=C:\\" + id + "\r\n";
  EXPECT_EQ(Parse("[hosts]\r\n"
                  "a-1_Z=First\r\n"
                  "b.c=Dotted\r\n"
                  "b c=Blank\r\n"
                  "A-1_z=Same id\r\n"
                  "b=photoshop 7 BY ADOBE\r\n"  // a catalogue description
                  "c=FIRST\r\n"                 // an earlier one
                  "d=\r\n"
                  "e=Second\r\n" +
                  places),
            (std::vector<std::string>{
                "a-1_Z=First; folder C:\\a-1_Z; append ; subdir; files; ticked",
                "e=Second; folder C:\\e; append ; subdir; files; ticked",
                skipped("b.c", PackageHostProblem::kBadId),
                skipped("b c", PackageHostProblem::kBadId),
                skipped("A-1_z", PackageHostProblem::kDuplicateId),
                skipped("b", PackageHostProblem::kDuplicateDescription),
                skipped("c", PackageHostProblem::kDuplicateDescription),
                skipped("d", PackageHostProblem::kNoDescription),
            }));

  // A skipped host does not count towards the limit nor take its text.
  std::string ini = "[hosts]\r\nbad=Host 7\r\n";
  for (int i = 0; i < 102; ++i) ini += "h" + std::to_string(i) + "=Host " + std::to_string(i) + "\r\n";
  for (int i = 0; i < 102; ++i) ini += "[host.h" + std::to_string(i) + "]\r\nfolder=C:\\H\r\n";
  WriteSetupIni(ini);
  PackageHosts parsed = ReadPackageHosts(platform_);
  ASSERT_EQ(parsed.hosts.size(), kMaxPackageHosts);
  EXPECT_EQ(parsed.hosts.back().id, "h99");
  EXPECT_EQ(parsed.hosts[7].description, "Host 7");
  ASSERT_EQ(parsed.skipped.size(), 3u);
  EXPECT_EQ(parsed.skipped[0].problem, PackageHostProblem::kNoPlace);
  EXPECT_EQ(parsed.skipped[1].id, "h100");
  EXPECT_EQ(parsed.skipped[2].problem, PackageHostProblem::kOverLimit);
}

// 5,000 ids fill the buffer of key names; the name it cuts short ("h27" of
// "h2731") would be read as an id given twice.
TEST_F(PackageHostParseTest, TheIdTheKeyBufferCutsShortIsNoDuplicate) {
  std::string ini = "[hosts]\r\n";
  for (int i = 0; i < 5000; ++i) ini += "h" + std::to_string(i) + "=Host " + std::to_string(i) + "\r\n";
  WriteSetupIni(ini);
  std::vector<std::string> ids = ReadSetupKeys(platform_, "hosts");
  ASSERT_GT(ids.size(), 2000u);
  ASSERT_LT(ids.size(), 5000u);
  EXPECT_EQ(ids.back(), "h" + std::to_string(ids.size() - 1));
  std::set<std::string> distinct(ids.begin(), ids.end());
  EXPECT_EQ(distinct.size(), ids.size());
}

TEST(ExpandVariablesTest, NamesOfSetVariablesAreReplacedOnce) {
  PortableEnvironment environment;
  environment.Set("CommonProgramW6432", "C:\\Program Files\\Common Files");
  environment.Set("A", "%B%");
  environment.Set("B", "b");
  environment.Set("Long", std::string(200, 'x'));
  struct Case {
    const char* text;
    std::string expected;
  } cases[] = {
      {"%COMMONPROGRAMW6432%\\Adobe", "C:\\Program Files\\Common Files\\Adobe"},
      {"%A%%B%", "%B%b"},
      {"%Missing%\\x", "%Missing%\\x"},
      {"%Missing%B%", "%Missingb"},
      {"100% %B", "100% %B"},
      {"%%B%", "%b"},
      {"%", "%"},
      {"", ""},
      {"%Long%%Long%%Long%\\end", std::string(400, 'x') + "%Long%\\end"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandVariables(c.text, environment), c.expected) << c.text;
}

// A machine with a 64-bit host in the registry's 64-bit view, a shared folder
// named through the environment, and Photoshop 7 from the catalogue.
constexpr char kMachine32[] =
    "REGEDIT4\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\180.0]\n\"ApplicationPath\"=\"C:\\\\PS32\\\\\"\n";
constexpr char kMachine64[] =
    "REGEDIT4\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n\"ApplicationPath\"=\"C:\\\\Program Files\\\\PS\\\\\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\191.0]\n\"ApplicationPath\"=hex(2):25,50,53,25,5c,4e,65,77,00\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\170.0]\n\"ApplicationPath\"=\"C:\\\\Uninstalled\"\n"
    "[HKLM\\SOFTWARE\\Adobe\\Photoshop\\160.0]\n\"ApplicationPath\"=\"Relative\"\n";

// The package of the example: a 64-bit host and the shared folder, each
// with the 64-bit files; the rest get [files]. More lines go into [host.cc].
std::string PackageIni(const std::string& cc_more = "") {
  return "[hosts]\r\n"
         "psnew=Photoshop (64-bit)\r\n"
         "cc=Shared Adobe plug-ins folder (64-bit)\r\n"
         "[host.psnew]\r\n"
         "registry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0|ApplicationPath\r\n"
         "view=64\r\n"
         "append=Plug-ins\r\n"
         "files=files64\r\n"
         "[host.cc]\r\n"
         "folder=%CommonProgramW6432%\\Adobe\\Plug-Ins\\CC\r\n"
         "files=files64\r\n"
         "subdir=0\r\n" +
         cc_more +
         "[files64]\r\n"
         "1=x64\\*.8bf\r\n"
         "[files]\r\n"
         "1=*.8bf\r\n";
}

constexpr char kSharedFolder[] = "C:\\Program Files\\Common Files\\Adobe\\Plug-Ins\\CC";

struct PackageHostWorld : AppWorld {
  PackageHostWorld() {
    registry_.Load(kMachine32);
    registry_.Load(kMachine64, RegistryView::k64Bit);
    environment_.Set("CommonProgramW6432", "C:\\Program Files\\Common Files");
    environment_.Set("PS", "C:\\PS191");
    for (const char* folder : {"C:\\PS7", "C:\\PS32", "C:\\Program Files\\PS\\Plug-ins",
                               "C:\\Program Files\\Common Files\\Adobe", "C:\\PS191\\New", "C:\\Package\\Relative"})
      std::filesystem::create_directories(files_.HostPath(folder));
    Write("C:\\Package\\a.8bf", "32");
    Write("C:\\Package\\x64\\a.8bf", "64");
    Write("C:\\Package\\x64\\b.8bf", "64");
  }
  void MakeSharedFolder() { std::filesystem::create_directories(files_.HostPath(kSharedFolder)); }
};

struct PackageHostListTest : testing::Test, PackageHostWorld {};

TEST_F(PackageHostListTest, ListedAfterTheCatalogueWhenTheirFolderExists) {
  RunWith(
      "[hosts]\r\n"
      "p32=In the 32-bit view\r\np64=Not in the 32-bit view\r\ngone=Uninstalled\r\nrel=Relative\r\n"
      "expand=Expanded\r\nenv=Unknown variable\r\n"
      "[host.p32]\r\nregistry=HKLM\\Software\\Adobe\\Photoshop\\180.0|ApplicationPath\r\n"
      "[host.p64]\r\nregistry=HKLM\\Software\\Adobe\\Photoshop\\190.0|ApplicationPath\r\nview=32\r\n"
      "[host.gone]\r\nregistry=HKLM\\Software\\Adobe\\Photoshop\\170.0|ApplicationPath\r\nview=64\r\n"
      "[host.rel]\r\nregistry=HKLM\\Software\\Adobe\\Photoshop\\160.0|ApplicationPath\r\nview=64\r\n"
      "[host.expand]\r\nregistry=HKLM\\Software\\Adobe\\Photoshop\\191.0|ApplicationPath\r\nview=64\r\n"
      "[host.env]\r\nfolder=%NoSuchVariable%\\PS7\r\n");
  EXPECT_EQ(Items(), (std::vector<std::string>{"PhotoShop 7 by Adobe [x]", "In the 32-bit view [x]", "Expanded [x]"}));
}

TEST_F(PackageHostListTest, EnabledAutoselectAndSelect) {
  struct Case {
    std::string ini;
    std::vector<std::string> listed;
  } cases[] = {
      {PackageIni(),
       {"PhotoShop 7 by Adobe [x]", "Photoshop (64-bit) [x]", "Shared Adobe plug-ins folder (64-bit) [x]"}},
      {"[enabled]\r\nPSNEW=0\r\n" + PackageIni(),
       {"PhotoShop 7 by Adobe [x]", "Shared Adobe plug-ins folder (64-bit) [x]"}},
      {"[enabled]\r\nall=0\r\ncc=1\r\n" + PackageIni(), {"Shared Adobe plug-ins folder (64-bit) [x]"}},
      {"[enabled]\r\ncc=\r\nall=0\r\n" + PackageIni(), {}},
      {"[enabled]\r\nall=no\r\nphotoshop=0\r\n" + PackageIni(),
       {"Photoshop (64-bit) [x]", "Shared Adobe plug-ins folder (64-bit) [x]"}},
      {"[options]\r\nautoselect=0\r\n" + PackageIni("select=0\r\n"),
       {"PhotoShop 7 by Adobe", "Photoshop (64-bit)", "Shared Adobe plug-ins folder (64-bit)"}},
      {PackageIni("select=0\r\n"),
       {"PhotoShop 7 by Adobe [x]", "Photoshop (64-bit) [x]", "Shared Adobe plug-ins folder (64-bit)"}},
      {PackageIni("select=no\r\n"),
       {"PhotoShop 7 by Adobe [x]", "Photoshop (64-bit) [x]", "Shared Adobe plug-ins folder (64-bit) [x]"}},
  };
  for (const Case& c : cases) {
    PackageHostWorld world;
    world.MakeSharedFolder();
    world.RunWith(c.ini);
    EXPECT_EQ(world.Items(), c.listed) << c.ini;
  }
}

TEST_F(PackageHostListTest, PointingShowsTheInstallFolderAndRescanRereadsThePlaces) {
  HeadlessWindow& main = RunWith(PackageIni());
  // The shared folder does not exist yet.
  EXPECT_EQ(Items(), (std::vector<std::string>{"PhotoShop 7 by Adobe [x]", "Photoshop (64-bit) [x]"}));
  main.MovePointer(Main::Detected, 10, 13 + 2);
  EXPECT_EQ(main.Text(Main::Status), "C:\\Program Files\\PS\\Plug-ins");
  registry_.Load(
      "REGEDIT4\n[HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n\"ApplicationPath\"=\"C:\\\\Program Files\\\\PS\"\n",
      RegistryView::k64Bit);
  main.MovePointer(Main::Detected, 10, 13 + 5);
  EXPECT_EQ(main.Text(Main::Status), "C:\\Program Files\\PS\\Plug-ins") << "a backslash only where needed";

  MakeSharedFolder();
  main.SetVisible(Main::Rescan, true);
  main.Click(Main::Rescan);
  EXPECT_EQ(Items(), (std::vector<std::string>{"PhotoShop 7 by Adobe [x]", "Photoshop (64-bit) [x]",
                                               "Shared Adobe plug-ins folder (64-bit) [x]"}));
  main.MovePointer(Main::Detected, 10, 13 * 2 + 2);
  EXPECT_EQ(main.Text(Main::Status), "C:\\Program Files\\Common Files\\Adobe\\Plug-Ins\\CC");
}

TEST_F(PackageHostListTest, InstallServesEachHostWithItsOwnFilesBeforeTheCustomFolder) {
  MakeSharedFolder();
  std::filesystem::create_directories(files_.HostPath("C:\\Custom"));
  HeadlessWindow& main = RunWith("[options]\r\nsubdir=Acme\r\n" + PackageIni());
  main.SetText(Main::Custom, "C:\\Custom");
  main.SetChecked(Main::DoCustom, true);
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdNo; };
  main.Click(Main::Install);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string(StringText(kStrExitQuestion))});
  struct Expected {
    const char* file;
    const char* content;  // empty: must not exist
  } expected[] = {
      {"C:\\PS7\\Acme\\a.8bf", "32"},
      {"C:\\PS7\\Acme\\x64\\a.8bf", ""},
      {"C:\\Program Files\\PS\\Plug-ins\\Acme\\x64\\a.8bf", "64"},
      {"C:\\Program Files\\PS\\Plug-ins\\Acme\\x64\\b.8bf", "64"},
      {"C:\\Program Files\\PS\\Plug-ins\\Acme\\a.8bf", ""},
      {"C:\\Program Files\\Common Files\\Adobe\\Plug-Ins\\CC\\x64\\b.8bf", "64"},
      {"C:\\Program Files\\Common Files\\Adobe\\Plug-Ins\\CC\\Acme\\x64\\b.8bf", ""},
      {"C:\\Custom\\Acme\\a.8bf", "32"},
      {"C:\\Custom\\Acme\\x64\\a.8bf", ""},
  };
  for (const Expected& e : expected) {
    std::optional<std::string> content = files_.ReadWholeFile(e.file, 100);
    EXPECT_EQ(content.value_or(""), e.content) << e.file;
  }
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell")) << "nothing stored for them";
}

struct PackageHostInstallTest : testing::Test, PackageHostWorld {
  ListedHost Host(const std::string& ini, std::size_t n) {
    WriteSetupIni(ini);
    return PackageHostRow(platform_, ReadPackageHosts(platform_).hosts.at(n), true);
  }
  InstallationTranscript record_;
};

TEST_F(PackageHostInstallTest, TargetsCountsAndCancel) {
  MakeSharedFolder();
  std::filesystem::create_directories(files_.HostPath("C:\\Custom"));
  ListedHost psnew = Host(PackageIni(), 0);
  ListedHost cc = Host(PackageIni(), 1);
  int photoshop7 = 0;
  while (HostCatalogue[static_cast<std::size_t>(photoshop7)].Description != "PhotoShop 7 by Adobe") ++photoshop7;
  InstallFiles(platform_, {{CatalogueRow(platform_, photoshop7, true), psnew, cc}, true, "C:\\Custom", "Acme"},
               record_);
  EXPECT_EQ(record_.targets,
            (std::vector<std::string>{"PhotoShop 7 by Adobe (1/4)", "Photoshop (64-bit) (2/4)",
                                      "Shared Adobe plug-ins folder (64-bit) (3/4)", "C:\\Custom\\ (4/4)"}));
  EXPECT_EQ(record_.files,
            (std::vector<std::string>{"a.8bf", "x64\\a.8bf", "x64\\b.8bf", "x64\\a.8bf", "x64\\b.8bf", "a.8bf"}));
  EXPECT_EQ(record_.errors, std::vector<std::string>{});
  EXPECT_EQ(record_.user_turns, 3 + 6) << "before each host and after each file";

  // A place gone since the host was listed is reported under its text.
  registry_.Load("REGEDIT4\n[-HKLM\\SOFTWARE\\Adobe\\Photoshop\\190.0]\n", RegistryView::k64Bit);
  InstallationTranscript gone;
  InstallFiles(platform_, {{psnew}, false, "", "Acme"}, gone);
  EXPECT_EQ(gone.errors, std::vector<std::string>{"The plug-in folder of Photoshop (64-bit) could not be found."});

  InstallationTranscript cancelled;
  cancelled.cancel_requested = true;
  InstallFiles(platform_, {{cc}, true, "C:\\Custom", "Acme"}, cancelled);
  EXPECT_EQ(cancelled.targets, std::vector<std::string>{"C:\\Custom\\ (2/2)"});
  EXPECT_EQ(cancelled.user_turns, 1 + 1) << "asked once before the host, then after the custom folder's file";
}

}  // namespace
}  // namespace setup
