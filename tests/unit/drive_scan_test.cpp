#include "scan/drive_scan.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/scan_progress_form.h"
#include "hosts/registry_access.h"
#include "ui/work_window.h"
#include "unit/app_world.h"

namespace setup {
namespace {

using namespace std::chrono_literals;
using Main = TMainForm;
using Events = std::vector<std::string>;

// A scan while the main window is hidden: it is disabled before the scan
// window shows and enabled only after the scan window has gone.
const Events kScanWhileHidden = {"disable TMainForm", "show TScanProgressForm", "hide TScanProgressForm",
                                 "enable TMainForm"};
// A scan from the shown main window, which then gets the focus back.
const Events kScanWhileShown = {"disable TMainForm", "show TScanProgressForm", "hide TScanProgressForm",
                                "enable TMainForm", "activate TMainForm"};

Events Joined(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Maps a drive letter to a fresh folder of a test world. Drive C: gets a
// folder of its own too, so that no drive lies inside another.
void MapFreshDrive(TestWorld& world, char letter, std::uint32_t type = kDriveFixed) {
  std::filesystem::path folder = world.root_ / ("drive_" + std::string(1, letter));
  std::filesystem::create_directories(folder);
  world.files_.MapDrive(letter, folder, type);
}

// The walk without windows: it logs what it is told and asked, in order,
// and passes Escape on as the stop request.
struct DriveScanTest : testing::Test, TestWorld, ScanObserver {
  DriveScanTest() { MapFreshDrive(*this, 'C'); }
  void Drive(char letter, std::uint32_t type = kDriveFixed) { MapFreshDrive(*this, letter, type); }
  void Folder(const std::string& path) { std::filesystem::create_directories(files_.HostPath(path)); }
  // Runs a whole scan; files met are logged as "file <folder>|<name>".
  bool Scan() {
    DriveScan scan(platform_, *this, [this](const std::string& folder, std::string_view name) {
      log_.push_back("file " + folder + "|" + std::string(name));
      if (on_file_) on_file_(folder, name);
    });
    return scan.ScanDrives();
  }
  void FolderReached(const std::string& folder) override { log_.push_back("reached " + folder); }
  void LetUserAct() override { log_.push_back("act"); }
  bool StopRequested() override { return keyboard_.EscapePressed(); }

  // The files met, in order.
  Events FilesMet() const {
    Events met;
    for (const std::string& entry : log_)
      if (entry.rfind("file ", 0) == 0) met.push_back(entry.substr(5));
    return met;
  }
  Events Logged(std::string_view prefix) const {
    Events picked;
    for (const std::string& entry : log_)
      if (entry.rfind(prefix, 0) == 0) picked.push_back(entry);
    return picked;
  }

  Events log_;
  std::function<void(const std::string&, std::string_view)> on_file_;
};

TEST_F(DriveScanTest, WalksDepthFirstInListingOrderFilesAndFoldersAlike) {
  Drive('D');
  for (const char* file : {"D:\\a.txt", "D:\\B\\b1.txt", "D:\\B\\C\\c.txt", "D:\\B\\d.txt", "D:\\c.txt", "D:\\Z\\z.txt",
                           "D:\\.hidden\\inside.txt", "D:\\B\\.dotfile"})
    Write(file, "");
  Folder("D:\\B\\Empty");
  Scan();
  EXPECT_EQ(FilesMet(), (Events{"D:\\.hidden\\|inside.txt", "D:\\|a.txt", "D:\\B\\|.dotfile", "D:\\B\\|b1.txt",
                                "D:\\B\\C\\|c.txt", "D:\\B\\|d.txt", "D:\\|c.txt", "D:\\Z\\|z.txt"}));
}

TEST_F(DriveScanTest, OnlyFixedDrivesAreWalkedInLetterOrder) {
  const std::pair<char, std::uint32_t> drives[] = {
      {'A', kDriveRemovable}, {'E', kDriveFixed},   {'F', kDriveRemote}, {'G', kDriveCdRom},
      {'H', kDriveRamDisk},   {'I', kDriveUnknown}, {'J', kDriveFixed},  {'Z', kDriveNoRootDir},
  };
  for (const auto& [letter, type] : drives) {
    Drive(letter, type);
    Write(std::string(1, letter) + ":\\" + letter + ".txt", "");
  }
  Write("C:\\c.txt", "");
  Scan();
  EXPECT_EQ(FilesMet(), (Events{"C:\\|c.txt", "E:\\|E.txt", "J:\\|J.txt"}));
}

TEST_F(DriveScanTest, OnlyTheTopThreeLevelsAreReportedAndTheUserActsAtEveryFolder) {
  Drive('D');
  Write("D:\\Apps\\Paint\\Filters\\Deep\\f.txt", "");
  EXPECT_TRUE(Scan());
  EXPECT_EQ(Logged("reached "),
            (Events{"reached C:\\", "reached D:\\", "reached D:\\Apps\\", "reached D:\\Apps\\Paint\\"}));
  EXPECT_EQ(Logged("act").size(), 6u) << "C:, D:, Apps, Paint, Filters, Deep";
  EXPECT_EQ(log_[0], "act") << "the user may act before the first folder is looked at";
}

TEST_F(DriveScanTest, EscapeBeforeTheScanStopsItAtTheFirstVisit) {
  Drive('D');
  Write("D:\\d.txt", "");
  Write("C:\\c.txt", "");
  keyboard_.PressEscapeAtQuestion(1);
  EXPECT_FALSE(Scan());
  EXPECT_TRUE(FilesMet().empty());
  EXPECT_TRUE(Logged("reached").empty()) << "nothing of the first folder is looked at";
  EXPECT_EQ(keyboard_.questions_asked_, 1) << "no further drive is asked about";
}

TEST_F(DriveScanTest, EscapeDuringAFolderStopsAtTheNextVisit) {
  Drive('D');
  for (const char* file : {"C:\\A\\a1.txt", "C:\\A\\a2.txt", "C:\\A\\a3.txt", "C:\\B\\b.txt", "C:\\z.txt", "D:\\d.txt"})
    Write(file, "");
  on_file_ = [this](const std::string&, std::string_view name) {
    if (name == "a1.txt") keyboard_.PressEscapeAtQuestion(1);
  };
  Scan();
  EXPECT_EQ(FilesMet(), (Events{"C:\\A\\|a1.txt", "C:\\A\\|a2.txt", "C:\\A\\|a3.txt"}));
  EXPECT_EQ(keyboard_.questions_asked_, 3) << "C:\\, C:\\A\\ and the stopping visit of C:\\B\\";
}

TEST_F(DriveScanTest, EscapeHeldStopsEveryDrive) {
  Drive('D');
  Write("C:\\c.txt", "");
  Write("D:\\d.txt", "");
  keyboard_.HoldEscape(true);
  Scan();
  EXPECT_TRUE(FilesMet().empty());
  EXPECT_EQ(keyboard_.questions_asked_, 1);
}

TEST_F(DriveScanTest, FolderLinksAreNotFollowed) {
  Drive('D');
  Write("D:\\Loop\\file.txt", "");
  Write("D:\\target.ini", "");
  std::filesystem::create_directory_symlink(files_.HostPath("D:\\"), files_.HostPath("D:\\Loop\\Back"));
  std::filesystem::create_symlink(files_.HostPath("D:\\target.ini"), files_.HostPath("D:\\Loop\\link.ini"));
  Scan();
  // A link to a file is a file like any other.
  EXPECT_EQ(FilesMet(), (Events{"D:\\Loop\\|file.txt", "D:\\Loop\\|link.ini", "D:\\|target.ini"}));
}

TEST_F(DriveScanTest, FoldersThatCannotBeListedArePassedOver) {
  Write("C:\\A\\a.txt", "");
  Write("C:\\Locked\\secret.txt", "");
  Write("C:\\Z\\z.txt", "");
  files_.HoldOpen("C:\\Locked");
  Scan();
  EXPECT_EQ(FilesMet(), (Events{"C:\\A\\|a.txt", "C:\\Z\\|z.txt"}));
}

TEST_F(DriveScanTest, TheScanWindowLetsTheWindowsHandleTheirMessagesAtItsInterval) {
  HeadlessToolkit toolkit;
  std::unique_ptr<Window> main = toolkit.CreateForm(TMainForm::kSpec, nullptr);
  auto& main_window = static_cast<HeadlessWindow&>(*main);
  auto rounds = [&](std::chrono::nanoseconds interval, int folders) {
    TScanProgressForm form(toolkit, *main, keyboard_, interval);
    auto& window = static_cast<HeadlessWindow&>(form.window());
    main_window.pending_message_rounds_ = 0;
    form.Prepare();
    for (int i = 0; i < folders; ++i) form.LetUserAct();
    EXPECT_EQ(main_window.pending_message_rounds_, window.pending_message_rounds_) << "both windows each time";
    return window.pending_message_rounds_;
  };
  EXPECT_EQ(rounds(1h, 21), 1) << "only the first folder, within the hour";
  EXPECT_EQ(rounds(0ns, 21), 21);
}

TEST_F(DriveScanTest, AnErrorEndsTheScanAndTheWindowsAreRestored) {
  Write("C:\\a.txt", "");
  Write("C:\\b.txt", "");
  on_file_ = [](const std::string&, std::string_view) { throw std::runtime_error("broken"); };
  EXPECT_THROW(Scan(), std::runtime_error);
  EXPECT_EQ(FilesMet(), (Events{"C:\\|a.txt"}));

  // However the work ends, the work window goes and the main window comes back.
  HeadlessToolkit toolkit;
  std::unique_ptr<Window> work = toolkit.CreateForm(TScanProgressForm::kSpec, nullptr);
  std::unique_ptr<Window> main = toolkit.CreateForm(TMainForm::kSpec, nullptr);
  log_.clear();
  EXPECT_THROW(
      {
        WorkWindowScope scope(*work, *main);
        Scan();
      },
      std::runtime_error);
  EXPECT_EQ(toolkit.events_, kScanWhileHidden);
}

// The scan as the program runs it: at start-up and through Rescan, each time
// followed by the detection pass.
struct ScanRunTest : testing::Test, AppWorld {
  ScanRunTest() {
    MapFreshDrive(*this, 'C');
    std::filesystem::create_directories(files_.HostPath("C:\\Package"));
    MapFreshDrive(*this, 'D');
  }
  std::vector<std::string> Items() {
    std::vector<std::string> items;
    for (int i = 0; i < Main().ItemCount(Main::Detected); ++i) items.push_back(Main().ItemText(Main::Detected, i));
    return items;
  }
  std::string Scratch(std::string_view name) {
    return ReadRegistryText(registry_, RootKey::kCurrentUser, kScratchKeyPath, name);
  }
  HeadlessWindow& ScanWindow() { return *toolkit_.Find("TScanProgressForm"); }
  void ClickRescan() {
    Main().SetVisible(Main::Rescan, true);
    Main().Click(Main::Rescan);
  }
};

TEST_F(ScanRunTest, AutoscanRunsBeforeTheMainWindowShowsAndTheHostsAreListed) {
  Write("D:\\Adobe\\PS4\\PHOTOS40.INI", "[Photoshop]\r\nPlugInDirectory=D:\\Adobe\\PS4\\Plugins\r\n");
  WriteSetupIni("[options]\r\nautoscan=1\r\n");
  app_.Run();
  EXPECT_EQ(toolkit_.events_, Joined({kScanWhileHidden, {"show TMainForm"}}));
  EXPECT_EQ(Items(), (Events{"PhotoShop 4 by Adobe"}));
  EXPECT_EQ(ScanWindow().Text(TScanProgressForm::Drive), "D:\\Adobe\\PS4\\");
  EXPECT_TRUE(toolkit_.messages_.empty());
}

TEST_F(ScanRunTest, AutoscanOnlyForTheTextOne) {
  Write("D:\\pd.ini", "[PhotoDeluxe 1.0]\r\nPLUGINDIRECTORY=D:\\PD\r\n");
  WriteSetupIni("[options]\r\nautoscan=yes\r\n");
  app_.Run();
  EXPECT_EQ(toolkit_.events_, (Events{"show TMainForm"}));
  EXPECT_TRUE(Items().empty());
}

TEST_F(ScanRunTest, RescanScansThenDetectsEveryTime) {
  app_.Run();
  EXPECT_TRUE(Items().empty());
  Write("D:\\Prem\\premiere.exe", "");
  std::filesystem::create_directories(files_.HostPath("D:\\Prem") / "plugins");
  ClickRescan();
  EXPECT_EQ(Items(), (Events{"Premiere 4.2 by Adobe"}));
  EXPECT_EQ(Scratch("Pm42"), "D:\\Prem\\plugins\\");

  Write("D:\\XRes\\xres.ini", "[Main]\r\nPluginDirectory=D:\\XRes\\Plug\r\n");
  ClickRescan();
  EXPECT_EQ(Items(), (Events{"Premiere 4.2 by Adobe", "xRes 2 by MacroMedia"}));
  EXPECT_EQ(toolkit_.events_, Joined({{"show TMainForm"}, kScanWhileShown, kScanWhileShown}));
}

TEST_F(ScanRunTest, NoClickOnTheMainWindowGetsThroughDuringTheScan) {
  app_.Run();
  Write("C:\\a.txt", "");
  int clicks_tried = 0;
  Main().on_pending_messages_ = [&](HeadlessWindow& main) {
    ++clicks_tried;
    main.Click(Main::Rescan);
    main.Click(Main::Install);
  };
  ClickRescan();
  EXPECT_GT(clicks_tried, 0);
  EXPECT_EQ(toolkit_.events_, Joined({{"show TMainForm"}, kScanWhileShown}))
      << "no second scan and no installation began";
  EXPECT_TRUE(toolkit_.messages_.empty());
  EXPECT_TRUE(Main().window_enabled_);
}

TEST_F(ScanRunTest, WithoutFixedDrivesTheWindowShowsItsDesignTextAndHides) {
  app_.Run();
  MapFreshDrive(*this, 'C', kDriveRemote);
  MapFreshDrive(*this, 'D', kDriveCdRom);
  ClickRescan();
  EXPECT_EQ(toolkit_.events_, Joined({{"show TMainForm"}, kScanWhileShown}));
  EXPECT_EQ(ScanWindow().Text(TScanProgressForm::Drive), "Drive: C");
  EXPECT_TRUE(ScanWindow().centred_);
}

TEST_F(ScanRunTest, LastHitInWalkOrderWins) {
  MapFreshDrive(*this, 'E');
  Write("E:\\PS\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=E:\\Two\r\n");
  Write("D:\\PS\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=D:\\Two\r\n");
  Write("D:\\PS\\Z\\photoshp.ini", "[Photoshop]\r\nPlugInDirectory=D:\\Deeper\r\n");
  app_.Run();
  ClickRescan();
  EXPECT_EQ(Scratch("PS2"), "E:\\Two");
}

TEST_F(ScanRunTest, ImageExplorerProMarkOutlivesTheScan) {
  Write("D:\\IEP\\iep.ini", "[Settings]\r\nPlugin Path=D:\\IEP\\Filters\r\n");
  app_.Run();
  ClickRescan();
  EXPECT_TRUE(app_.state().image_explorer_pro_mark);
  std::filesystem::remove(files_.HostPath("D:\\IEP\\iep.ini"));
  Write("D:\\IEP\\Image Explorer Pro.exe", "");
  ClickRescan();
  EXPECT_EQ(Scratch("IEP4"), "D:\\IEP\\Filters");
  EXPECT_EQ(Items(), (Events{"Image Explorer Pro 4 by CDH Productions"}));
}

TEST_F(ScanRunTest, AHeldHostFileCostsNeitherTheWalkNorTheDetection) {
  Write("D:\\A\\aiprefs", "/plugins {\n\t/name (D:\\\\AI)\n");
  Write("D:\\B\\photos30.ini", "[Photoshop]\r\nPlugInDirectory=D:\\PS3\r\n");
  files_.HoldOpen("D:\\A\\aiprefs");
  WriteSetupIni("[options]\r\nautoscan=1\r\n");
  app_.Run();
  EXPECT_TRUE(toolkit_.messages_.empty());
  EXPECT_EQ(Items(), (Events{"PhotoShop 3 by Adobe"}));
}

}  // namespace
}  // namespace setup
