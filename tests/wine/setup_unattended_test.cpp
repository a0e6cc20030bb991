// Setup.exe started with arguments, as a deployment system starts it: the
// exit code, the log, the install record and removal, and no window at all.

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\Hosts\\\\PS7\"\n"
    "[HKEY_CURRENT_USER\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\Hosts\\\\PSP5\"\n"
    "[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"Earlier\"=\"C:\\\\Earlier\"\n";

constexpr char kSetupIni[] =
    "[presentation]\r\ntitle=Acme Silent\r\nversion=3.1\r\n"
    "[options]\r\nsubdir=Acme\r\n[files]\r\n1=*.8bf\r\n2=Filters\\c.8bf\r\n";
constexpr char kRecordFolder[] = "C:\\Program Files (x86)\\Brisquell\\Acme Silent";
constexpr char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brisquell Acme Silent";
constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kLog[] = "C:\\Logs\\setup log.txt";

struct UnattendedTest : SetupTest {
  UnattendedTest() {
    for (const char* tree : {"C:\\Hosts", "C:\\Custom", "C:\\Logs", kRecordFolder}) RemoveTree(tree);
    for (const char* folder : {"C:\\Hosts\\PS7", "C:\\Hosts\\PSP5", "C:\\Custom", "C:\\Logs"}) MakeFolders(folder);
    package_.Write("a.8bf", "A");
    package_.Write("b.8bf", "B");
    package_.Write("Filters\\c.8bf", "C");
    ImportReg(kMachine);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kEntry);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", View::k64);
  }
  ~UnattendedTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop");
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\JASC");
    DeleteRegTree(HKEY_LOCAL_MACHINE, kEntry);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", View::k64);
    RemoveTree(kRecordFolder);
  }
  // Runs Setup.exe with the arguments to its end and returns its exit code,
  // looking for a visible window of it all the while.
  DWORD RunSilently(const std::string& arguments) { return RunSilently(package_.Path("Setup.exe"), arguments); }
  DWORD RunSilently(const std::string& program_path, const std::string& arguments) {
    RunningProgram program(program_path, arguments, "C:\\");
    bool window_seen = false;
    std::optional<DWORD> code;
    WaitUntil(
        [&] {
          if (!TopWindows(program.pid()).empty()) window_seen = true;
          code = program.WaitExit(0);
          return code.has_value();
        },
        30000);
    EXPECT_FALSE(window_seen) << arguments;
    EXPECT_TRUE(code.has_value()) << "still running: " << arguments;
    return code.value_or(9999);
  }
  static bool Has(const std::string& path) { return ReadFileBytes(path).has_value(); }
  static std::string Entry(const char* name) {
    std::optional<RegValue> value = ReadRegValue(HKEY_LOCAL_MACHINE, kEntry, name);
    if (!value) return "(none)";
    return value->type == REG_DWORD ? std::to_string(value->Dword()) : value->Text();
  }
  // The moves asked for the next restart, as the system keeps them: pairs
  // of NT paths, an empty target for a deletion.
  static std::vector<std::string> PendingRenames() {
    std::optional<RegValue> value =
        ReadRegValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", View::k64);
    std::vector<std::string> names;
    if (!value) return names;
    // REG_MULTI_SZ, read through the ANSI function: each name ends in a zero.
    const std::string& text = value->data;
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\0', start);
      if (end == std::string::npos) end = text.size();
      names.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    while (!names.empty() && names.back().empty()) names.pop_back();
    return names;
  }
  static std::string Log() { return ReadFileBytes(kLog).value_or(""); }
};

