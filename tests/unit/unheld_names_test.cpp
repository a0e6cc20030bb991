// Names the ANSI code page cannot hold: the portable back end's code page,
// and what the program does with such a name from each place it gets one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/main_form.h"
#include "check/check_output.h"
#include "check/host_report.h"
#include "config/strings.h"
#include "hosts/package_host_places.h"
#include "hosts/unheld_folders.h"
#include "platform/ansi_text.h"
#include "platform/portable/portable_code_page.h"
#include "unattended/command_line.h"
#include "unattended/exit_code.h"
#include "unattended/unattended_run.h"
#include "unit/app_world.h"

namespace setup {
namespace {

constexpr char kU = kUnheldCharacter;

TEST(CodePageTest, NamesComeInTheWesternPageOrMarked) {
  struct Case {
    const char* host_name;  // UTF-8, or bytes that are no UTF-8
    std::string exact;
    std::string best_fit;
  } cases[] = {
      {"plain.8bf", "plain.8bf", "plain.8bf"},
      {"caf\xC3\xA9", "caf\xE9", "caf\xE9"},                        // é is in the page
      {"\xE2\x82\xAC\xC5\x92", "\x80\x8C", "\x80\x8C"},             // € and Œ sit in 0x80 to 0x9F
      {"\xC2\x81", "\x81", "\x81"},                                 // a control the page keeps
      {"b\xCE\xA9.8bf", std::string("b") + kU + ".8bf", "bO.8bf"},  // Greek Omega: the look-alike O
      {"\xD0\x96\xC5\x81", std::string{kU, kU}, "?L"},              // Cyrillic Zhe has no look-alike, Polish L does
      {"\xE6\x97\xA5", std::string(1, kU), "?"},                    // one CJK character is one mark
      {"\xF0\x9F\x98\x80", std::string(1, kU), "?"},                // beyond the basic plane
      {"caf\xE9", "caf\xE9", "caf\xE9"},                            // 8-bit already: as it is
      {"\xC0\xAF", "\xC0\xAF", "\xC0\xAF"},                         // an overlong form is no UTF-8
      {"\xED\xA0\x80", "\xED\xA0\x80", "\xED\xA0\x80"},             // nor is a surrogate
      {"\xCE", "\xCE", "\xCE"},                                     // nor a cut sequence
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiFromHostName(c.host_name), c.exact) << c.host_name;
    EXPECT_EQ(AnsiFromHostName(c.host_name, NameConversion::kBestFit), c.best_fit) << c.host_name;
  }
  EXPECT_EQ(ShownName(std::string("b") + kU + ".8bf"), "b?.8bf");
}

// Random names from letters in and out of the page: an exact name is never
// another name's text, while best fit makes twins.
TEST(CodePageTest, RandomNamesConvertLetterByLetterAndNeverToATwin) {
  struct Letter {
    const char* utf8;
    int byte;  // -1: not in the page
  } letters[] = {
      {"a", 'a'},       {"O", 'O'},       {"\xC3\xA9", 0xE9},   {"\xE2\x82\xAC", 0x80}, {"\xC5\xA0", 0x8A},
      {"\xCE\xA9", -1}, {"\xD0\x96", -1}, {"\xE6\x97\xA5", -1}, {"\xC5\x82", -1},       {"\xCE\xB1", -1},
  };
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(letters) - 1);
  std::uniform_int_distribution<int> length(1, 8);
  for (int round = 0; round < 5000; ++round) {
    std::string utf8, expected;
    for (int n = length(random); n > 0; --n) {
      const Letter& letter = letters[pick(random)];
      utf8 += letter.utf8;
      expected += letter.byte < 0 ? kU : static_cast<char>(letter.byte);
    }
    std::string exact = AnsiFromHostName(utf8);
    ASSERT_EQ(exact, expected) << utf8;
    EXPECT_EQ(HeldExactly(exact), expected.find(kU) == std::string::npos) << utf8;
  }
}

constexpr char kSetupIni[] =
    "[presentation]\r\ntitle=Acme Filters\r\n[options]\r\nsubdir=Acme\r\n[files]\r\n1=*.8bf\r\n";

