#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/setup_application.h"
#include "config/package_hosts.h"
#include "hosts/host_catalogue.h"
#include "platform/ansi_text.h"
#include "ui/headless/headless_toolkit.h"
#include "unattended/exit_code.h"
#include "unattended/install_record.h"
#include "unattended/package_place.h"
#include "unattended/removal.h"
#include "unattended/target_choice.h"
#include "unattended/unattended_run.h"
#include "unattended/uninstall_entry.h"
#include "unit/test_world.h"

namespace setup {
namespace {

TEST(TargetChoiceTest, HostsAreChosenByTheirTicksOrByTheirIds) {
  auto row = [](std::vector<std::string> ids, bool ticked) {
    ListedHost host;
    host.ids = std::move(ids);
    host.ticked = ticked;
    return host;
  };
  // In list order: Paint Shop Pro 5, Image Composer 1.0, Photoshop 7 twice, a package host.
  const std::vector<ListedHost> listed = {
      row({"paintshoppro", "paintshoppro5"}, true), row({"imagecomposer", "imagecomposer1"}, false),
      row({"photoshop", "photoshop7"}, true), row({"photoshop", "photoshop7"}, false), row({"acme-viewer"}, false)};
  const std::size_t psp5 = 0, mic = 1, ps7 = 2, ps7b = 3, viewer = 4;
  using Ids = std::optional<std::vector<std::string>>;
  using Positions = std::vector<std::size_t>;
  using Names = std::vector<std::string>;
  struct Case {
    Ids ids;
    Positions hosts;
    Names unmatched;
  } cases[] = {
      {std::nullopt, {psp5, ps7}, {}},                                // the ticks
      {Ids{{"none"}}, {}, {}},                                        // none names no host
      {Ids{{"PhotoShop"}}, {ps7, ps7b}, {}},                          // a host id: every listed entry, ticked or not
      {Ids{{"photoshop7", "imagecomposer1"}}, {mic, ps7, ps7b}, {}},  // version ids, in list order
      {Ids{{"paintshoppro5", "gimp", "photoshop3"}}, {psp5}, {"gimp", "photoshop3"}},
      {Ids{{"none", "paintshoppro"}}, {psp5}, {}},
      {Ids{{"ACME-Viewer", "photoshop7"}}, {ps7, ps7b, viewer}, {}},  // a package host by its id
  };
  for (const Case& c : cases) {
    TargetChoice choice = ChooseTargets(listed, c.ids);
    EXPECT_EQ(choice.hosts, c.hosts);
    EXPECT_EQ(choice.unmatched, c.unmatched);
  }
}

TEST(InstallRecordTest, HashIsFnv1a64) {
  EXPECT_EQ(ContentHash(""), 0xcbf29ce484222325ull);
  EXPECT_EQ(ContentHash("a"), 0xaf63dc4c8601ec8cull);
  EXPECT_EQ(ContentHash("foobar"), 0x85944171f73967e8ull);
}

TEST(InstallRecordTest, TextRoundTripsAndDamagedLinesAreLeftOut) {
  InstallRecord record;
  record.AddFolder("C:\\Hosts\\PS7\\Acme\\");
  record.AddFolder("c:\\hosts\\ps7\\acme");  // the same folder
  record.AddFile({"C:\\Custom\\\\a.8bf", "a.8bf", 1, 0xaf63dc4c8601ec8cull});
  record.AddFile({"C:\\CUSTOM\\A.8BF", "a.8bf", 2, 7});  // the same file, installed again
  record.AddFile({"\\\\server\\share\\b.8bf", "Filters\\b.8bf", 3, 8});
  record.AddRoot("C:\\Hosts\\PS7\\");
  record.AddRoot("C:\\hosts\\ps7");  // the same folder
  record.AddOriginal({"C:\\CUSTOM\\A.8BF", "Originals\\1 A.8BF"});
  record.AddOriginal({"c:\\custom\\a.8bf", "Originals\\2 a.8bf"});  // one original per path
  const std::string text =
      "Plug-in Setup install record 1\r\n"
      "root\tC:\\Hosts\\PS7\r\n"
      "folder\tC:\\Hosts\\PS7\\Acme\r\n"
      "file\t2\t0000000000000007\ta.8bf\tC:\\CUSTOM\\A.8BF\r\n"
      "file\t3\t0000000000000008\tFilters\\b.8bf\t\\\\server\\share\\b.8bf\r\n"
      "original\tOriginals\\1 A.8BF\tC:\\CUSTOM\\A.8BF\r\n";
  EXPECT_EQ(record.ToText(), text);
  std::optional<InstallRecord> read = InstallRecord::FromText(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->files, record.files);
  EXPECT_EQ(read->folders, record.folders);
  EXPECT_EQ(read->roots, record.roots);
  EXPECT_EQ(read->originals, record.originals);

  EXPECT_FALSE(InstallRecord::FromText("something else\r\nfolder\tC:\\X\r\n"));
  std::optional<InstallRecord> damaged = InstallRecord::FromText(
      "Plug-in Setup install record 1\n"
      "folder\trelative\\folder\n"
      "file\t1\t0000000000000001\ta.8bf\tnot\\absolute.8bf\n"
      "file\t1\t0000000000000001\t..\\..\\x.dll\tC:\\x.dll\n"
      "file\tone\t0000000000000001\ta.8bf\tC:\\a.8bf\n"
      "file\t1\t01\ta.8bf\tC:\\a.8bf\n"
      "file\t1\t0000000000000001\ta.8bf\n"
      "root\trelative\n"
      "original\t..\\..\\Windows\\win.ini\tC:\\a.8bf\n"
      "original\t\tC:\\a.8bf\n"
      "\n"
      "file\t1\t000000000000000f\ta.8bf\tC:\\good.8bf\n");
  ASSERT_TRUE(damaged);
  EXPECT_EQ(damaged->folders, std::vector<std::string>{});
  EXPECT_EQ(damaged->roots, std::vector<std::string>{});
  EXPECT_EQ(damaged->originals, std::vector<KeptOriginal>{});
  EXPECT_EQ(damaged->files, (std::vector<RecordedFile>{{"C:\\good.8bf", "a.8bf", 1, 15}}));
}

TEST(PackagePlaceTest, ProgramFilesWhenWritableElseTheUsersLocalData) {
  TestWorld world;
  world.files_.CreateFolderTree("C:\\Program Files (x86)");
  world.files_.CreateFolderTree("C:\\Users\\User\\AppData\\Local");
  struct Case {
    const char* title;
    const char* folder;
  } cases[] = {
      {"Acme Filters", "C:\\Program Files (x86)\\Brisquell\\Acme Filters"},
      {"", "C:\\Program Files (x86)\\Brisquell\\Untitled"},
      {"a\\b/c:d*?\"<>|", "C:\\Program Files (x86)\\Brisquell\\a_b_c_d______"},
      {"..", "C:\\Program Files (x86)\\Brisquell\\Untitled"},
      {" Acme. ", "C:\\Program Files (x86)\\Brisquell\\Acme"},
  };
  for (const Case& c : cases) {
    world.WriteSetupIni(std::string("[presentation]\r\ntitle=") + c.title + "\r\n");
    std::optional<PackagePlace> place = ChoosePackagePlace(world.platform_, "Brisquell");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->folder, c.folder) << c.title;
    EXPECT_TRUE(place->machine);
  }
  world.files_.Protect("C:\\Program Files (x86)");
  std::optional<PackagePlace> place = ChoosePackagePlace(world.platform_, "Brisquell");
  ASSERT_TRUE(place);
  EXPECT_EQ(place->folder, "C:\\Users\\User\\AppData\\Local\\Brisquell\\Acme");
  EXPECT_EQ(place->RecordPath(), "C:\\Users\\User\\AppData\\Local\\Brisquell\\Acme\\Install record.txt");
  EXPECT_FALSE(place->machine);
}

TEST(UninstallEntryTest, VersionNumberIsTheFirstRunOfDigitsAndDots) {
  struct Case {
    const char* text;
    const char* number;
  } cases[] = {
      {"2.0", "2.0"},
      {"Version 2.1.3 beta", "2.1.3"},
      {"v3", "3"},
      {"1.2.", "1.2"},
      {"release 10.0.1a", "10.0.1"},
      {"no number", ""},
      {"", ""},
      {"..5.6", "5.6"},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionNumber(c.text), c.number) << c.text;
}

// A machine with Photoshop 7 and Paint Shop Pro 5, a package of two plug-in
// files with an install sub-folder, and an existing folder C:\Custom.
constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n"
    "[HKCU\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n\"Directory1\"=\"C:\\\\PSP5\"\n";
constexpr char kSetupIni[] =
    "[presentation]\r\ntitle=Acme Filters\r\nversion=2.0\r\n"
    "[options]\r\nsubdir=Acme\r\n[files]\r\n1=*.8bf\r\n2=Filters\\c.8bf\r\n";
constexpr char kPlace[] = "C:\\Program Files (x86)\\Brisquell\\Acme Filters";
constexpr char kRecord[] = "C:\\Program Files (x86)\\Brisquell\\Acme Filters\\Install record.txt";
constexpr char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brisquell Acme Filters";

struct UnattendedTest : testing::Test, TestWorld {
  UnattendedTest() {
    registry_.Load(kMachine);
    Write("C:\\Package\\a.8bf", "A");
    Write("C:\\Package\\b.8bf", "B");
    Write("C:\\Package\\Filters\\c.8bf", "C");
    Write("C:\\Package\\Setup.exe", "MZ the program");
    for (const char* folder : {"C:\\PS7", "C:\\PSP5", "C:\\Custom", "C:\\ProgramData", "C:\\Logs", "C:\\Windows",
                               "C:\\Program Files (x86)", "C:\\Users\\User\\AppData\\Local"})
      files_.CreateFolderTree(folder);
  }
  int Run(const std::string& arguments, const std::string& ini = kSetupIni) {
    if (!ini.empty()) WriteSetupIni(ini);
    std::string line = "Setup.exe " + arguments;
    return RunWithArguments(platform_, &toolkit_, ParseCommandLine(line), line,
                            [this](RunWatcher*) { ++windowed_runs_; });
  }
  bool Has(const std::string& path) { return files_.FileExists(path); }
  std::optional<std::string> EntryValue(RootKey root, std::string_view name) {
    ScopedKey key(registry_, registry_.OpenForReading(root, kEntry));
    if (!key) return std::nullopt;
    std::optional<RegistryValue> value = registry_.ReadValue(key.get(), name);
    if (!value) return std::nullopt;
    return value->data;
  }
  std::optional<InstallRecord> Record() { return InstallRecord::FromText(Read(kRecord)); }
  bool HasLine(const std::string& line) {
    std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::string Read(const std::string& path) { return files_.ReadWholeFile(path, 1 << 20).value_or("(none)"); }
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines = SplitLines(Read("C:\\Logs\\setup.log"));
    // Without the time stamp, which the fixed clock makes the same on every line.
    for (std::string& line : lines) {
      EXPECT_EQ(line.rfind("2026-06-01 12:00:00 ", 0), 0u) << line;
      line.erase(0, 20);
    }
    return lines;
  }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& message : toolkit_.messages_) texts.push_back(message.text);
    return texts;
  }

  HeadlessToolkit toolkit_;
  int windowed_runs_ = 0;
};

