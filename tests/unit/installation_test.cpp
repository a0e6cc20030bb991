#include <gtest/gtest.h>

#include "config/user_error.h"
#include "hosts/registry_access.h"
#include "install/deployment.h"
#include "install/installation.h"
#include "unit/app_world.h"
#include "unit/installation_transcript.h"

namespace setup {
namespace {

using Main = TMainForm;
using Progress = TProgressForm;

// Photoshop 7 (two paths to the same folder), Paint Shop Pro 5 (2nd path
// unticked by design) and Image Composer, which takes the files straight
// into its folder, stored without a trailing backslash.
constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n"
    "[HKCU\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\PSP5\\\\\"\n\"Directory2\"=\"C:\\\\PSP5b\"\n"
    "[HKLM\\Software\\Microsoft\\Microsoft Image Composer\\Plug Ins]\n\"Primary Plug In Path\"=\"C:\\\\MIC\"\n";

constexpr char kFiles[] = "[files]\r\n1=*.8bf\r\n2=Filters\\c.8bf\r\n";

struct InstallationTest : testing::Test, AppWorld {
  InstallationTest() {
    registry_.Load(kMachine);
    Write("C:\\Package\\a.8bf", "A");
    Write("C:\\Package\\b.8bf", "B");
    Write("C:\\Package\\Filters\\c.8bf", "C");
    std::filesystem::create_directories(files_.HostPath("C:\\Package\\folder.8bf"));
    for (const char* host : {"C:\\PS7", "C:\\PSP5", "C:\\MIC"}) files_.CreateFolder(host);
  }
  // setup.ini with the files above, subdir "Acme" and more [options] lines.
  HeadlessWindow& Start(const std::string& more_ini, const std::string& options = "") {
    WriteSetupIni("[options]\r\nsubdir=Acme\r\n" + options + kFiles + more_ini);
    app_.Run();
    return Main();
  }
  HeadlessWindow& ProgressWindow() { return *toolkit_.Find("TProgressForm"); }
  bool Exists(const std::string& path) { return files_.FileExists(path); }
  // Answers Yes/No questions with `yes_no` and records every message.
  void Answer(int yes_no) {
    toolkit_.answer_message_ = [yes_no](const HeadlessToolkit::ShownMessage& message) {
      return (message.style & 0xF) == kMbYesNo ? yes_no : kIdOk;
    };
  }
};

TEST_F(InstallationTest, DeploymentListFollowsTheFilesSection) {
  Write("C:\\Package\\A.8BFX", "long extension");
  WriteSetupIni(
      "[files]\r\nz=b.8bf\r\n1=*.8bf\r\ndup=b.8bf\r\nnone=*.none\r\nsub=Filters\\*\r\nslash=Filters/c.8bf\r\n");
  EXPECT_EQ(BuildDeploymentList(platform_),
            (std::vector<std::string>{"b.8bf", "a.8bf", "A.8BFX", "b.8bf", "b.8bf", "Filters\\c.8bf"}));
}

TEST_F(InstallationTest, EntriesFromOutsideThePackageAreSkipped) {
  Write("C:\\secret.txt", "secret");
  Write("C:\\Package\\Sub\\d.8bf", "D");
  WriteSetupIni("[files]\r\na=..\\*.txt\r\nb=C:\\secret.txt\r\nc=Sub\\..\\..\\*.txt\r\nd=Sub\\..\\Sub\\d.8bf\r\n");
  EXPECT_EQ(BuildDeploymentList(platform_), std::vector<std::string>{"Sub\\..\\Sub\\d.8bf"});
}

TEST_F(InstallationTest, DirectoryPart) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"D:\\Plugins\\Filters\\", "D:\\Plugins\\Filters"},
      {"D:\\", "D:\\"},
      {"plain", ""},
      {"D:\\Host\\\\a.8bf", "D:\\Host\\\\"},
      {"D:x", "D"},
      {"\\\\server", "\\\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(DirectoryPart(c.path), c.folder) << c.path;
}

TEST_F(InstallationTest, InstallsIntoTickedHostsThenTheCustomFolder) {
  HeadlessWindow& main = Start("", "custom=C:\\Custom\r\n");
  Write("C:\\Custom\\keep.txt", "");
  ASSERT_EQ(main.ItemText(Main::Detected, 1), "Paint Shop Pro 5 by JASC, 1st path");
  main.SetItemChecked(Main::Detected, 1, false);
  main.Click(Main::DoCustom);
  Answer(kIdNo);
  main.Click(Main::Install);

  EXPECT_FALSE(Exists("C:\\PSP5\\Acme\\a.8bf"));
  for (const char* file : {"C:\\MIC\\a.8bf", "C:\\MIC\\Filters\\c.8bf", "C:\\PS7\\Acme\\a.8bf", "C:\\PS7\\Acme\\b.8bf",
                           "C:\\PS7\\Acme\\Filters\\c.8bf", "C:\\Custom\\Acme\\b.8bf"})
    EXPECT_TRUE(Exists(file)) << file;
  EXPECT_FALSE(Exists("C:\\MICa.8bf"));
  HeadlessWindow& progress = ProgressWindow();
  EXPECT_EQ(progress.Text(Progress::App), "C:\\Custom\\ (3/3)");
  EXPECT_EQ(progress.Text(Progress::File), "Filters\\c.8bf (3/3)");
  EXPECT_EQ(progress.State(Progress::FileBar).progress_position, 2);
  EXPECT_EQ(progress.State(Progress::FileBar).progress_max, 3);
  EXPECT_EQ(progress.State(Progress::AppBar).progress_position, 2);
  EXPECT_FALSE(progress.IsVisible());
  EXPECT_TRUE(main.window_enabled_);
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text,
            "The installation has completed.\nDo you want to exit the installation program?");
  EXPECT_EQ(toolkit_.messages_[0].caption, "Completed!");
  EXPECT_EQ(toolkit_.messages_[0].style, 68u);
  EXPECT_FALSE(toolkit_.end_requested_);
}