TEST_F(UnattendedTest, SilentInstallIntoTwoHostsAndAFolderThenRemoval) {
  package_.Write("setup.ini", kSetupIni);
  MakeFolders("C:\\Hosts\\PS7\\Acme");
  WriteFileBytes("C:\\Hosts\\PS7\\Acme\\own.8bf", "the host's own plug-in");
  ASSERT_EQ(
      RunSilently("/S /HOSTS=photoshop7,PaintShopPro /DIR=C:\\Custom " + QuoteArgument(std::string("/LOG=") + kLog)),
      0u);
  for (const char* file :
       {"C:\\Hosts\\PS7\\Acme\\a.8bf", "C:\\Hosts\\PS7\\Acme\\Filters\\c.8bf", "C:\\Hosts\\PSP5\\Acme\\b.8bf",
        "C:\\Custom\\Acme\\a.8bf", "C:\\Custom\\Acme\\Filters\\c.8bf"})
    EXPECT_TRUE(Has(file)) << file;
  std::string log = Log();
  // Every line starts with the local date and time, "YYYY-MM-DD HH:MM:SS ".
  for (std::size_t start = 0; start < log.size();) {
    std::string stamp = log.substr(start, 20);
    ASSERT_EQ(stamp.size(), 20u) << log;
    for (std::size_t i = 0; i < stamp.size(); ++i) {
      char c = stamp[i];
      bool fits = i == 4 || i == 7     ? c == '-'
                  : i == 13 || i == 16 ? c == ':'
                  : i == 10 || i == 19 ? c == ' '
                                       : c >= '0' && c <= '9';
      EXPECT_TRUE(fits) << stamp;
    }
    std::size_t end = log.find('\n', start);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  EXPECT_NE(log.find(" Start: Acme Silent 3.1; command line: "), std::string::npos) << log;
  EXPECT_NE(log.find(" Copied: Filters\\c.8bf to C:\\Custom\\Acme\\Filters\\c.8bf\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" End: 9 files copied, 0 failures; exit code 0\r\n"), std::string::npos) << log;
  EXPECT_TRUE(Has((std::string(kRecordFolder) + "\\Install record.txt").c_str()));
  // The scratch key stays, as after a completed windowed installation.
  EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kScratchKey, "Earlier").has_value());

  WriteFileBytes("C:\\Custom\\Acme\\b.8bf", "changed after the install");
  ASSERT_EQ(RunSilently("/UNINSTALL /S " + QuoteArgument(std::string("/LOG=") + kLog)), 0u);
  for (const char* gone : {"C:\\Hosts\\PS7\\Acme\\a.8bf", "C:\\Hosts\\PS7\\Acme\\Filters\\c.8bf",
                           "C:\\Hosts\\PSP5\\Acme\\b.8bf", "C:\\Custom\\Acme\\a.8bf"})
    EXPECT_FALSE(Has(gone)) << gone;
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\PS7\\Acme\\own.8bf"), "the host's own plug-in");
  EXPECT_EQ(ReadFileBytes("C:\\Custom\\Acme\\b.8bf"), "changed after the install");
  EXPECT_FALSE(Has("C:\\Hosts\\PSP5\\Acme\\Filters"));
  EXPECT_EQ(GetFileAttributesA("C:\\Hosts\\PSP5\\Acme"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA("C:\\Hosts\\PS7\\Acme"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(Log().find(" Kept: C:\\Custom\\Acme\\b.8bf (changed since it was installed)\r\n"), std::string::npos);
  EXPECT_FALSE(Has((std::string(kRecordFolder) + "\\Install record.txt").c_str()));
}

// What a deployment tool does: install, find the Apps & features entry,
// delete the package folder, run the entry's quiet uninstall command.
TEST_F(UnattendedTest, DeployDetectAndRemoveThroughTheEntry) {
  std::string ini = kSetupIni;
  ini.replace(ini.find("[options]"), 0, "publisher=Acme Inc.\r\n");
  package_.Write("setup.ini", ini);
  ASSERT_EQ(RunSilently("/S /HOSTS=photoshop7 " + QuoteArgument(std::string("/LOG=") + kLog)), 0u) << Log();
  const std::string copy = std::string(kRecordFolder) + "\\Uninstall\\";
  EXPECT_EQ(Entry("DisplayName"), "Acme Silent");
  EXPECT_EQ(Entry("DisplayVersion"), "3.1");
  EXPECT_EQ(Entry("Publisher"), "Acme Inc.");
  EXPECT_EQ(Entry("UninstallString"), "\"" + copy + "Setup.exe\" /UNINSTALL");
  EXPECT_EQ(Entry("QuietUninstallString"), "\"" + copy + "Setup.exe\" /UNINSTALL /S");
  EXPECT_EQ(Entry("InstallDate").size(), 8u);
  EXPECT_EQ(Entry("EstimatedSize"), "1");
  EXPECT_EQ(Entry("NoModify"), "1");
  EXPECT_EQ(Entry("NoRepair"), "1");
  // The 32-bit program writes the 32-bit view: Wow6432Node as the 64-bit
  // side names it, not the 64-bit view's own key.
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\" + std::string(kEntry).substr(9), View::k64));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kEntry, View::k64));
  EXPECT_EQ(ReadFileBytes(copy + "setup.ini"), ini);
  EXPECT_EQ(ReadFileBytes(copy + "Filters\\c.8bf"), "C");

  RemoveTree(package_.folder());
  EXPECT_EQ(RunSilently(copy + "Setup.exe", "/UNINSTALL /S " + QuoteArgument(std::string("/LOG=") + kLog)), 0u)
      << Log();
  for (const char* gone : {"C:\\Hosts\\PS7\\Acme\\a.8bf", "C:\\Hosts\\PS7\\Acme\\Filters\\c.8bf"})
    EXPECT_FALSE(Has(gone)) << gone;
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_FALSE(Has(std::string(kRecordFolder) + "\\Install record.txt"));
  EXPECT_FALSE(Has(copy + "setup.ini"));
  // The running copy goes at the next restart, with its folders.
  std::vector<std::string> pending = PendingRenames();
  ASSERT_GE(pending.size(), 2u) << Log();
  EXPECT_EQ(pending[0], "\\??\\" + copy + "Setup.exe");
  EXPECT_EQ(pending[1], "");
}

TEST_F(UnattendedTest, APlugInHeldByARunningHostIsReplacedAtTheNextRestart) {
  package_.Write("setup.ini", kSetupIni);
  MakeFolders("C:\\Hosts\\PS7\\Acme");
  WriteFileBytes("C:\\Hosts\\PS7\\Acme\\b.8bf", "the loaded version");
  // As a host holds a loaded plug-in: others may read it, nobody may write,
  // rename or delete it.
  HANDLE held = CreateFileA("C:\\Hosts\\PS7\\Acme\\b.8bf", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  DWORD code = RunSilently("/S /HOSTS=photoshop7 " + QuoteArgument(std::string("/LOG=") + kLog));
  CloseHandle(held);
  EXPECT_EQ(code, 3010u) << Log();
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\PS7\\Acme\\b.8bf"), "the loaded version");
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\PS7\\Acme\\b.8bf.pending"), "B");
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\PS7\\Acme\\a.8bf"), "A");
  EXPECT_EQ(PendingRenames(), (std::vector<std::string>{"\\??\\C:\\Hosts\\PS7\\Acme\\b.8bf.pending",
                                                        "!\\??\\C:\\Hosts\\PS7\\Acme\\b.8bf"}));
  EXPECT_NE(Log().find(" Restart needed: b.8bf to C:\\Hosts\\PS7\\Acme\\b.8bf: the file there is in use; "),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find(" End: 3 files copied, 0 failures; exit code 3010\r\n"), std::string::npos) << Log();
}

TEST_F(UnattendedTest, RemovalLeavesARecordedFolderThatBecameALink) {
  package_.Write("setup.ini", kSetupIni);
  ASSERT_EQ(RunSilently("/S /HOSTS=photoshop7"), 0u);
  MakeFolders("C:\\Hosts\\Outside");
  WriteFileBytes("C:\\Hosts\\Outside\\c.8bf", "C");
  RemoveTree("C:\\Hosts\\PS7\\Acme\\Filters");
  MakeFolderLink("C:\\Hosts\\PS7\\Acme\\Filters", "C:\\Hosts\\Outside");
  DWORD code = RunSilently("/UNINSTALL /S " + QuoteArgument(std::string("/LOG=") + kLog));
  RemoveFolderLink("C:\\Hosts\\PS7\\Acme\\Filters");
  EXPECT_EQ(code, 1u) << Log();
  EXPECT_EQ(ReadFileBytes("C:\\Hosts\\Outside\\c.8bf"), "C");
  EXPECT_FALSE(Has("C:\\Hosts\\PS7\\Acme\\a.8bf"));
  EXPECT_NE(Log().find(" Refused: C:\\Hosts\\PS7\\Acme\\Filters\\c.8bf (a link stands at "
                       "C:\\Hosts\\PS7\\Acme\\Filters)\r\n"),
            std::string::npos)
      << Log();
}

TEST_F(UnattendedTest, AgreementNotAcceptedInstallsNothing) {
  package_.Write("license.txt", "Terms.");
  package_.Write("setup.ini", std::string(kSetupIni) + "[messages]\r\nagreement=license.txt\r\n");
  EXPECT_EQ(RunSilently("/S /DIR=C:\\Custom"), 4u);
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
  EXPECT_FALSE(Has("C:\\Hosts\\PS7\\Acme\\a.8bf"));
  EXPECT_FALSE(Has((std::string(kRecordFolder) + "\\Install record.txt").c_str()));
}

TEST_F(UnattendedTest, HelpIsABoxAndAnUnknownOptionEndsWithFive) {
  package_.Write("setup.ini", kSetupIni);
  RunningProgram help(package_, "/?");
  MessageBoxSeen box = WaitForMessageBox(help.pid());
  EXPECT_EQ(box.caption, "Plug-in Setup");
  EXPECT_EQ(box.text.rfind("Setup.exe [options]", 0), 0u) << box.text;
  EXPECT_NE(box.text.find("/S, /SILENT, /VERYSILENT, /QUIET\t"), std::string::npos) << box.text;
  Answer(box, IDOK);
  EXPECT_EQ(help.WaitExit(), 0u);

  // Another installer's silent switch: no box for the unknown option either.
  EXPECT_EQ(RunSilently("/VERYSILENT /Qn /DIR=C:\\Custom"), 5u);
  EXPECT_FALSE(Has("C:\\Custom\\Acme\\a.8bf"));
}

}  // namespace
}  // namespace setup::ui