TEST_F(UnattendedTest, ExitCodes) {
  struct Case {
    const char* arguments;
    std::string ini;
    int code;
    bool copied;
  } cases[] = {
      {"/S", kSetupIni, kExitDone, true},
      {"/S /HOSTS=photoshop7", kSetupIni, kExitDone, true},
      {"/S /HOSTS=none /DIR=C:\\Custom", kSetupIni, kExitDone, true},
      {"/S /HOSTS=none", kSetupIni, kExitNothingToDo, false},
      {"/S /HOSTS=gimp", kSetupIni, kExitNothingToDo, false},
      {"/S", std::string(kSetupIni) + "[enabled]\r\nall=0\r\n", kExitNothingToDo, false},
      {"/S", "[files]\r\n1=*.none\r\n", kExitNothingToDo, false},
      {"/S /DIR=C:\\Missing", kSetupIni, kExitUnusable, false},
      {"/S /DIR", kSetupIni, kExitUnusable, false},
      {"/S /DIR=Custom", kSetupIni, kExitUnusable, false},
      {"/S", std::string(kSetupIni) + "[messages]\r\nagreement=license.txt\r\n", kExitNotAccepted, false},
      {"/S /ACCEPT", std::string(kSetupIni) + "[messages]\r\nagreement=missing.txt\r\n", kExitUnusable, false},
      {"/S /X", kSetupIni, kExitUnknownOption, false},
      {"/S /?", kSetupIni, kExitDone, false},
      {"/S /LOG=C:\\NoSuchFolder\\setup.log", kSetupIni, kExitUnusable, false},
      {"/S /LOG=setup.log", kSetupIni, kExitUnusable, false},
      {"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-", kSetupIni, kExitDone, true},
      {"/S /NORESTART", kSetupIni, kExitDone, true},
      {"/QUIET /X", kSetupIni, kExitUnknownOption, false},
      {"/X /SILENT", kSetupIni, kExitUnknownOption, false},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_ / "PS7");
    files_.CreateFolder("C:\\PS7");
    EXPECT_EQ(Run(c.arguments, c.ini), c.code) << c.arguments << " " << c.ini;
    EXPECT_EQ(Has("C:\\PS7\\Acme\\a.8bf") || Has("C:\\Custom\\Acme\\a.8bf"), c.copied) << c.arguments;
    std::filesystem::remove_all(root_ / "Custom" / "Acme");
  }
  EXPECT_EQ(toolkit_.messages_.size(), 0u);  // silent: no box at all
  EXPECT_EQ(windowed_runs_, 0);

  std::filesystem::remove(root_ / "Package" / "setup.ini");
  EXPECT_EQ(Run("/S", ""), kExitUnusable);
}

