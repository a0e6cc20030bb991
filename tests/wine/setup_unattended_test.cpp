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
constexpr char kRecordFolder[] = "C:\\ProgramData\\Brisquell\\Acme Silent";
constexpr char kLog[] = "C:\\Logs\\setup log.txt";

struct UnattendedTest : SetupTest {
  UnattendedTest() {
    for (const char* tree : {"C:\\Hosts", "C:\\Custom", "C:\\Logs", kRecordFolder}) RemoveTree(tree);
    for (const char* folder : {"C:\\Hosts\\PS7", "C:\\Hosts\\PSP5", "C:\\Custom", "C:\\Logs"}) MakeFolders(folder);
    package_.Write("a.8bf", "A");
    package_.Write("b.8bf", "B");
    package_.Write("Filters\\c.8bf", "C");
    ImportReg(kMachine);
  }
  ~UnattendedTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop");
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\JASC");
    RemoveTree(kRecordFolder);
  }
  // Runs Setup.exe with the arguments to its end and returns its exit code,
  // looking for a visible window of it all the while.
  DWORD RunSilently(const std::string& arguments) {
    RunningProgram program(package_, arguments);
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
  static bool Has(const char* path) { return ReadFileBytes(path).has_value(); }
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
