#include "hosts/detection_pass.h"

#include <gtest/gtest.h>

#include "config/text.h"
#include "unit/app_world.h"

namespace setup {
namespace {

using Main = TMainForm;

// Photoshop 7 (main and additional path), Paint Shop Pro 5 (three paths)
// and one PhotoImpact scratch path.
constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\\\\Plug-Ins\"\n"
    "[HKLM\\Software\\Adobe\\Photoshop\\7.0]\n\"PluginPath\"=\"C:\\\\PS7\\\\Plug-Ins\"\n"
    "[HKCU\\Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter]\n"
    "\"Directory1\"=\"C:\\\\PSP5\\\\A\"\n\"Directory2\"=\"C:\\\\PSP5\\\\B\"\n\"Directory3\"=\"\"\n"
    "[HKCU\\Software\\Brisquell\\Temp]\n\"PiP1\"=\"C:\\\\PI\"\n";

struct DetectionWorld : AppWorld {
  HeadlessWindow& RunWith(const std::string& ini) {
    registry_.Load(kMachine);
    return AppWorld::RunWith(ini);
  }
  static int Index(std::string_view description) {
    for (std::size_t i = 0; i < kHostCount; ++i)
      if (HostCatalogue[i].Description == description) return static_cast<int>(i);
    return -1;
  }
};

struct DetectionPassTest : testing::Test, DetectionWorld {};

TEST_F(DetectionPassTest, ListsFoundEntriesInCatalogueOrderTickedByPreselect) {
  RunWith("");
  EXPECT_EQ(Items(), (std::vector<std::string>{
                         "Paint Shop Pro 5 by JASC, 1st path [x]",
                         "Paint Shop Pro 5 by JASC, 2nd path",
                         "PhotoImpact by Ulead, 1st path",
                         "PhotoShop 7 by Adobe [x]",
                         "PhotoShop 7 by Adobe, additional path",
                     }));
  EXPECT_FALSE(Main().IsChecked(Main::DoCustom));
  FoundMarks expected;
  for (const char* description :
       {"Paint Shop Pro 5 by JASC, 1st path", "Paint Shop Pro 5 by JASC, 2nd path", "PhotoImpact by Ulead, 1st path",
        "PhotoShop 7 by Adobe", "PhotoShop 7 by Adobe, additional path"})
    expected.set(Index(description));
  EXPECT_EQ(app_.state().found, expected);
}

TEST_F(DetectionPassTest, ThePassReturnsTheRowsWithoutAnyWindow) {
  registry_.Load(kMachine);
  // Longer than any path the system reaches: no folder, so not listed.
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Adobe\\Photoshop\\6.0\\PluginPath]\n@=\"C:\\\\" +
                 std::string(kMaxPathLength, 'x') + "\"\n");
  WriteSetupIni("[options]\r\nautoselect=0\r\n[enabled]\r\npaintshoppro=0\r\n");
  std::vector<std::string> order;
  const SpecialDetector detectors[] = {[&] { order.push_back("first"); }, [&] { order.push_back("second"); }};
  FoundMarks found;
  std::vector<ListedHost> listed = DetectHosts(platform_, detectors, found);
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(listed,
            (std::vector<ListedHost>{CatalogueRow(platform_, Index("PhotoImpact by Ulead, 1st path"), false),
                                     CatalogueRow(platform_, Index("PhotoShop 7 by Adobe"), false),
                                     CatalogueRow(platform_, Index("PhotoShop 7 by Adobe, additional path"), false)}));
  EXPECT_EQ(listed[1].ids, (std::vector<std::string>{"photoshop", "photoshop7"}));
  EXPECT_EQ(listed[1].files_section, "files");
  EXPECT_EQ(found.count(), 3u);
}