TEST_F(UnattendedTest, FailedFileGivesOneAndTheOthersAreInstalled) {
  files_.CreateFolderTree("C:\\PS7\\Acme");
  Write("C:\\PS7\\Acme\\b.8bf", "old");
  files_.HoldOpen("C:\\PS7\\Acme\\b.8bf");
  EXPECT_EQ(Run("/S /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  files_.Release("C:\\PS7\\Acme\\b.8bf");
  EXPECT_EQ(Read("C:\\PS7\\Acme\\b.8bf"), "old");
  EXPECT_EQ(Read("C:\\PS7\\Acme\\a.8bf"), "A");
  EXPECT_EQ(Read("C:\\PSP5\\Acme\\b.8bf"), "B");
  std::vector<std::string> lines = LogLines();
  // Held without any sharing, the file there cannot even be kept.
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Failed: C:\\PS7\\Acme\\b.8bf was not replaced: the file there could not be kept to be put "
                      "back on removal (Sharing violation.)"),
            lines.end());
  EXPECT_EQ(lines.back(), "End: 5 files copied, 1 failures; exit code 1");
}

TEST_F(UnattendedTest, SilentInstallLogsEveryEvent) {
  Write("C:\\Logs\\setup.log", "an earlier run\r\n");
  EXPECT_EQ(Run("/S /HOSTS=photoshop /DIR=C:\\Custom /LOG=C:\\Logs\\setup.log",
                std::string(kSetupIni) + "[messages]\r\nstart=Welcome!\r\n"),
            kExitDone);
  EXPECT_EQ(Read("C:\\Logs\\setup.log").rfind("an earlier run\r\n", 0), 0u);  // appended
  std::filesystem::remove(root_ / "Logs" / "setup.log");
  Write("C:\\Logs\\setup.log", "");
  std::filesystem::remove_all(root_ / "Custom" / "Acme");
  EXPECT_EQ(Run("/S /HOSTS=photoshop /DIR=C:\\Custom /LOG=C:\\Logs\\setup.log",
                std::string(kSetupIni) + "[messages]\r\nstart=Welcome!\r\n"),
            kExitDone);
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{
                "Start: Acme Filters 2.0; command line: Setup.exe /S /HOSTS=photoshop /DIR=C:\\Custom "
                "/LOG=C:\\Logs\\setup.log",
                "Message: Welcome!",
                "Host: Paint Shop Pro 5 by JASC, 1st path in C:\\PSP5 (ids paintshoppro, paintshoppro5); not a target",
                "Host: PhotoShop 7 by Adobe in C:\\PS7 (ids photoshop, photoshop7); target",
                "Target: PhotoShop 7 by Adobe (1/2)",
                "Copied: a.8bf to C:\\PS7\\Acme\\a.8bf",
                "Copied: b.8bf to C:\\PS7\\Acme\\b.8bf",
                "Copied: Filters\\c.8bf to C:\\PS7\\Acme\\Filters\\c.8bf",
                "Target: C:\\Custom\\ (2/2)",
                "Copied: a.8bf to C:\\Custom\\Acme\\a.8bf",
                "Copied: b.8bf to C:\\Custom\\Acme\\b.8bf",
                "Copied: Filters\\c.8bf to C:\\Custom\\Acme\\Filters\\c.8bf",
                std::string("Record: ") + kRecord,
                std::string("Uninstall copy: ") + kPlace + "\\Uninstall\\",
                std::string("Entry: HKLM\\") + kEntry,
                "End: 6 files copied, 0 failures; exit code 0",
            }));
}

