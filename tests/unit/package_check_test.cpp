#include "check/package_check.h"

#include <gtest/gtest.h>

#include <fstream>

#include "check/check_output.h"
#include "check/setup_check_cli.h"
#include "unit/test_world.h"

namespace setup {
namespace {

using namespace std::string_literals;

constexpr Severity W = Severity::kWarning;
constexpr Severity E = Severity::kError;

// A picture the picture control loads: one pixel, 24 bits.
std::string TinyBitmap() {
  auto dword = [](std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  std::string info = dword(40) + dword(1) + dword(1) + "\x01\x00\x18\x00"s + dword(0) + dword(4) + dword(0) + dword(0) +
                     dword(0) + dword(0);
  return "BM" + dword(14 + 40 + 4) + dword(0) + dword(54) + info + "\x10\x20\x30\x00"s;
}

struct Expected {
  int line;
  Severity severity;
  std::string key;
  std::string fragment;  // found in the message or the suggestion
};

struct Case {
  std::string name;
  std::string ini;  // nullopt-like: "-" means no setup.ini at all
  std::vector<Expected> expected;
};

constexpr char kFiles[] = "[files]\r\n1=a.8bf\r\n";

struct PackageCheckTest : testing::Test {
  PackageCheckTest() {
    world_.Write("C:\\Package\\a.8bf", "AAAA");
    world_.Write("C:\\Package\\b.8bf", "BB");
    world_.Write("C:\\Package\\Docs\\readme.txt", "read me");
    world_.Write("C:\\Package\\license.txt", "Terms");
    world_.Write("C:\\Package\\logo.bmp", TinyBitmap());
    world_.Write("C:\\Package\\broken.bmp", TinyBitmap().substr(0, 40));
    world_.Write("C:\\Package\\logo.png", "\x89PNG\r\n\x1a\n");
    world_.Write("C:\\outside.8bf", "O");
  }
  TestWorld world_;
};

TEST_F(PackageCheckTest, ReportsEachMistakeOnceWithItsLine) {
  const std::vector<Case> cases = {
      {"a clean package",
       "[messages]\r\nstart=Hi\r\nagreement=license.txt\r\nagree=1\r\n[options]\r\nautoscan=0\r\nautoselect=1\r\n"
       "subdir=Acme\r\n[presentation]\r\nwidth=560\r\nheight=334\r\nbitmap=logo.bmp\r\nscan.visible=1\r\n"
       "scan.flat=0\r\n; a comment\r\n[enabled]\r\nall=0\r\nPhotoShop7=1\r\npaintshoppro=1\r\n"
       "[files]\r\n1=*.8bf\r\n2=Docs\\*\r\n",
       {}},
      {"misspelt key", "[options]\r\nautoscann=1\r\n"s + kFiles, {{2, W, "autoscann", "did you mean autoscan?"}}},
      {"key of another section", "[options]\r\nwidth=800\r\n"s + kFiles, {{2, W, "width", "in [presentation]"}}},
      {"misspelt section", "[presentaton]\r\ntitle=x\r\n"s + kFiles, {{1, W, "", "did you mean [presentation]?"}}},
      {"unknown section", "[extras]\r\nx=1\r\n"s + kFiles, {{1, W, "", "[extras] is never read"}}},
      {"section given twice",
       "[options]\r\nsubdir=A\r\n"s + kFiles + "[OPTIONS]\r\ncustom=C:\\X\r\n",
       {{5, W, "", "only the first one (line 1)"}}},
      {"key given twice",
       "[presentation]\r\ntitle=A\r\nTitle=B\r\n"s + kFiles,
       {{3, W, "Title", "only the first one (line 2)"}}},
      {"keys given twice where any name goes",
       "[enabled]\r\nphotoshop=no\r\nPhotoshop=1\r\n[files]\r\n1=a.8bf\r\n1=b.8bf\r\n",
       {{2, W, "photoshop", "only \"0\" does"},
        {3, W, "Photoshop", "only the first one (line 2)"},
        {6, W, "1", "only the first one (line 5)"}}},
      {"lines the reader passes over",
       "before\r\n[messages]\r\njust text\r\n"s + kFiles,
       {{1, W, "", "before the first section"}, {3, W, "", "\"just text\" is no key=value line"}}},
      {"switches turned on by a word",
       "[messages]\r\nagree=yes\r\n[options]\r\nautoscan=On\r\n[presentation]\r\nscan.visible=TRUE\r\n"s + kFiles,
       {{2, W, "agree", "only \"1\" does"},
        {4, W, "autoscan", "write autoscan=1"},
        {6, W, "scan.visible", "only \"1\" does"}}},
      {"switches turned off by a word",
       "[options]\r\nautoselect=no\r\nautoscan=off\r\n"s + kFiles,
       {{2, W, "autoselect", "only \"0\" does"}, {3, W, "autoscan", "reads as off, by chance as meant"}}},
      {"numbers",
       "[presentation]\r\nwidth=600px\r\nheight=333\r\nscan.flat=no\r\nbrowse.flat=-1\r\n"s + kFiles,
       {{2, W, "width", "not a whole number; the default 0"},
        {3, W, "height", "minimum of 333"},
        {4, W, "scan.flat", "the default 1 applies"}}},
      {"window size at its minimum",
       "[presentation]\r\nwidth=400\r\nheight=401\r\n"s + kFiles,
       {{2, W, "width", "minimum of 400"}}},
      {"enabled ids",
       "[enabled]\r\nphotoshp=0\r\nxyzzy=0\r\nPhotoShop7=false\r\nall=no\r\n"s + kFiles,
       {{2, W, "photoshp", "did you mean photoshop?"},
        {3, W, "xyzzy", "no host, version or package host id"},
        {4, W, "PhotoShop7", "write PhotoShop7=0"},
        {5, W, "all", "only \"0\" does"}}},
      {"agreement missing",
       "[messages]\r\nagreement=licence.txt\r\n"s + kFiles,
       {{2, E, "agreement", "\"licence.txt\" is missing"}}},
      {"picture missing",
       "[presentation]\r\nbitmap=logo.gif\r\n"s + kFiles,
       {{2, E, "bitmap", "\"logo.gif\" is missing"}}},
      {"picture damaged",
       "[presentation]\r\nbitmap=broken.bmp\r\n"s + kFiles,
       {{2, E, "bitmap", "not a valid picture"}}},
      {"picture of another format",
       "[presentation]\r\nbitmap=logo.png\r\n"s + kFiles,
       {{2, E, "bitmap", "unknown picture file extension (.png)"}}},
      {"sub-folder outside the host's folder",
       "[options]\r\nsubdir=..\\Plug-ins\r\n"s + kFiles,
       {{2, W, "subdir", "it is ignored"}}},
      {"files outside the package",
       "[files]\r\n1=a.8bf\r\n2=..\\outside.8bf\r\n3=C:\\outside.8bf\r\n",
       {{3, E, "2", "points outside the package folder"}, {4, E, "3", "points outside the package folder"}}},
      {"files that match nothing",
       "[files]\r\n1=a.8bf\r\n2=aa.8bf\r\n3=*.dll\r\n4=\r\n",
       {{3, W, "2", "did you mean a.8bf?"}, {4, W, "3", "matches no file"}, {5, W, "4", "names no file"}}},
      {"a folder", "[files]\r\n1=a.8bf\r\n2=Docs\r\n", {{3, W, "2", "write Docs\\* to install the files in it"}}},
      {"the same file twice",
       "[files]\r\n1=a.8bf\r\n2=*.8bf\r\n3=A.8BF\r\n",
       {{3, W, "2", "lists a.8bf again (already listed on line 2)"}, {4, W, "3", "already listed on line 2"}}},
      {"no file at all",
       "[files]\r\n1=c.8bf\r\n",
       {{1, E, "", "no file would be installed"}, {2, W, "1", "matches no file"}}},
      {"no files section", "[options]\r\nsubdir=A\r\n", {{0, E, "", "there is no [files] section"}}},
      {"no setup.ini", "-", {{0, E, "", "no setup.ini"}}},
      {"package hosts never listed",
       "[hosts]\r\npsnew=Photoshop (64-bit)\r\ncc=Shared folder\r\nbad=PhotoShop 7 by Adobe\r\nnoplace=No place\r\n"
       "[host.psnew]\r\nregistry=HKXX\\SOFTWARE\\Adobe|Path\r\n[host.cc]\r\nfolder=C:\\CC\r\nappend=..\\up\r\n"
       "[host.bad]\r\nfolder=C:\\X\r\n[host.noplace]\r\nselct=0\r\n[host.other]\r\nfolder=C:\\Y\r\n"s +
           kFiles,
       {{4, W, "bad", "never listed: a catalogue host or an earlier host has the same text"},
        {7, W, "registry", "registry must start with HKLM or HKCU"},
        {10, W, "append", "append must be a relative folder"},
        {13, W, "", "its section gives neither registry nor folder"},
        {14, W, "selct", "did you mean select?"},
        {15, W, "", "[host.other] is never read"}}},
      {"package hosts' own settings and files",
       "[hosts]\r\nps=Photoshop (64-bit)\r\nph=Other host\r\n"
       "[host.ps]\r\nfolder=C:\\PS\r\nfiles=files64\r\nsubdir=no\r\n"
       "[host.ph]\r\nfolder=C:\\PH\r\nfiles=missing64\r\nview=yes\r\n"
       "[files64]\r\n1=b.8bf\r\n2=nothing.8bf\r\n[enabled]\r\nps=0\r\nPH=1\r\n"s +
           kFiles,
       {{7, W, "subdir", "write subdir=0"},
        {10, W, "files", "names a section that is not there"},
        {11, W, "view", "only \"64\" selects the 64-bit one"},
        {14, W, "2", "[files64] 2=nothing.8bf matches no file"}}},
      {"package hosts that may not do what was meant",
       "[hosts]\r\nps=Photoshop\r\ncc=Shared\r\nphotoshop=Mine\r\nx86=Old\r\nok=%FOLDER%\r\n"
       "[host.ps]\r\nregistry=HKLM\\SOFTWARE\\Adobe\\Photoshop\\*|ApplicationPath\r\nview=64\r\n"
       "[host.cc]\r\nfolder=%CommonProgramFiles%\\Adobe\\Plug-Ins\\CC\r\n"
       "[host.photoshop]\r\nfolder=%programfiles%\\Mine\r\n"
       "[host.x86]\r\nfolder=%ProgramFiles(x86)%\\Old\r\n"
       "[host.ok]\r\nfolder=C:\\Brisk\\Brisk Paint ?\r\n"s +
           kFiles,
       {{2, W, "ps", "neither %KEY% nor %FOLDER%: only the first match is listed"},
        {4, W, "photoshop", "also a catalogue host or version id"},
        {11, W, "folder", "write %CommonProgramW6432% for a 64-bit host"},
        {13, W, "folder", "uses %ProgramFiles%"}}},
      {"a host that is never listed still has its files checked",
       "[hosts]\r\nps=PS\r\nPS=Again\r\nnobar=No bar\r\n[host.ps]\r\nregistry=HKXX\\Adobe|Path\r\nfiles=files64\r\n"
       "[host.nobar]\r\nregistry=HKLM\\Adobe\\Path\r\n[files64]\r\n1=..\\up.8bf\r\n2=missing.8bf\r\n"s +
           kFiles,
       {{3, W, "PS", "is given again; only the first one (line 2) counts"},
        {6, W, "registry", "start it with HKLM\\ (HKEY_LOCAL_MACHINE) or HKCU\\"},
        {9, W, "registry", "registry=HKLM\\Adobe\\Path|"},
        {11, E, "1", "points outside the package folder"},
        {12, W, "2", "matches no file"}}},
      {"files only for the package's hosts",
       "[hosts]\r\nps=PS\r\n[host.ps]\r\nfolder=C:\\PS\r\nfiles=files64\r\n[files64]\r\n1=b.8bf\r\n"
       "[files]\r\n1=none.8bf\r\n",
       {{9, W, "1", "matches no file"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(world_.files_.HostPath("C:\\Package\\setup.ini"));
    if (c.ini != "-") world_.WriteSetupIni(c.ini);
    PackageReport report = CheckPackage(world_.platform_);
    std::vector<std::string> seen, expected;
    for (const Finding& f : report.findings)
      seen.push_back(f.file + ":" + std::to_string(f.line) + (f.severity == E ? " E " : " W ") + f.key);
    for (const Expected& e : c.expected)
      expected.push_back("setup.ini:" + std::to_string(e.line) + (e.severity == E ? " E " : " W ") + e.key);
    EXPECT_EQ(seen, expected) << FindingsText(report);
    for (std::size_t i = 0; i < std::min(seen.size(), expected.size()); ++i) {
      std::string said = report.findings[i].message + " (" + report.findings[i].suggestion + ")";
      EXPECT_NE(said.find(c.expected[i].fragment), std::string::npos) << said;
    }
  }
}

TEST_F(PackageCheckTest, DeploymentListComesBySectionInFileOrderWithSizes) {
  world_.WriteSetupIni(
      "[files]\r\nz=Docs\\*\r\n1=*.8bf\r\n2=missing.8bf\r\n"
      "[hosts]\r\nps=PS\r\nph=PH\r\n[host.ps]\r\nfolder=C:\\PS\r\nfiles=Files64\r\n"
      "[host.ph]\r\nfolder=C:\\PH\r\nfiles=files64\r\n[files64]\r\n1=b.8bf\r\n");
  PackageReport report = CheckPackage(world_.platform_);
  std::vector<std::string> deployed;
  for (const DeployedFile& file : report.deployment)
    deployed.push_back(file.section + " " + file.path + " " + std::to_string(file.size.value_or(999)));
  EXPECT_EQ(deployed, (std::vector<std::string>{"files Docs\\readme.txt 7", "files a.8bf 4", "files b.8bf 2",
                                                "Files64 b.8bf 2"}));
}

// A file the installer could not copy makes the package fail, not pass.
TEST_F(PackageCheckTest, AFileTheInstallerCouldNotCopyIsAnError) {
  std::ofstream(world_.root_ / "Package" / "c\xCE\xA9.8bf") << "Omega";
  world_.WriteSetupIni("[files]\r\n1=*.8bf\r\n");
  world_.files_.HoldOpen("C:\\Package\\b.8bf");
  PackageReport report = CheckPackage(world_.platform_);
  std::vector<std::string> errors;
  for (const Finding& finding : report.findings)
    if (finding.severity == Severity::kError) errors.push_back(finding.key + " " + finding.message);
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "1 the package file b.8bf cannot be read (Sharing violation.): the installer could not copy it",
                        "1 the package file c?.8bf has a name that this system's code page cannot hold: the "
                        "installer cannot copy it",
                    }));
  EXPECT_EQ(ExitStatusOf(report.findings), 2);
  EXPECT_EQ(report.deployment.back().path, "c?.8bf");
}

TEST_F(PackageCheckTest, ExitStatusTellsWhatWasFound) {
  const std::vector<std::pair<std::string, int>> cases = {
      {kFiles, 0},
      {"[options]\r\nautoselect=no\r\n"s + kFiles, 1},
      {"[options]\r\nautoselect=no\r\n[files]\r\n1=..\\outside.8bf\r\n", 2},
  };
  for (const auto& [ini, status] : cases) {
    world_.WriteSetupIni(ini);
    for (bool json : {false, true}) {
      std::string out;
      EXPECT_EQ(RunSetupCheck(world_.platform_, {"C:\\Package", json, false}, out), status) << ini;
    }
  }
}

TEST(SetupCheckCommandTest, TakesOneFolderAndKnownOptions) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"pkg"}, "pkg json=0 hosts=0"},
      {{"--json", "pkg", "--hosts"}, "pkg json=1 hosts=1"},
      {{}, "no package folder given"},
      {{"--json"}, "no package folder given"},
      {{"a", "b"}, "more than one package folder: a, b"},
      {{"pkg", "--verbose"}, "unknown option --verbose"},
  };
  for (const auto& [arguments, outcome] : cases) {
    std::string error;
    std::optional<CheckCommand> command = ParseCheckCommand(arguments, error);
    std::string got = command ? command->package_folder + " json=" + std::to_string(command->json) +
                                    " hosts=" + std::to_string(command->hosts)
                              : error;
    EXPECT_EQ(got, outcome);
  }
}