TEST_F(DetectionPassTest, EnabledSectionChoosesTheMostSpecificKey) {
  struct Case {
    const char* enabled;
    std::vector<std::string> listed;
  } cases[] = {
      {"all=0\r\nphotoshop=1", {"PhotoShop 7 by Adobe [x]", "PhotoShop 7 by Adobe, additional path"}},
      {"photoshop=0\r\nPhotoShop7=1",
       {"Paint Shop Pro 5 by JASC, 1st path [x]", "Paint Shop Pro 5 by JASC, 2nd path",
        "PhotoImpact by Ulead, 1st path", "PhotoShop 7 by Adobe [x]", "PhotoShop 7 by Adobe, additional path"}},
      {"photoshop7=0\r\nphotoshop=1\r\npaintshoppro5=\r\npaintshoppro=0\r\nphotoimpactall=no",
       {"PhotoImpact by Ulead, 1st path"}},
      {"all=0\r\nphotoimpact=00\r\npaintshoppro=false",
       {"Paint Shop Pro 5 by JASC, 1st path [x]", "Paint Shop Pro 5 by JASC, 2nd path",
        "PhotoImpact by Ulead, 1st path"}},
      {"ALL=0", {}},
      // A key given twice counts as first given; a name outside ASCII or
      // names that nearly fill their buffer change nothing either.
      {"photoshop=1\r\nPHOTOSHOP=0\r\nall=0", {"PhotoShop 7 by Adobe [x]", "PhotoShop 7 by Adobe, additional path"}},
      {"\xE9t\xE9=0\r\nall=0\r\nPhotoShop=1", {"PhotoShop 7 by Adobe [x]", "PhotoShop 7 by Adobe, additional path"}},
      {"many", {"PhotoShop 7 by Adobe [x]", "PhotoShop 7 by Adobe, additional path"}},
      // A quoted value counts without its quotes; a line without "=" is a
      // key without a value, and the first of its name.
      {"photoshop=\"0\"",
       {"Paint Shop Pro 5 by JASC, 1st path [x]", "Paint Shop Pro 5 by JASC, 2nd path",
        "PhotoImpact by Ulead, 1st path"}},
      {"all=0\r\nphotoshop\r\nphotoshop=1", {}},
  };
  std::string many;
  for (int i = 0; i < 1200; ++i) many += "unknownhost" + std::to_string(i) + "=0\r\n";
  many += "all=0\r\nphotoshop=1";
  for (const Case& c : cases) {
    DetectionWorld world;
    world.RunWith(std::string("[enabled]\r\n") + (c.enabled == std::string("many") ? many : c.enabled) + "\r\n");
    EXPECT_EQ(world.Items(), c.listed) << c.enabled;
  }
}

TEST_F(DetectionPassTest, AutoselectZeroLeavesEveryItemUnticked) {
  for (const char* value : {"0", "no", ""}) {
    DetectionWorld world;
    world.RunWith(std::string("[options]\r\nautoselect=") + value + "\r\n");
    bool any_ticked = false;
    for (const std::string& item : world.Items()) any_ticked |= item.ends_with("[x]");
    EXPECT_EQ(any_ticked, std::string(value) != "0") << value;
  }
}

TEST_F(DetectionPassTest, RescanRebuildsTheListAndKeepsFoundMarks) {
  HeadlessWindow& main = RunWith("");
  main.SetItemChecked(Main::Detected, 0, false);
  main.SetItemChecked(Main::Detected, 1, true);
  registry_.Load("REGEDIT4\n[-HKLM\\Software\\Adobe\\Photoshop\\7.0]\n");
  main.SetVisible(Main::Rescan, true);
  main.Click(Main::Rescan);
  EXPECT_EQ(Items(),
            (std::vector<std::string>{"Paint Shop Pro 5 by JASC, 1st path [x]", "Paint Shop Pro 5 by JASC, 2nd path",
                                      "PhotoImpact by Ulead, 1st path"}));
  EXPECT_TRUE(app_.state().found.test(Index("PhotoShop 7 by Adobe")));
}

TEST_F(DetectionPassTest, EmptyPassTicksTheCustomFolderAndNoPassUnticksIt) {
  HeadlessWindow& main = RunWith("[enabled]\r\nall=0\r\n");
  EXPECT_EQ(main.ItemCount(Main::Detected), 0);
  EXPECT_TRUE(main.IsChecked(Main::DoCustom));
  WriteSetupIni("");
  main.SetVisible(Main::Rescan, true);
  main.Click(Main::Rescan);
  EXPECT_EQ(main.ItemCount(Main::Detected), 5);
  EXPECT_TRUE(main.IsChecked(Main::DoCustom));
}

TEST_F(DetectionPassTest, DisabledEntriesAreNotEvenRead) {
  RunWith("[enabled]\r\nphotoshop=0\r\n");
  EXPECT_FALSE(app_.state().found.test(Index("PhotoShop 7 by Adobe")));
}

TEST_F(DetectionPassTest, HoveringAnItemShowsItsFolderReadAfresh) {
  HeadlessWindow& main = RunWith("");
  main.MovePointer(Main::Detected, 10, 13 * 3 + 2);  // the fourth item: PhotoShop 7
  EXPECT_EQ(main.Text(Main::Status), "C:\\PS7\\Plug-Ins");
  registry_.Load("REGEDIT4\n[HKLM\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"D:\\\\Moved\"\n");
  main.MovePointer(Main::Detected, 10, 13 * 3 + 5);
  EXPECT_EQ(main.Text(Main::Status), "D:\\Moved");
  main.MovePointer(Main::Detected, 10, 13 * 40);
  EXPECT_EQ(main.Text(Main::Status), "Check the applications for which you'd like to install");
}

}  // namespace
}  // namespace setup