TEST_F(UnattendedTest, UninstallRemovesOnlyUnchangedRecordedFilesAndEmptyFolders) {
  files_.CreateFolderTree("C:\\PS7\\Acme");
  Write("C:\\PS7\\Acme\\own.8bf", "the host's own file");
  ASSERT_EQ(Run("/S /HOSTS=photoshop7,paintshoppro /DIR=C:\\Custom"), kExitDone);
  std::optional<InstallRecord> record = InstallRecord::FromText(Read(kRecord));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->files.size(), 9u);
  // Made by the install: PSP5\Acme and its Filters, PS7\Acme\Filters
  // (PS7\Acme was there), Custom\Acme and its Filters.
  EXPECT_EQ(record->folders,
            (std::vector<std::string>{"C:\\PSP5\\Acme", "C:\\PSP5\\Acme\\Filters", "C:\\PS7\\Acme\\Filters",
                                      "C:\\Custom\\Acme", "C:\\Custom\\Acme\\Filters"}));

  Write("C:\\Custom\\Acme\\b.8bf", "changed by the user");
  Write("C:\\PSP5\\Acme\\Filters\\foreign.8bf", "put there later");
  std::filesystem::remove(root_ / "PS7" / "Acme" / "a.8bf");
  EXPECT_EQ(Run("/UNINSTALL /S /LOG=C:\\Logs\\setup.log"), kExitDone);

  for (const char* gone : {"C:\\PS7\\Acme\\b.8bf", "C:\\PS7\\Acme\\Filters\\c.8bf", "C:\\PSP5\\Acme\\a.8bf",
                           "C:\\PSP5\\Acme\\b.8bf", "C:\\PSP5\\Acme\\Filters\\c.8bf", "C:\\Custom\\Acme\\a.8bf"})
    EXPECT_FALSE(Has(gone)) << gone;
  EXPECT_EQ(Read("C:\\PS7\\Acme\\own.8bf"), "the host's own file");
  EXPECT_EQ(Read("C:\\Custom\\Acme\\b.8bf"), "changed by the user");
  EXPECT_EQ(Read("C:\\PSP5\\Acme\\Filters\\foreign.8bf"), "put there later");
  EXPECT_FALSE(files_.FolderExists("C:\\PS7\\Acme\\Filters"));
  EXPECT_FALSE(files_.FolderExists("C:\\Custom\\Acme\\Filters"));
  EXPECT_TRUE(files_.FolderExists("C:\\PS7\\Acme"));            // not made by the install
  EXPECT_TRUE(files_.FolderExists("C:\\Custom\\Acme"));         // holds the changed file
  EXPECT_TRUE(files_.FolderExists("C:\\PSP5\\Acme\\Filters"));  // holds the foreign file
  EXPECT_TRUE(files_.FolderExists("C:\\Custom"));
  EXPECT_FALSE(Has(kRecord));
  // Nothing is left recorded: the entry, the uninstall copy and the place go.
  EXPECT_FALSE(EntryValue(RootKey::kLocalMachine, "DisplayName"));
  EXPECT_FALSE(files_.FolderExists("C:\\Program Files (x86)\\Brisquell"));
  std::vector<std::string> lines = LogLines();
  for (const char* line :
       {"Kept: C:\\Custom\\Acme\\b.8bf (changed since it was installed)", "Gone: C:\\PS7\\Acme\\a.8bf",
        "Removed: C:\\PSP5\\Acme\\a.8bf", "Kept folder: C:\\PSP5\\Acme\\Filters (not empty)",
        "Removed folder: C:\\Custom\\Acme\\Filters"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  EXPECT_EQ(lines.back(), "End: 7 files removed, 1 kept, 0 failed, 2 folders removed; exit code 0");

  EXPECT_EQ(Run("/UNINSTALL /S"), kExitNothingToDo);  // the record is gone
}

TEST_F(UnattendedTest, RemovalKeepsToTheFoldersTheInstallServed) {
  ASSERT_EQ(Run("/S /HOSTS=photoshop7"), kExitDone);
  std::optional<InstallRecord> record = Record();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->roots, std::vector<std::string>{"C:\\PS7"});
  // Lines a record could be made to hold: each names a file with its true
  // size and hash, and none of them may go.
  struct Case {
    const char* path;
    const char* why;
  } cases[] = {
      {"C:\\Windows\\win.ini", "in the Windows folder"},
      {"C:\\Package\\a.8bf", "in the package's own folder"},
      {"C:\\Program Files (x86)\\Brisquell\\Acme Filters\\Originals\\a.8bf", "in the package's own folder"},
      {"C:\\PSP5\\Acme\\a.8bf", "not below a folder the install served"},
      {"C:\\PS7x\\a.8bf", "not below a folder the install served"},
  };
  for (const Case& c : cases) {
    Write(c.path, "A");
    record->AddFile({c.path, "a.8bf", 1, ContentHash("A")});
  }
  record->AddFolder("C:\\Windows\\Fonts");
  record->AddFolder("C:\\Users");
  files_.CreateFolderTree("C:\\Windows\\Fonts");
  Write(kRecord, record->ToText());
  EXPECT_EQ(Run("/UNINSTALL /S /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.path), "A") << c.path;
    EXPECT_TRUE(HasLine(std::string("Refused: ") + c.path + " (" + c.why + ")")) << c.path;
  }
  EXPECT_TRUE(files_.FolderExists("C:\\Windows\\Fonts"));
  EXPECT_TRUE(files_.FolderExists("C:\\Users"));
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\a.8bf"));  // the package's own files went
  EXPECT_EQ(LogLines().back(), "End: 3 files removed, 0 kept, 0 failed, 2 folders removed, 5 refused; exit code 1");
}

TEST_F(UnattendedTest, RemovalFollowsNoLink) {
  ASSERT_EQ(Run("/S /HOSTS=photoshop7"), kExitDone);
  Write("C:\\Outside\\a.8bf", "A");
  Write("C:\\Outside\\Filters\\c.8bf", "C");
  // The recorded file a.8bf and the recorded folder Filters become links
  // to files of the same content elsewhere.
  std::filesystem::remove(files_.HostPath("C:\\PS7\\Acme\\a.8bf"));
  std::filesystem::create_symlink(files_.HostPath("C:\\Outside\\a.8bf"), files_.HostPath("C:\\PS7\\Acme") / "a.8bf");
  std::filesystem::remove_all(files_.HostPath("C:\\PS7\\Acme\\Filters"));
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Outside\\Filters"),
                                            files_.HostPath("C:\\PS7\\Acme") / "Filters");
  EXPECT_EQ(Run("/UNINSTALL /S /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  EXPECT_EQ(Read("C:\\Outside\\a.8bf"), "A");
  EXPECT_EQ(Read("C:\\Outside\\Filters\\c.8bf"), "C");
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\b.8bf"));
  EXPECT_TRUE(HasLine("Refused: C:\\PS7\\Acme\\a.8bf (a link stands at C:\\PS7\\Acme\\a.8bf)"));
  EXPECT_TRUE(HasLine("Refused: C:\\PS7\\Acme\\Filters\\c.8bf (a link stands at C:\\PS7\\Acme\\Filters)"));
}

TEST_F(UnattendedTest, NothingIsWrittenThroughALink) {
  // A log planted as a link to a file an administrator's run must not touch.
  Write("C:\\Windows\\system.ini", "system");
  std::filesystem::create_symlink(files_.HostPath("C:\\Windows\\system.ini"), files_.HostPath("C:\\Logs") / "x.log");
  EXPECT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\x.log"), kExitUnusable);
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\a.8bf"));
  // The place's folder planted as a link: nothing is recorded there.
  files_.CreateFolderTree("C:\\Elsewhere");
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Elsewhere"),
                                            files_.HostPath("C:\\Program Files (x86)") / "Brisquell");
  EXPECT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  EXPECT_EQ(Read("C:\\Windows\\system.ini"), "system");
  EXPECT_TRUE(std::filesystem::is_empty(files_.HostPath("C:\\Elsewhere")));
  EXPECT_FALSE(EntryValue(RootKey::kLocalMachine, "DisplayName"));
}

TEST_F(UnattendedTest, ReplacedFilesAreKeptAndPutBack) {
  files_.CreateFolderTree("C:\\PS7\\Acme");
  Write("C:\\PS7\\Acme\\a.8bf", "the user's older copy");
  ASSERT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\setup.log"), kExitDone);
  EXPECT_EQ(Read("C:\\PS7\\Acme\\a.8bf"), "A");
  std::string kept = std::string(kPlace) + "\\Originals\\1 a.8bf";
  EXPECT_EQ(Read(kept), "the user's older copy");
  EXPECT_TRUE(HasLine("Original kept: C:\\PS7\\Acme\\a.8bf as " + kept));
  // A second install finds its own file there: no original to keep.
  ASSERT_EQ(Run("/S /HOSTS=photoshop7"), kExitDone);
  std::optional<InstallRecord> record = Record();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->originals, (std::vector<KeptOriginal>{{"C:\\PS7\\Acme\\a.8bf", "Originals\\1 a.8bf"}}));

  EXPECT_EQ(Run("/UNINSTALL /S /LOG=C:\\Logs\\setup.log"), kExitDone);
  EXPECT_EQ(Read("C:\\PS7\\Acme\\a.8bf"), "the user's older copy");
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\b.8bf"));
  EXPECT_TRUE(HasLine("Restored: C:\\PS7\\Acme\\a.8bf"));
  EXPECT_FALSE(files_.FolderExists(kPlace));

  // An original that cannot be kept leaves the file there alone.
  files_.HoldOpen("C:\\PS7\\Acme\\a.8bf");
  EXPECT_EQ(Run("/S /HOSTS=photoshop7"), kExitSomeFailed);
  files_.Release("C:\\PS7\\Acme\\a.8bf");
  EXPECT_EQ(Read("C:\\PS7\\Acme\\a.8bf"), "the user's older copy");
}