TEST_F(InstallationTest, ExitAnsweredYesEndsWithTheScratchKeyKept) {
  StoreFoundFolder(registry_, "PS2", "C:\\PS7");
  HeadlessWindow& main = Start("");
  Answer(kIdYes);
  main.Click(Main::Install);
  EXPECT_TRUE(toolkit_.end_requested_);
  EXPECT_TRUE(registry_.KeyExists(RootKey::kCurrentUser, std::string(kScratchKeyPath)));
  EXPECT_EQ(
      MessageTexts(),
      std::vector<std::string>{
          "The installation has completed.\nDo you want to exit the installation program?"});  // no close question, no
                                                                                               // close message
}

TEST_F(InstallationTest, MainWindowIsDisabledBeforeTheProgressWindowShowsAndAfterItHides) {
  HeadlessWindow& main = Start("");
  toolkit_.events_.clear();
  Answer(kIdNo);
  main.Click(Main::Install);
  EXPECT_EQ(toolkit_.events_,
            (std::vector<std::string>{"disable TMainForm", "show TProgressForm", "hide TProgressForm",
                                      "enable TMainForm", "activate TMainForm",
                                      "message: The installation has completed.\nDo you want to exit the "
                                      "installation program?"}));
  EXPECT_TRUE(ProgressWindow().centred_);
  // Alt+F4 on the progress window is refused: it would hide Cancel.
  ProgressWindow().Close();
  EXPECT_EQ(toolkit_.events_.back().rfind("message: ", 0), 0u) << "no close went through";
}

TEST_F(InstallationTest, AnErrorThatEndsTheRunStillRestoresTheWindows) {
  HeadlessWindow& main = Start("");
  files_.HoldOpen("C:\\Package\\a.8bf");
  toolkit_.answer_message_ = [](const HeadlessToolkit::ShownMessage& message) -> int {
    if (message.caption == "Error!") throw UserError("out of memory");
    return kIdNo;
  };
  main.Click(Main::Install);
  EXPECT_FALSE(ProgressWindow().IsVisible());
  EXPECT_TRUE(main.window_enabled_);
  EXPECT_EQ(toolkit_.events_.back(), "message: out of memory") << "reported as any error of an action";
}

