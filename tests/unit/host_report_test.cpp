#include "check/host_report.h"

#include <gtest/gtest.h>

#include "check/check_output.h"
#include "hosts/registry_access.h"
#include "unit/test_world.h"

namespace setup {
namespace {

// A direct host, a host a special detector finds, and a folder an earlier
// run left under the scratch key; the package names two hosts of its own.
constexpr char kMachine[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\\\\Plug-Ins\"\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter IX.exe]\n"
    "\"Path\"=\"C:\\\\Painter\\\\\"\n"
    "[HKEY_CURRENT_USER\\Software\\Brisquell\\Temp]\n\"AFX41\"=\"C:\\\\AfterFX\"\n";

struct HostReportTest : testing::Test {
  std::string Scratch(std::string_view name) {
    return ReadRegistryText(world_.registry_, RootKey::kCurrentUser, kScratchKeyPath, name);
  }
  TestWorld world_;
};

TEST_F(HostReportTest, ListsWhatTheInstallerWouldWithoutWritingTheRegistry) {
  world_.registry_.Load(kMachine);
  world_.WriteSetupIni(
      "[options]\r\nsubdir=Acme\r\n[enabled]\r\nphotoshop7=1\r\n"
      "[hosts]\r\ncc=Shared plug-ins\r\ngone=Not installed\r\n[host.cc]\r\nfolder=C:\\CC\r\nappend=Plug-Ins\r\n"
      "[host.gone]\r\nfolder=C:\\Gone\r\n");
  world_.Write("C:\\CC\\readme.txt", "");
  std::vector<HostRow> rows = ListHostsReadOnly(world_.platform_);
  EXPECT_EQ(
      rows,
      (std::vector<HostRow>{
          {"After FX 4.1 by Adobe", true, "C:\\AfterFX\\Acme\\", HostSource::kScratchValue,
           "HKEY_CURRENT_USER\\Software\\Brisquell\\Temp, value AFX41"},
          {"Painter IX by Corel", true, "C:\\Painter\\Plugins\\Acme\\", HostSource::kSpecialDetector, "Painter"},
          {"PhotoShop 7 by Adobe", true, "C:\\PS7\\Plug-Ins\\Acme\\", HostSource::kCatalogueEntry,
           "HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath, value (default)"},
          {"Shared plug-ins", true, "C:\\CC\\Plug-Ins\\Acme\\", HostSource::kPackageHost, "[host.cc], folder C:\\CC"},
      }))
      << HostsText(rows);
  // The detector's store stayed in memory; what was there is untouched.
  EXPECT_EQ(Scratch("Pt9"), "");
  EXPECT_EQ(Scratch("AFX41"), "C:\\AfterFX");
  EXPECT_EQ(world_.registry_.OpenKeyCount(), 0u);
}

TEST_F(HostReportTest, NoScratchKeyIsMadeAndTicksFollowTheSettings) {
  world_.registry_.Load(
      "REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter IX.exe]\n"
      "\"Path\"=\"C:\\\\Painter\\\\\"\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0]\n\"PluginPath\"=\"relative\"\n");
  world_.WriteSetupIni("[options]\r\nautoselect=0\r\n");
  std::vector<HostRow> rows = ListHostsReadOnly(world_.platform_);
  ASSERT_EQ(rows.size(), 2u) << HostsText(rows);
  EXPECT_FALSE(rows[0].ticked);
  EXPECT_EQ(rows[0].install_folder, "C:\\Painter\\Plugins\\\\");
  // Listed as the installer lists it, though no file could go there.
  EXPECT_EQ(rows[1].description, "PhotoShop 7 by Adobe, additional path");
  EXPECT_EQ(rows[1].install_folder, "");
  EXPECT_FALSE(world_.registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell"));
}

TEST_F(HostReportTest, HostsAsJson) {
  std::vector<HostRow> rows = {{"A \"1\"", true, "C:\\A\\", HostSource::kDriveScan, "d"},
                               {"B", false, "", HostSource::kCatalogueEntry, "e"}};
  EXPECT_EQ(HostsJson(rows),
            "{\n  \"hosts\": [\n"
            "    {\"description\": \"A \\\"1\\\"\", \"ticked\": true, \"install_folder\": \"C:\\\\A\\\\\", "
            "\"source\": \"drive scan\", \"detail\": \"d\"},\n"
            "    {\"description\": \"B\", \"ticked\": false, \"install_folder\": \"\", "
            "\"source\": \"catalogue entry\", \"detail\": \"e\"}\n"
            "  ],\n  \"not_listed\": []\n}\n");
  EXPECT_EQ(
      HostsJson({}, {{"C", "C:\\C?"}}),
      "{\n  \"hosts\": [],\n  \"not_listed\": [\n"
      "    {\"description\": \"C\", \"folder\": \"C:\\\\C?\", \"reason\": \"its folder holds a character that this "
      "system's code page cannot hold\"}\n  ]\n}\n");
}

}  // namespace
}  // namespace setup