TEST_F(UnattendedTest, AFileHeldOpenIsReplacedAtTheNextRestart) {
  files_.CreateFolderTree("C:\\PS7\\Acme");
  Write("C:\\PS7\\Acme\\b.8bf", "old");
  files_.HoldOpen("C:\\PS7\\Acme\\b.8bf", true);  // loaded by a running host
  EXPECT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\setup.log"), kExitRestartNeeded);
  EXPECT_EQ(Read("C:\\PS7\\Acme\\b.8bf"), "old");
  EXPECT_EQ(Read("C:\\PS7\\Acme\\b.8bf.pending"), "B");
  EXPECT_EQ(
      files_.restart_moves(),
      (std::vector<std::pair<std::string, std::string>>{{"C:\\PS7\\Acme\\b.8bf.pending", "C:\\PS7\\Acme\\b.8bf"}}));
  EXPECT_TRUE(
      HasLine("Restart needed: b.8bf to C:\\PS7\\Acme\\b.8bf: the file there is in use; "
              "C:\\PS7\\Acme\\b.8bf.pending replaces it at the next restart"));
  std::optional<InstallRecord> record = Record();
  ASSERT_TRUE(record);
  const RecordedFile* recorded = record->FileAt("C:\\PS7\\Acme\\b.8bf");
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->hash, ContentHash("B"));  // what stands there after the restart
  EXPECT_EQ(Read(std::string(kPlace) + "\\Originals\\1 b.8bf"), "old");

  // Where the process may not write the restart list, it stays a failure
  // and leaves nothing beside the file.
  files_.DenyRestartList();
  std::filesystem::remove(files_.HostPath("C:\\PS7\\Acme\\b.8bf.pending"));
  EXPECT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\b.8bf.pending"));
  files_.Release("C:\\PS7\\Acme\\b.8bf");
}

TEST_F(UnattendedTest, TheEntryDescribesThePackageAndRemovesIt) {
  std::string ini = kSetupIni;
  ini.replace(ini.find("[options]"), 0, "publisher=Acme Inc.\r\n");
  ini.replace(ini.find("version=2.0"), 11, "version=Version 2.0.1 (final)");
  ASSERT_EQ(Run("/S /HOSTS=photoshop7", ini), kExitDone);
  const std::string program = std::string("\"") + kPlace + "\\Uninstall\\Setup.exe\"";
  struct Case {
    const char* name;
    std::string data;
  } cases[] = {
      {"DisplayName", std::string("Acme Filters") + '\0'},
      {"DisplayVersion", std::string("2.0.1") + '\0'},
      {"Publisher", std::string("Acme Inc.") + '\0'},
      {"UninstallString", program + " /UNINSTALL" + '\0'},
      {"QuietUninstallString", program + " /UNINSTALL /S" + '\0'},
      {"InstallDate", std::string("20260601") + '\0'},
      {"EstimatedSize", std::string("\x01\0\0\0", 4)},  // 3 bytes: one kilobyte
      {"NoModify", std::string("\x01\0\0\0", 4)},
      {"NoRepair", std::string("\x01\0\0\0", 4)},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryValue(RootKey::kLocalMachine, c.name), c.data) << c.name;
  for (const char* file : {"Setup.exe", "setup.ini", "a.8bf", "b.8bf", "Filters\\c.8bf"})
    EXPECT_EQ(Read(std::string(kPlace) + "\\Uninstall\\" + file), Read(std::string("C:\\Package\\") + file)) << file;

  // Removal through the entry: from the copy, with the package folder gone;
  // the running copy cannot delete itself and goes at the next restart.
  std::filesystem::remove_all(root_ / "Package");
  files_.SetExecutableFolder(std::string(kPlace) + "\\Uninstall\\");
  files_.HoldOpen(std::string(kPlace) + "\\Uninstall\\Setup.exe");
  std::string line = "Setup.exe /UNINSTALL /S";
  EXPECT_EQ(RunWithArguments(platform_, nullptr, ParseCommandLine(line), line, [](RunWatcher*) {}), kExitDone);
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\a.8bf"));
  EXPECT_FALSE(EntryValue(RootKey::kLocalMachine, "DisplayName"));
  EXPECT_FALSE(Has(kRecord));
  EXPECT_FALSE(Has(std::string(kPlace) + "\\Uninstall\\setup.ini"));
  EXPECT_FALSE(Has(std::string(kPlace) + "\\Uninstall\\Filters\\c.8bf"));
  ASSERT_FALSE(files_.restart_moves().empty());
  EXPECT_EQ(files_.restart_moves()[0],
            (std::pair<std::string, std::string>{std::string(kPlace) + "\\Uninstall\\Setup.exe", ""}));
}