// The run without any window: what it tells, in order, and where the files land.
struct InstallFilesTest : testing::Test, TestWorld {
  InstallFilesTest() {
    registry_.Load(kMachine);
    Write("C:\\Package\\a.8bf", "A");
    Write("C:\\Package\\Filters\\c.8bf", "C");
    WriteSetupIni("[files]\r\n1=a.8bf\r\n2=Filters\\c.8bf\r\n");
    for (const char* folder : {"C:\\PS7", "C:\\MIC", "C:\\Custom"}) files_.CreateFolder(folder);
  }
  static int Index(std::string_view description) {
    for (std::size_t i = 0; i < kHostCount; ++i)
      if (HostCatalogue[i].Description == description) return static_cast<int>(i);
    return -1;
  }
  ListedHost Row(std::string_view description) { return CatalogueRow(platform_, Index(description), true); }
  InstallChoice Choice() {
    return {
        {Row("Image Composer 1.0 by Microsoft, 1st path"), Row("PhotoShop 7 by Adobe")}, true, "C:\\Custom", "Acme"};
  }
  InstallationTranscript record_;
};

TEST_F(InstallFilesTest, HostsInTheirOrderThenTheCustomFolder) {
  ASSERT_GE(Index("Image Composer 1.0 by Microsoft, 1st path"), 0);
  InstallFiles(platform_, Choice(), record_);
  EXPECT_EQ(record_.targets, (std::vector<std::string>{"Image Composer 1.0 by Microsoft, 1st path (1/3)",
                                                       "PhotoShop 7 by Adobe (2/3)", "C:\\Custom\\ (3/3)"}));
  EXPECT_EQ(record_.files.size(), 6u);
  EXPECT_TRUE(record_.errors.empty());
  for (const char* file : {"C:\\MIC\\a.8bf", "C:\\PS7\\Acme\\Filters\\c.8bf", "C:\\Custom\\Acme\\a.8bf"})
    EXPECT_TRUE(files_.FileExists(file)) << file;
  EXPECT_EQ(record_.user_turns, 2 + 6) << "before each host and after each file";
}

TEST_F(InstallFilesTest, AHostFolderThatIsNoFullPathIsNoTarget) {
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"Rel\\\\Plugins\"\n");
  InstallFiles(platform_, {{Row("PhotoShop 7 by Adobe")}, false, "", "Acme"}, record_);
  EXPECT_EQ(record_.errors, std::vector<std::string>{"The plug-in folder of PhotoShop 7 by Adobe could not be found."});
  EXPECT_TRUE(record_.files.empty());
  EXPECT_FALSE(files_.FolderExists("C:\\Package\\Rel"));
}

TEST_F(InstallFilesTest, AFolderThatCannotBeMadeIsReportedOnce) {
  Write("C:\\PS7\\Acme", "a file where the folder goes");
  InstallFiles(platform_, {{Row("PhotoShop 7 by Adobe")}, false, "", "Acme"}, record_);
  ASSERT_EQ(record_.errors.size(), 4u);
  EXPECT_EQ(record_.errors[0], "Subdirectory C:\\PS7\\Acme could not be created.");
  EXPECT_EQ(record_.errors[1].rfind("The file a.8bf could not be copied.", 0), 0u);
  EXPECT_EQ(record_.errors[2], "Subdirectory C:\\PS7\\Acme\\Filters could not be created.");
  EXPECT_EQ(record_.errors[3].rfind("The file Filters\\c.8bf could not be copied.", 0), 0u);
}

TEST_F(InstallFilesTest, LinksInsideATargetAreNotWrittenThrough) {
  Write("C:\\Outside\\a.8bf", "kept");
  Write("C:\\Outside\\Filters\\keep.txt", "");
  std::filesystem::create_directories(files_.HostPath("C:\\Custom\\Acme"));
  // A file link at a destination, and a folder link on the way to another.
  std::filesystem::create_symlink(files_.HostPath("C:\\Outside\\a.8bf"), files_.HostPath("C:\\Custom\\Acme\\a.8bf"));
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Outside\\Filters"),
                                            files_.HostPath("C:\\Custom\\Acme\\Filters"));
  InstallFiles(platform_, {{}, true, "C:\\Custom", "Acme"}, record_);
  EXPECT_EQ(record_.errors,
            (std::vector<std::string>{"The file a.8bf could not be copied.\nError: Access denied.\r\n",
                                      "The file Filters\\c.8bf could not be copied.\nError: Access denied.\r\n"}));
  EXPECT_EQ(files_.ReadWholeFile("C:\\Outside\\a.8bf", SIZE_MAX), "kept");
  EXPECT_FALSE(files_.FileExists("C:\\Outside\\Filters\\c.8bf"));

  // The chosen folder itself may be a link: the user chose it.
  std::filesystem::create_directory_symlink(files_.HostPath("C:\\Outside"), files_.HostPath("C:\\Linked"));
  record_.errors.clear();
  InstallFiles(platform_, {{}, true, "C:\\Linked", "Fresh"}, record_);
  EXPECT_TRUE(record_.errors.empty());
  EXPECT_TRUE(files_.FileExists("C:\\Outside\\Fresh\\Filters\\c.8bf"));
}