struct UnheldNamesTest : testing::Test, AppWorld {
  UnheldNamesTest() {
    WriteSetupIni(kSetupIni);
    Write("C:\\Package\\a.8bf", "A");
    Write("C:\\Package\\Setup.exe", "MZ");  // the silent run keeps an uninstall copy of it
    for (const char* folder : {"C:\\Custom", "C:\\Logs", "C:\\Program Files (x86)", "C:\\PS7", "C:\\PSO", "C:\\HO"})
      files_.CreateFolder(folder);
  }
  // A package file whose name is UTF-8 on the host.
  void WriteHostFile(const std::string& utf8_name, std::string_view bytes) {
    std::ofstream(root_ / "Package" / utf8_name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  int RunSilent(const std::string& arguments) {
    std::string line = "Setup.exe /S /LOG=C:\\Logs\\setup.log " + arguments;
    return RunWithArguments(platform_, nullptr, ParseCommandLine(line), line, [](RunWatcher*) {});
  }
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines = SplitLines(files_.ReadWholeFile("C:\\Logs\\setup.log", 1 << 20).value_or(""));
    for (std::string& line : lines) line.erase(0, std::min<std::size_t>(line.size(), 20));  // the time stamp
    return lines;
  }
  bool Logged(const std::string& line) {
    std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(UnheldNamesTest, APackageFileFailsOnItsOwnAndItsTwinIsCopiedOnce) {
  WriteHostFile("b\xCE\xA9.8bf", "Omega");
  WriteHostFile("bO.8bf", "O");
  EXPECT_EQ(RunSilent("/HOSTS=none /DIR=C:\\Custom"), kExitSomeFailed);
  EXPECT_EQ(files_.ReadWholeFile("C:\\Custom\\Acme\\bO.8bf", 100), "O");
  EXPECT_TRUE(
      Logged("Failed: The file b?.8bf could not be copied. Error: its name holds a character that this "
             "system's code page cannot hold."))
      << LogLines().size();
  EXPECT_EQ(LogLines().back(), "End: 2 files copied, 1 failures; exit code 1");
  std::vector<std::string> lines = LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Copied: bO.8bf to C:\\Custom\\Acme\\bO.8bf"), 1);

  // What the system's look-alikes did: the twin twice, the file never.
  files_.SetNameConversion(NameConversion::kBestFit);
  std::filesystem::remove(root_ / "Logs" / "setup.log");
  RunSilent("/HOSTS=none /DIR=C:\\Custom");
  lines = LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Copied: bO.8bf to C:\\Custom\\Acme\\bO.8bf"), 2);
}

TEST_F(UnheldNamesTest, AHostFolderTheCodePageCannotHoldIsNotListedAndNothingIsMadeAtItsTwin) {
  registry_.Load(std::string("REGEDIT4\n[HKLM\\Software\\Adobe\\Photoshop\\13.0\\PluginPath]\n@=\"C:\\\\PS") + kU +
                 "\"\n[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n");
  environment_.Set("HOSTDIR", std::string("C:\\H") + kU);
  WriteSetupIni(std::string(kSetupIni) +
                "[hosts]\r\nviewer=Acme Viewer\r\ned=Editor %FOLDER%\r\n[host.viewer]\r\nfolder=%HOSTDIR%\r\n"
                "[host.ed]\r\nfolder=C:\\Eds\\Ed*\r\nselect=0\r\n");
  // A folder pattern matches the sub-folder it can name, not the other.
  std::filesystem::create_directories(root_ / "Eds" / "Ed\xCE\xA9");
  files_.CreateFolderTree("C:\\Eds\\EdO");
  const std::vector<UnheldHostFolder> unheld = {
      {"PhotoShop CS6 by Adobe", "C:\\PS?"}, {"Acme Viewer", "C:\\H?"}, {"Editor ", "C:\\Eds\\Ed?"}};
  EXPECT_EQ(HostsWithUnheldFolders(platform_, ReadPackageHosts(platform_).hosts), unheld);

  // The window lists the one host it can name.
  app_.Run();
  ASSERT_EQ(Main().ItemCount(TMainForm::Detected), 2);
  EXPECT_EQ(Main().ItemText(TMainForm::Detected, 0), "PhotoShop 7 by Adobe");
  EXPECT_EQ(Main().ItemText(TMainForm::Detected, 1), "Editor EdO");

  // The silent run says why the others are missing, and installs there only.
  EXPECT_EQ(RunSilent("/HOSTS=photoshop13,viewer,photoshop7"), kExitDone);
  EXPECT_TRUE(
      Logged("Not listed: PhotoShop CS6 by Adobe: its folder C:\\PS? holds a character that this system's "
             "code page cannot hold"));
  EXPECT_TRUE(
      Logged("Not listed: Acme Viewer: its folder C:\\H? holds a character that this system's code page "
             "cannot hold"));
  EXPECT_TRUE(Logged("Not found: no listed host has the id photoshop13"));
  EXPECT_TRUE(files_.FileExists("C:\\PS7\\Acme\\a.8bf"));
  EXPECT_FALSE(files_.FolderExists("C:\\PSO\\Acme"));
  EXPECT_FALSE(files_.FolderExists("C:\\HO\\Acme"));

  // So does the checker.
  std::vector<UnheldHostFolder> reported;
  std::vector<HostRow> rows = ListHostsReadOnly(platform_, &reported);
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(reported, unheld);
  EXPECT_NE(HostsText(rows, reported).find("Not listed: Acme Viewer: its folder C:\\H? holds"), std::string::npos);
  EXPECT_NE(HostsJson(rows, reported)
                .find("\"not_listed\": [\n    {\"description\": \"PhotoShop CS6 by Adobe\", "
                      "\"folder\": \"C:\\\\PS?\""),
            std::string::npos);
}

TEST_F(UnheldNamesTest, AProgramFolderTheCodePageCannotHoldEndsTheRunWithItsReason) {
  PortableFileSystem files(std::string("C:\\Pack") + kU + "\\");
  files.MapDrive('C', root_);
  files.CreateFolder("C:\\PackO");
  files.CopyReplacing("C:\\Package\\setup.ini", "C:\\PackO\\setup.ini");
  Platform platform{registry_, profile_, files, keyboard_, clock_, environment_};
  const std::string reason =
      "The name of this program's folder, C:\\Pack?\\, holds a character that this system's code page cannot hold, "
      "so the package in it cannot be read. Move the package to a folder with a plain name and start it again.";

  HeadlessToolkit toolkit;
  SetupApplication(toolkit, platform).Run();
  ASSERT_EQ(toolkit.messages_.size(), 1u);
  EXPECT_EQ(toolkit.messages_[0].text, reason);
  EXPECT_EQ(toolkit.messages_[0].caption, "Plug-in Setup");
  EXPECT_EQ(toolkit.messages_[0].style, kMbIconError);
  EXPECT_EQ(toolkit.Find("TMainForm"), nullptr);

  std::string line = "Setup.exe /S /LOG=C:\\Logs\\setup.log /DIR=C:\\Custom";
  EXPECT_EQ(RunWithArguments(platform, nullptr, ParseCommandLine(line), line, [](RunWatcher*) {}), kExitUnusable);
  EXPECT_TRUE(Logged("Error: " + reason));
  EXPECT_FALSE(files_.FolderExists("C:\\Custom\\Acme"));
}

TEST_F(UnheldNamesTest, APickedOrTypedFolderTheCodePageCannotHoldIsNoTarget) {
  app_.Run();
  const std::string custom = Main().Text(TMainForm::Custom);
  toolkit_.browse_answer_ = std::string("C:\\PS") + kU;
  Main().Click(TMainForm::Browse);
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text,
            "The name of the folder C:\\PS? holds a character that this system's code page cannot hold. Choose a "
            "folder with a plain name.");
  EXPECT_EQ(Main().Text(TMainForm::Custom), custom);

  // Typed: the folder does not exist for this program, and nothing is made.
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage&) { return kIdNo; };
  Main().SetText(TMainForm::Custom, std::string("C:\\PS") + kU);
  Main().SetChecked(TMainForm::DoCustom, true);
  Main().Click(TMainForm::Install);
  EXPECT_EQ(MessageTexts().back(), StringText(kStrCustomFolderMissing));
  EXPECT_FALSE(files_.FolderExists("C:\\PSO\\Acme"));
}

}  // namespace
}  // namespace setup