TEST_F(UnattendedTest, AStandardUserInstallsForHimself) {
  files_.Protect("C:\\Program Files (x86)");
  ASSERT_EQ(Run("/S /HOSTS=none /DIR=C:\\Custom"), kExitDone);
  EXPECT_FALSE(EntryValue(RootKey::kLocalMachine, "DisplayName"));
  EXPECT_EQ(EntryValue(RootKey::kCurrentUser, "QuietUninstallString"),
            std::string("\"C:\\Users\\User\\AppData\\Local\\Brisquell\\Acme Filters\\Uninstall\\Setup.exe\" "
                        "/UNINSTALL /S") +
                '\0');
  EXPECT_TRUE(Has("C:\\Users\\User\\AppData\\Local\\Brisquell\\Acme Filters\\Install record.txt"));
  EXPECT_EQ(Run("/UNINSTALL /S"), kExitDone);
  EXPECT_FALSE(EntryValue(RootKey::kCurrentUser, "DisplayName"));
  EXPECT_FALSE(files_.FolderExists("C:\\Users\\User\\AppData\\Local\\Brisquell"));
}

TEST_F(UnattendedTest, AStandardUsersRemovalRunsFromATemporaryCopy) {
  // A standard user may write neither the program-files folder nor the
  // restart list: the uninstall copy hands the removal to a temporary copy.
  files_.Protect("C:\\Program Files (x86)");
  files_.DenyRestartList();
  files_.CreateFolderTree("C:\\Users\\User\\Temp");
  environment_.Set("TEMP", "C:\\Users\\User\\Temp");
  const std::string place = "C:\\Users\\User\\AppData\\Local\\Brisquell\\Acme Filters";
  const std::string copy = place + "\\Uninstall\\";
  const std::string line = "\"" + copy + "Setup.exe\" /UNINSTALL /S /LOG=C:\\Logs\\setup.log";
  std::vector<std::string> started;
  // The started program, run here as the real one would run.
  environment_.SetRunner([&](const std::string& program, const std::string& command_line, std::string_view name,
                             std::string_view value) -> std::optional<std::uint32_t> {
    started.push_back(program + "|" + command_line + "|" + std::string(name) + "=" + std::string(value));
    files_.Release(copy + "Setup.exe");
    files_.SetExecutableFolder(std::string(value));
    files_.HoldOpen(program, true);
    environment_.Set(name, value);
    int code = RunWithArguments(platform_, nullptr, ParseCommandLine(command_line), command_line, {});
    environment_.Set(name, "");
    files_.Release(program);
    return static_cast<std::uint32_t>(code);
  });
  auto remove_from_copy = [&] {
    files_.SetExecutableFolder(copy);
    files_.HoldOpen(copy + "Setup.exe", true);  // as a running program is held
    int code = RunWithArguments(platform_, nullptr, ParseCommandLine(line), line, {});
    files_.Release(copy + "Setup.exe");
    files_.SetExecutableFolder("C:\\Package\\");
    return code;
  };
  ASSERT_EQ(Run("/S /HOSTS=none /DIR=C:\\Custom"), kExitDone);
  ASSERT_TRUE(Has(copy + "Setup.exe"));
  EXPECT_EQ(remove_from_copy(), kExitDone);
  const std::string temp = "C:\\Users\\User\\Temp\\Plug-in Setup removal 1\\";
  EXPECT_EQ(started, std::vector<std::string>{temp + "Setup.exe|" + line + "|PLUGIN_SETUP_TEMPORARY_COPY=" + temp});
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
  EXPECT_FALSE(EntryValue(RootKey::kCurrentUser, "DisplayName"));
  EXPECT_FALSE(files_.FolderExists("C:\\Users\\User\\AppData\\Local\\Brisquell"));
  EXPECT_TRUE(Has(temp + "Setup.exe"));
  EXPECT_FALSE(Has(temp + "setup.ini"));
  EXPECT_TRUE(HasLine("Temporary copy: " + temp +
                      "Setup.exe removes the package, so that the uninstall copy can be "
                      "deleted"));

  // The started copy's exit code comes back; a copy that cannot be started
  // leaves the removal to the uninstall copy, and nothing in the temp folder.
  struct Case {
    bool restart_list;
    std::optional<std::uint32_t> child_code;  // what a started copy ends with; nothing: it cannot start
    int code;
    bool started;
    bool removed_here;
  } cases[] = {
      {false, 3010, 3010, true, false},
      {false, std::nullopt, kExitDone, true, true},
      {true, 0, kExitDone, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(Run("/S /HOSTS=none /DIR=C:\\Custom"), kExitDone);
    if (c.restart_list) files_.AllowRestartList();
    started.clear();
    environment_.SetRunner([&](const std::string& program, const std::string&, std::string_view, std::string_view) {
      started.push_back(program);
      return c.child_code;
    });
    EXPECT_EQ(remove_from_copy(), c.code);
    EXPECT_EQ(!started.empty(), c.started);
    EXPECT_EQ(!Has("C:\\Custom\\Acme\\a.8bf"), c.removed_here);
    EXPECT_FALSE(files_.FolderExists("C:\\Users\\User\\Temp\\Plug-in Setup removal 3"));
    if (c.child_code && *c.child_code == 3010) {
      ASSERT_EQ(Run("/UNINSTALL /S"), kExitDone);
    }
  }
}

TEST_F(UnattendedTest, ReinstallAddsToTheRecord) {
  ASSERT_EQ(Run("/S /HOSTS=none /DIR=C:\\Custom"), kExitDone);
  ASSERT_EQ(Run("/S /HOSTS=photoshop7"), kExitDone);
  std::optional<InstallRecord> record = InstallRecord::FromText(Read(kRecord));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->files.size(), 6u);
  EXPECT_EQ(Run("/UNINSTALL /S"), kExitDone);
  EXPECT_FALSE(files_.FolderExists("C:\\Custom\\Acme"));
  EXPECT_FALSE(files_.FolderExists("C:\\PS7\\Acme"));

  // A record that cannot be read is never written over.
  files_.CreateFolderTree(kPlace);
  Write(kRecord, "not a record");
  EXPECT_EQ(Run("/S /HOSTS=photoshop7"), kExitSomeFailed);
  EXPECT_EQ(Read(kRecord), "not a record");
  EXPECT_EQ(Run("/UNINSTALL /S"), kExitUnusable);
}