TEST_F(InstallFilesTest, ACancelRequestLeavesTheHostsButNotTheCustomFolder) {
  record_.cancel_requested = true;
  InstallFiles(platform_, Choice(), record_);
  EXPECT_EQ(record_.targets, std::vector<std::string>{"C:\\Custom\\ (3/3)"});
  EXPECT_FALSE(files_.FileExists("C:\\MIC\\a.8bf"));
  EXPECT_TRUE(files_.FileExists("C:\\Custom\\Acme\\a.8bf"));
}

// The progress window's pace: it copies one target's files straight through
// DeployToTarget and notes which file the line showed at each message.
struct DeploymentPacingTest : testing::Test, TestWorld {
  std::vector<std::string> Deploy(std::chrono::nanoseconds frame_interval) {
    TProgressForm form(toolkit_, *owner_, frame_interval);
    auto& progress = static_cast<HeadlessWindow&>(form.window());
    std::vector<std::string> lines_at_messages;
    toolkit_.answer_message_ = [&](const HeadlessToolkit::ShownMessage&) {
      lines_at_messages.push_back(progress.Text(Progress::File));
      return kIdOk;
    };
    DeploymentContext context{platform_, form, "C:\\Target", "Sub"};
    DeployToTarget(context, kCustomTarget);
    repaints_ = progress.repaints_;
    rounds_ = progress.pending_message_rounds_;
    line_ = progress.Text(Progress::File);
    bar_ = progress.State(Progress::FileBar).progress_position;
    return lines_at_messages;
  }
  HeadlessToolkit toolkit_;
  std::unique_ptr<Window> owner_ = toolkit_.CreateForm(TMainForm::kSpec, nullptr);
  int repaints_ = 0, rounds_ = 0, bar_ = 0;
  std::string line_;
};

TEST_F(DeploymentPacingTest, TheLineShowsTheFirstTheLastAndEveryFailedFileBetweenFrames) {
  for (const char* name : {"1.8bf", "2.8bf", "3.8bf", "4.8bf", "5.8bf"})
    Write(std::string("C:\\Package\\") + name, "x");
  WriteSetupIni("[files]\r\n1=*.8bf\r\n");
  files_.CreateFolder("C:\\Target");
  files_.HoldOpen("C:\\Package\\3.8bf");

  // A frame interval that never passes: only the first, the failed and the last file show.
  EXPECT_EQ(Deploy(std::chrono::hours(1)), std::vector<std::string>{"3.8bf (3/5)"});
  EXPECT_EQ(repaints_, 3);
  EXPECT_EQ(rounds_, 3);
  EXPECT_EQ(line_, "5.8bf (5/5)");
  EXPECT_EQ(bar_, 4);
  EXPECT_TRUE(files_.FileExists("C:\\Target\\Sub\\4.8bf"));

  // No interval: every file shows.
  Deploy(std::chrono::nanoseconds(0));
  EXPECT_EQ(repaints_, 5);
}