TEST(CheckOutputTest, FindingsAsTextAndAsJson) {
  PackageReport report;
  report.findings = {
      {"setup.ini", 4, "options", "autoscan", W, "[options] autoscan=yes \"quoted\" C:\\x \xA9", "write autoscan=1"},
      {"setup.ini", 0, "files", "", E, "no file would be installed", ""},
  };
  report.deployment = {{"files", "Docs\\a.8bf", 12}, {"files64", "b.8bf", std::nullopt}};
  EXPECT_EQ(FindingsText(report),
            "setup.ini:4: warning: [options] autoscan=yes \"quoted\" C:\\x \xA9 (write autoscan=1)\n"
            "setup.ini: error: no file would be installed\n"
            "\n"
            "Files to install from [files] (the catalogue's hosts and the custom folder):\n"
            "  Docs\\a.8bf  12 bytes\n"
            "Files to install from [files64] (the package's hosts that name it):\n"
            "  b.8bf  (cannot be read)\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(FindingsJson(report),
            "{\n"
            "  \"findings\": [\n"
            "    {\"file\": \"setup.ini\", \"line\": 4, \"section\": \"options\", \"key\": \"autoscan\", "
            "\"severity\": \"warning\", \"message\": \"[options] autoscan=yes \\\"quoted\\\" C:\\\\x \\u00a9\", "
            "\"suggestion\": \"write autoscan=1\"},\n"
            "    {\"file\": \"setup.ini\", \"line\": 0, \"section\": \"files\", \"key\": \"\", "
            "\"severity\": \"error\", \"message\": \"no file would be installed\", \"suggestion\": \"\"}\n"
            "  ],\n"
            "  \"deployment\": [\n"
            "    {\"section\": \"files\", \"file\": \"Docs\\\\a.8bf\", \"size\": 12},\n"
            "    {\"section\": \"files64\", \"file\": \"b.8bf\", \"size\": null}\n"
            "  ],\n"
            "  \"errors\": 1,\n"
            "  \"warnings\": 1\n"
            "}\n");
  EXPECT_EQ(FindingsJson({}),
            "{\n  \"findings\": [],\n  \"deployment\": [],\n  \"errors\": 0,\n  \"warnings\": 0\n}\n");
  EXPECT_EQ(JsonString("a\tb\nc\x01\x7f"), "\"a\\tb\\nc\\u0001\\u007f\"");
}

}  // namespace
}  // namespace setup