TEST_F(UnattendedTest, WithoutSilentTheBoxesAskAndTell) {
  ASSERT_EQ(Run("/S /DIR=C:\\Custom /HOSTS=none"), kExitDone);
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdNo; };
  EXPECT_EQ(Run("/UNINSTALL"), kExitDone);
  EXPECT_TRUE(Has("C:\\Custom\\Acme\\a.8bf"));
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text,
            "Remove the files that unattended installs of Acme Filters put on this computer?");
  EXPECT_EQ(toolkit_.messages_[0].style, kMbYesNo | kMbIconWarning);

  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdYes; };
  EXPECT_EQ(Run("/uninstall"), kExitDone);
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
  ASSERT_EQ(toolkit_.messages_.size(), 3u);
  EXPECT_EQ(toolkit_.messages_[2].text, "Removal finished: 3 files removed, 0 kept, 0 failed, 2 folders removed.");

  EXPECT_EQ(Run("/?"), kExitDone);
  EXPECT_EQ(toolkit_.messages_.back().text, UsageText());
  EXPECT_EQ(Run("/DIR=C:\\Custom /Qn"), kExitUnknownOption);
  EXPECT_EQ(toolkit_.messages_.back().text, "Unknown option: /Qn\n\n" + UsageText());
  EXPECT_EQ(toolkit_.messages_.back().style, kMbIconError);
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
  EXPECT_EQ(windowed_runs_, 0);
  EXPECT_EQ(Run("/LOG=C:\\Logs\\setup.log"), kExitDone);
  EXPECT_EQ(windowed_runs_, 1);
  EXPECT_EQ(Run("/LOG=setup.log"), kExitUnusable);
  EXPECT_EQ(toolkit_.messages_.back().text,
            "The command line cannot be used: the log file of /LOG is not a full path: setup.log\n\n" + UsageText());
  EXPECT_EQ(windowed_runs_, 1);
}

TEST_F(UnattendedTest, AFileTooLargeToHashIsNotRecordedAndNeverRemoved) {
  Write("C:\\Package\\huge.8bf", "");
  std::filesystem::resize_file(files_.HostPath("C:\\Package\\huge.8bf"), kMaxHashedFileSize + 1);
  EXPECT_EQ(Run("/S /HOSTS=none /DIR=C:\\Custom /LOG=C:\\Logs\\setup.log"), kExitSomeFailed);
  EXPECT_TRUE(Has("C:\\Custom\\Acme\\huge.8bf"));
  std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Error: C:\\Custom\\Acme\\huge.8bf could not be read back for the install record; "
                      "/UNINSTALL will leave it"),
            lines.end());
  EXPECT_EQ(Run("/UNINSTALL /S"), kExitDone);
  EXPECT_TRUE(Has("C:\\Custom\\Acme\\huge.8bf"));
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
}

TEST_F(UnattendedTest, PackageHostIsATargetByItsId) {
  files_.CreateFolderTree("C:\\Viewer\\Plugins");
  std::string ini =
      std::string(kSetupIni) + "[hosts]\r\nviewer=Acme Viewer\r\n[host.viewer]\r\nfolder=C:\\Viewer\\Plugins\r\n";
  EXPECT_EQ(Run("/S /HOSTS=Viewer /LOG=C:\\Logs\\setup.log", ini), kExitDone);
  EXPECT_EQ(Read("C:\\Viewer\\Plugins\\Acme\\a.8bf"), "A");
  EXPECT_FALSE(Has("C:\\PS7\\Acme\\a.8bf"));
  std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Host: Acme Viewer in C:\\Viewer\\Plugins (id viewer); target"),
            lines.end());
  EXPECT_EQ(Run("/UNINSTALL /S", ini), kExitDone);
  EXPECT_FALSE(Has("C:\\Viewer\\Plugins\\Acme\\a.8bf"));
  EXPECT_FALSE(files_.FolderExists("C:\\Viewer\\Plugins\\Acme"));
}

TEST_F(UnattendedTest, AnEnumeratingHostsIdTakesEveryMatchAndTheLogNamesEach) {
  for (const char* folder : {"C:\\Viewer\\Viewer 10", "C:\\Viewer\\Viewer 9"}) files_.CreateFolderTree(folder);
  std::string ini = std::string(kSetupIni) +
                    "[hosts]\r\nviewer=Acme %FOLDER%\r\n[host.viewer]\r\nfolder=C:\\Viewer\\Viewer *\r\nselect=0\r\n";
  EXPECT_EQ(Run("/S /HOSTS=viewer /LOG=C:\\Logs\\setup.log", ini), kExitDone);
  EXPECT_EQ(Read("C:\\Viewer\\Viewer 9\\Acme\\a.8bf"), "A");
  EXPECT_EQ(Read("C:\\Viewer\\Viewer 10\\Acme\\a.8bf"), "A");
  std::vector<std::string> hosts;
  for (const std::string& line : LogLines())
    if (line.starts_with("Host: Acme")) hosts.push_back(line);
  EXPECT_EQ(hosts, (std::vector<std::string>{"Host: Acme Viewer 9 in C:\\Viewer\\Viewer 9 (id viewer); target",
                                             "Host: Acme Viewer 10 in C:\\Viewer\\Viewer 10 (id viewer); target"}));
}