TEST_F(InstallationTest, MissingCustomFolderAsksWhetherToGoOnWithoutIt) {
  HeadlessWindow& main = Start("", "custom=C:\\Nowhere\r\n");
  main.Click(Main::DoCustom);
  Answer(kIdNo);
  main.Click(Main::Install);
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].caption, "Warning!");
  EXPECT_EQ(toolkit_.messages_[0].style, 52u);
  EXPECT_FALSE(Exists("C:\\PS7\\Acme\\a.8bf"));
  EXPECT_TRUE(main.IsChecked(Main::DoCustom));

  Answer(kIdYes);
  main.Click(Main::Install);
  EXPECT_FALSE(main.IsChecked(Main::DoCustom));
  EXPECT_TRUE(Exists("C:\\PS7\\Acme\\a.8bf"));
  EXPECT_FALSE(files_.FolderExists("C:\\Nowhere"));
}

TEST_F(InstallationTest, NothingTickedIsAnError) {
  HeadlessWindow& main = Start("");
  for (int i = 0; i < main.ItemCount(Main::Detected); ++i) main.SetItemChecked(Main::Detected, i, false);
  main.Click(Main::Install);
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text, "You have not specified any folders.");
  EXPECT_EQ(toolkit_.messages_[0].caption, "Error!");
  EXPECT_EQ(toolkit_.messages_[0].style, 16u);
  EXPECT_EQ(std::count(toolkit_.events_.begin(), toolkit_.events_.end(), "show TProgressForm"), 0);
}

TEST_F(InstallationTest, FailuresAreReportedAndTheRunGoesOn) {
  HeadlessWindow& main = Start("");
  Write("C:\\PSP5\\Acme\\a.8bf", "old");
  files_.HoldOpen("C:\\PSP5\\Acme\\a.8bf");
  Answer(kIdNo);
  main.Click(Main::Install);
  std::vector<std::string> texts = MessageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "The file a.8bf could not be copied.\nError: Sharing violation.\r\n");
  EXPECT_EQ(toolkit_.messages_[0].caption, "Error!");
  EXPECT_EQ(toolkit_.messages_[0].style, 16u);
  EXPECT_TRUE(Exists("C:\\PSP5\\Acme\\b.8bf"));
  EXPECT_TRUE(Exists("C:\\PS7\\Acme\\a.8bf"));
}

TEST_F(InstallationTest, MissingParentIsReportedOnceAndTheFilesArriveAnyway) {
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\New\\\\PS7\"\n");
  HeadlessWindow& main = Start("[enabled]\r\npaintshoppro=0\r\n");
  Answer(kIdNo);
  main.Click(Main::Install);
  EXPECT_EQ(MessageTexts()[0], "Subdirectory C:\\New\\PS7\\Acme could not be created.");
  EXPECT_TRUE(Exists("C:\\New\\PS7\\Acme\\Filters\\c.8bf"));
}

TEST_F(InstallationTest, HostWhoseFolderVanishedIsSkippedWithAReport) {
  HeadlessWindow& main = Start("[enabled]\r\npaintshoppro=0\r\n");
  registry_.Load("REGEDIT4\n[-HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n");
  Answer(kIdNo);
  main.Click(Main::Install);
  EXPECT_EQ(MessageTexts()[0], "The plug-in folder of PhotoShop 7 by Adobe could not be found.");
  EXPECT_FALSE(files_.FolderExists("C:\\Package\\Acme"));
  EXPECT_FALSE(files_.FolderExists("Acme"));
}

TEST_F(InstallationTest, CancelStopsAtTheNextHostAndOnlyThatRun) {
  HeadlessWindow& main = Start("");
  HeadlessWindow& progress = ProgressWindow();
  // Cancel is pressed while the first host (Image Composer) gets its last file.
  progress.on_pending_messages_ = [](HeadlessWindow& window) {
    if (window.Text(Progress::File).starts_with("Filters\\c.8bf")) window.Click(Progress::Cancel);
  };
  Answer(kIdNo);
  main.Click(Main::Install);
  EXPECT_TRUE(Exists("C:\\MIC\\Filters\\c.8bf"));
  EXPECT_FALSE(Exists("C:\\PSP5\\Acme\\a.8bf"));
  EXPECT_FALSE(Exists("C:\\PS7\\Acme\\a.8bf"));
  EXPECT_EQ(toolkit_.messages_.size(), 1u);  // the exit question still comes

  progress.on_pending_messages_ = nullptr;
  main.Click(Main::Install);
  EXPECT_TRUE(Exists("C:\\PS7\\Acme\\a.8bf"));
}

}  // namespace
}  // namespace setup
