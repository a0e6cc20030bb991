#include <gtest/gtest.h>

#include "unit/app_world.h"

namespace setup {
namespace {

using Main = TMainForm;

struct PresentationTest : testing::Test, AppWorld {};

TEST_F(PresentationTest, EmptyConfigurationKeepsTheDesign) {
  registry_.Load(
      "REGEDIT4\n[HKLM\\Software\\Microsoft\\Windows\\CurrentVersion]\n\"ProgramFilesPath\"=\"C:\\\\Program Files\"\n");
  HeadlessWindow& main = RunWith("");
  EXPECT_EQ(main.Caption(), "");
  EXPECT_EQ(main.OuterWidth(), 492);
  EXPECT_EQ(main.Text(Main::Title), "");
  EXPECT_EQ(main.Text(Main::Text), "Select applications to install  in...");
  EXPECT_FALSE(main.IsVisible(Main::Rescan));
  EXPECT_TRUE(main.State(Main::Browse).flat);
  EXPECT_EQ(main.State(Main::Image).picture, "");
  EXPECT_FALSE(main.State(Main::ImagePanel).tooltip);
  EXPECT_EQ(main.Text(Main::Custom), "C:\\Program Files");
  EXPECT_EQ(app_.state().InstallSubfolder, "");
}

TEST_F(PresentationTest, EveryKeyApplies) {
  Write("C:\\Package\\Logo.BMP", "BM");
  HeadlessWindow& main = RunWith(
      "[presentation]\r\nwidth=800\r\nheight=600\r\ncaption=Acme Filters Setup\r\nbitmap=logo.bmp\r\n"
      "bitmaplink=https://acme.example/\r\ntitle=Acme & Co Filters\r\nversion=Version 2.1\r\n"
      "scan.visible=1\r\nscan.flat=0\r\nscan.caption=Scan\r\nbrowse.flat=0\r\nbrowse.caption=Pick\r\n"
      "[options]\r\nsubdir=Acme\r\ncustom=D:\\Plugins\r\n");
  EXPECT_EQ(main.OuterWidth(), 800);
  EXPECT_EQ(main.OuterHeight(), 600);
  EXPECT_EQ(main.Caption(), "Acme Filters Setup");
  EXPECT_EQ(main.State(Main::Image).picture, "C:\\Package\\logo.bmp");
  EXPECT_EQ(main.Hint(Main::ImagePanel), "https://acme.example/");
  EXPECT_TRUE(main.State(Main::ImagePanel).tooltip);
  EXPECT_EQ(main.Text(Main::Title), "Acme & Co Filters");
  EXPECT_EQ(main.Text(Main::Version), "Version 2.1");
  EXPECT_EQ(main.Text(Main::Text), "Select applications to install Acme & Co Filters in...");
  EXPECT_TRUE(main.IsVisible(Main::Rescan));
  EXPECT_FALSE(main.State(Main::Rescan).flat);
  EXPECT_EQ(main.Text(Main::Rescan), "Scan");
  EXPECT_FALSE(main.State(Main::Browse).flat);
  EXPECT_EQ(main.Text(Main::Browse), "Pick");
  EXPECT_EQ(app_.state().InstallSubfolder, "Acme");
  EXPECT_EQ(main.Text(Main::Custom), "D:\\Plugins");
}

TEST_F(PresentationTest, ASubFolderThatLeavesTheTargetIsNone) {
  for (const char* subdir : {"..\\..\\evil", "C:\\evil", "\\evil", "Acme\\..\\.."}) {
    AppWorld world;
    world.WriteSetupIni(std::string("[options]\r\nsubdir=") + subdir + "\r\n");
    world.app_.Run();
    EXPECT_EQ(world.app_.state().InstallSubfolder, "") << subdir;
  }
}

TEST_F(PresentationTest, SizesApplyOnlyAboveTheMinimum) {
  struct Case {
    const char* width;
    const char* height;
    int outer_width;
    int outer_height;
  } cases[] = {
      {"400", "333", 492, 299},
      {"401", "334", 401, 334},
      {"300", "abc", 492, 299},
      {"", "", 492, 299},
  };
  for (const Case& c : cases) {
    AppWorld world;
    world.WriteSetupIni(std::string("[presentation]\r\nwidth=") + c.width + "\r\nheight=" + c.height + "\r\n");
    world.app_.Run();
    EXPECT_EQ(world.Main().OuterWidth(), c.outer_width) << c.width;
    EXPECT_EQ(world.Main().OuterHeight(), c.outer_height) << c.height;
  }
}

TEST_F(PresentationTest, RescanShowsOnlyForOneAndIsFlatUnlessZero) {
  struct Case {
    const char* ini;
    bool visible;
    bool flat;
  } cases[] = {
      {"scan.visible=true", false, false},
      {"scan.visible=1", true, true},
      {"scan.visible=1\r\nscan.flat=x", true, true},
      {"scan.visible=1\r\nscan.flat=0", true, false},
      {"scan.visible=1\r\nscan.flat=-1", true, true},
  };
  for (const Case& c : cases) {
    AppWorld world;
    world.WriteSetupIni(std::string("[presentation]\r\n") + c.ini + "\r\n");
    world.app_.Run();
    EXPECT_EQ(world.Main().IsVisible(Main::Rescan), c.visible) << c.ini;
    EXPECT_EQ(world.Main().State(Main::Rescan).flat, c.flat) << c.ini;
  }
}

TEST_F(PresentationTest, MissingPictureIsNoError) {
  HeadlessWindow& main = RunWith("[presentation]\r\nbitmap=missing.bmp\r\n");
  EXPECT_EQ(main.State(Main::Image).picture, "");
  EXPECT_TRUE(toolkit_.messages_.empty());
}

TEST_F(PresentationTest, HintsFollowThePointerIntoTheStatusBar) {
  HeadlessWindow& main = RunWith("[presentation]\r\nbitmaplink=Readme|readme.txt\r\n");
  main.MovePointer(Main::Install, 1, 1);
  EXPECT_EQ(main.Text(Main::Status), "Start installing");
  main.MovePointer(Main::Image, 5, 5);  // the picture has no hint of its own: its panel's counts
  EXPECT_EQ(main.Text(Main::Status), "readme.txt");
  main.MovePointer(Main::Title, 5, 5);
  EXPECT_EQ(main.Text(Main::Status), "");
}

TEST_F(PresentationTest, LinksOpenThroughTheShell) {
  HeadlessWindow& main = RunWith("[presentation]\r\nbitmaplink=https://acme.example/\r\n");
  main.Click(Main::Image);
  WriteSetupIni("[presentation]\r\nbitmaplink=\r\n");
  main.Click(Main::Image);  // read again on every click: now empty, nothing opens
  main.Click(Main::Copyright);
  EXPECT_EQ(toolkit_.opened_, (std::vector<std::string>{"https://acme.example/", "https://www.brisquell.example/"}));
}

TEST_F(PresentationTest, BrowseFillsTheCustomFolderAndTicksIt) {
  HeadlessWindow& main = RunWith("[options]\r\ncustom=D:\\Old\r\n");
  main.Click(Main::DoCustom);  // the user unticks what the empty detection pass ticked
  ASSERT_FALSE(main.IsChecked(Main::DoCustom));
  main.Click(Main::Browse);  // cancelled
  EXPECT_EQ(main.Text(Main::Custom), "D:\\Old");
  EXPECT_FALSE(main.IsChecked(Main::DoCustom));
  toolkit_.browse_answer_ = "E:\\Chosen";
  main.Click(Main::Browse);
  EXPECT_EQ(main.Text(Main::Custom), "E:\\Chosen");
  EXPECT_TRUE(main.IsChecked(Main::DoCustom));
  EXPECT_EQ(toolkit_.browse_instructions_, (std::vector<std::string>{"Select custom folder", "Select custom folder"}));
}

}  // namespace
}  // namespace setup