TEST_F(UnattendedTest, EveryFilesSectionATargetUsesCountsAndAnEntryMatchingNothingIsAFailure) {
  files_.CreateFolderTree("C:\\Viewer\\Plugins");
  const std::string head = "[presentation]\r\ntitle=Acme Filters\r\nversion=2.0\r\n[options]\r\nsubdir=Acme\r\n";
  const std::string viewer =
      "[hosts]\r\nviewer=Acme Viewer\r\n[host.viewer]\r\nfolder=C:\\Viewer\\Plugins\r\nfiles=files64\r\n";
  struct Case {
    const char* hosts;
    std::string ini;
    int code;
    const char* installed;  // a file the run copies, or "" for none
    const char* line;       // a line of the log
  } cases[] = {
      // Only a package host's own section: installed (it used to end with 2).
      {"viewer", head + viewer + "[files64]\r\n1=*.8bf\r\n", kExitDone, "C:\\Viewer\\Plugins\\Acme\\a.8bf",
       "End: 2 files copied, 0 failures; exit code 0"},
      {"photoshop7", std::string(kSetupIni) + "3=missing.8bf\r\n", kExitSomeFailed, "C:\\PS7\\Acme\\a.8bf",
       "Not matched: [files] 3=missing.8bf matches no file of the package"},
      {"photoshop7,viewer", std::string(kSetupIni) + viewer + "[FILES64]\r\n1=x64\\*.8bf\r\n", kExitSomeFailed,
       "C:\\PS7\\Acme\\a.8bf", "Not matched: [files64] 1=x64\\*.8bf matches no file of the package"},
      {"photoshop7,viewer", std::string(kSetupIni) + viewer, kExitSomeFailed, "C:\\PS7\\Acme\\a.8bf",
       "Not matched: [files64] lists no file"},
      // The catalogue's [files] is not used by a package host of its own section.
      {"viewer", std::string(kSetupIni) + viewer + "[files64]\r\n1=*.x64\r\n", kExitNothingToDo, "",
       "Nothing to install: no entry of [files64] matches a file of the package"},
      {"photoshop7", head + "[files]\r\n1=Filters\r\n2=..\\a.8bf\r\n", kExitNothingToDo, "",
       "Nothing to install: no entry of [files] matches a file of the package"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_ / "PS7" / "Acme");
    std::filesystem::remove_all(root_ / "Viewer" / "Plugins" / "Acme");
    std::filesystem::remove(root_ / "Logs" / "setup.log");
    EXPECT_EQ(Run(std::string("/S /LOG=C:\\Logs\\setup.log /HOSTS=") + c.hosts, c.ini), c.code) << c.hosts << c.ini;
    if (*c.installed) {
      EXPECT_TRUE(Has(c.installed)) << c.installed;
    } else {
      EXPECT_FALSE(files_.FolderExists("C:\\PS7\\Acme") || files_.FolderExists("C:\\Viewer\\Plugins\\Acme"));
    }
    std::vector<std::string> lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
  }
}

TEST_F(UnattendedTest, AsLocalSystemTheLogNamesThePlacesOfTheUsersHostsItCannotSee) {
  environment_.SetLocalSystem(true);
  std::string ini = std::string(kSetupIni) +
                    "[enabled]\r\nall=0\r\npaintshoppro4=1\r\npaintshoppro5=1\r\nphotoshop7=1\r\nreg=1\r\nmachine=1\r\n"
                    "[hosts]\r\nreg=Acme Reg\r\nmachine=Acme Machine\r\n"
                    "[host.reg]\r\nregistry=HKCU\\Software\\Acme|Plugins\r\n"
                    "[host.machine]\r\nregistry=HKLM\\Software\\Acme|Plugins\r\n";
  EXPECT_EQ(Run("/S /HOSTS=photoshop7 /LOG=C:\\Logs\\setup.log", ini), kExitDone);
  std::vector<std::string> seen;
  for (const std::string& line : LogLines())
    if (line.rfind("System: ", 0) == 0 || line.rfind("Not seen: ", 0) == 0) seen.push_back(line);
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "System: running as LocalSystem: HKEY_CURRENT_USER is the system account's own, so hosts "
                      "registered there for a user are not seen; install in the user's context to reach them",
                      "Not seen: Paint Shop Pro 4 by JASC (ids paintshoppro, paintshoppro4): "
                      "HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro\\ImageProcessingFilter",
                      "Not seen: Paint Shop Pro 5 by JASC, 2nd path (ids paintshoppro, paintshoppro5): "
                      "HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter",
                      "Not seen: Paint Shop Pro 5 by JASC, 3rd path (ids paintshoppro, paintshoppro5): "
                      "HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter",
                      "Not seen: Acme Reg (id reg): HKEY_CURRENT_USER\\Software\\Acme",
                  }));
}

TEST_F(UnattendedTest, AutoscanScansTheDrivesFirstAndEscapeDoesNotStopIt) {
  Write("C:\\Old\\photoshp.ini", "[photoshop]\r\nplugindirectory=C:\\PS2\r\n");
  files_.CreateFolder("C:\\PS2");
  keyboard_.HoldEscape(true);
  std::string ini = kSetupIni;
  ini.replace(ini.find("subdir"), 0, "autoscan=1\r\n");
  EXPECT_EQ(Run("/S /HOSTS=photoshop2", ini), kExitDone);
  EXPECT_EQ(Read("C:\\PS2\\Acme\\a.8bf"), "A");
}

TEST_F(UnattendedTest, WindowedRunWithALogLogsWhatTheUserInstalls) {
  WriteSetupIni(kSetupIni);
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdNo; };
  std::string line = "Setup.exe /LOG=C:\\Logs\\setup.log";
  int code = RunWithArguments(platform_, &toolkit_, ParseCommandLine(line), line, [this](RunWatcher* watcher) {
    SetupApplication application(toolkit_, platform_);
    application.state().watcher = watcher;
    application.Run();
    HeadlessWindow& main = *toolkit_.Find("TMainForm");
    main.SetItemChecked(TMainForm::Detected, 0, false);
    main.Click(TMainForm::Install);
  });
  EXPECT_EQ(code, kExitDone);
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{
                "Start: Acme Filters 2.0; command line: Setup.exe /LOG=C:\\Logs\\setup.log",
                "Host: Paint Shop Pro 5 by JASC, 1st path in C:\\PSP5 (ids paintshoppro, paintshoppro5); ticked",
                "Host: PhotoShop 7 by Adobe in C:\\PS7 (ids photoshop, photoshop7); ticked",
                "Target: PhotoShop 7 by Adobe (1/1)",
                "Copied: a.8bf to C:\\PS7\\Acme\\a.8bf",
                "Copied: b.8bf to C:\\PS7\\Acme\\b.8bf",
                "Copied: Filters\\c.8bf to C:\\PS7\\Acme\\Filters\\c.8bf",
                "Installed: 3 files copied, 0 failures",
                "End: the window was closed; exit code 0",
            }));
  EXPECT_FALSE(Has(kRecord));  // a windowed install keeps no record
  EXPECT_FALSE(EntryValue(RootKey::kLocalMachine, "DisplayName"));
}

}  // namespace
}  // namespace setup
