#include "config/setup_keys.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "app/agreement_form.h"
#include "app/setup_application.h"
#include "hosts/host_catalogue.h"
#include "platform/ansi_text.h"
#include "ui/headless/headless_toolkit.h"
#include "unit/test_world.h"

namespace setup {
namespace {

// Passes every read on and notes which setup.ini sections and keys were asked for.
class RecordingProfile : public ProfileReader {
 public:
  explicit RecordingProfile(ProfileReader& reader) : reader_(reader) {}
  std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t buffer_size) override {
    if (file.ends_with("setup.ini")) reads_.insert({LowerCased(section), LowerCased(key)});
    return reader_.ReadString(file, section, key, buffer_size);
  }
  std::vector<std::string> ReadKeyNames(const std::string& file, std::string_view section,
                                        std::size_t buffer_size) override {
    if (file.ends_with("setup.ini")) reads_.insert({LowerCased(section), "*"});
    return reader_.ReadKeyNames(file, section, buffer_size);
  }
  std::vector<std::string> ReadSection(const std::string& file, std::string_view section,
                                       std::size_t buffer_size) override {
    if (file.ends_with("setup.ini")) reads_.insert({LowerCased(section), "*"});
    return reader_.ReadSection(file, section, buffer_size);
  }
  std::set<std::pair<std::string, std::string>> reads_;

 private:
  ProfileReader& reader_;
};

// The program is run through every step that reads setup.ini (start,
// agreement, scan, detection, picture click, install, close); what it
// reads must be what the checker and the reference know, and the other way round.
TEST(SetupKeysTest, TheTableHoldsExactlyWhatTheProgramReads) {
  TestWorld world;
  RecordingProfile profile(world.profile_);
  Platform platform{world.registry_, profile, world.files_, world.keyboard_, world.clock_, world.environment_};
  world.registry_.Load(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:\\\\PS7\"\n");
  world.Write("C:\\Package\\license.txt", "Terms");
  world.Write("C:\\Package\\a.8bf", "A");
  world.WriteSetupIni(
      "[messages]\r\nstart=Hi\r\nagreement=license.txt\r\nagree=1\r\nclose=Bye\r\n"
      "[options]\r\nautoscan=1\r\nsubdir=Acme\r\n"
      "[presentation]\r\nscan.visible=1\r\nbitmaplink=https://example.com/\r\n"
      "[files]\r\n1=a.8bf\r\n"
      "[hosts]\r\npsnew=Photoshop (64-bit)\r\n[host.psnew]\r\nregistry=HKLM\\SOFTWARE\\Adobe|Path\r\n");
  HeadlessToolkit toolkit;
  toolkit.modal_script_ = [](HeadlessWindow& dialog) { dialog.Click(TAgreementForm::Next); };
  toolkit.answer_message_ = [](const HeadlessToolkit::ShownMessage& message) {
    return message.caption == "Cancel?" ? kIdYes : message.style & kMbYesNo ? kIdNo : kIdOk;
  };
  SetupApplication app(toolkit, platform);
  app.Run();
  HeadlessWindow& main = *toolkit.Find("TMainForm");
  main.Click(TMainForm::Image);
  main.Click(TMainForm::Install);
  main.Close();
  ASSERT_EQ(toolkit.messages_.back().text, "Bye");

  std::set<std::pair<std::string, std::string>> expected;
  for (const SetupKey& row : kSetupKeys) expected.insert({std::string(row.section), std::string(row.key)});
  expected.erase({"presentation", "publisher"});  // read by the silent install alone
  std::set<std::pair<std::string, std::string>> read;
  std::set<std::string> package_host_keys;
  for (const auto& [section, key] : profile.reads_) {
    if (section == kEnabledSection) {
      bool id = key == kEnabledAllKey || key == "*";  // "*": its key names, or the whole section
      for (const HostEntry& entry : HostCatalogue) id = id || key == entry.HostId || key == entry.VersionId;
      id = id || key == "psnew";
      EXPECT_TRUE(id) << "[enabled] " << key;
    } else if (section == kFilesSection) {
      EXPECT_TRUE(key == "*" || key == "1") << "[files] " << key;
    } else if (section == kHostsSection) {
      EXPECT_TRUE(key == "*" || key == "psnew") << "[hosts] " << key;
    } else if (section == "host.psnew") {
      package_host_keys.insert(key);
    } else {
      read.insert({section, key});
    }
  }
  EXPECT_EQ(read, expected);
  std::set<std::string> expected_host_keys;
  for (const SetupKey& row : kPackageHostKeys) expected_host_keys.insert(std::string(row.key));
  EXPECT_EQ(package_host_keys, expected_host_keys);
  EXPECT_TRUE(profile.reads_.count({"enabled", "all"}));
  EXPECT_TRUE(profile.reads_.count({"enabled", "psnew"}));
  EXPECT_TRUE(profile.reads_.count({"files", "*"}));
}

// The reference for plug-in makers names every section, key and id the program reads.
TEST(SetupKeysTest, TheReferenceNamesEverything) {
  std::ifstream file(SETUP_INI_REFERENCE);
  std::stringstream text;
  text << file.rdbuf();
  std::string reference = text.str();
  ASSERT_FALSE(reference.empty()) << SETUP_INI_REFERENCE;
  for (std::string_view section : kSetupSections)
    EXPECT_NE(reference.find("## [" + std::string(section) + "]"), std::string::npos) << section;
  EXPECT_NE(reference.find("[host.<id>]"), std::string::npos);
  for (const auto& table : {std::span<const SetupKey>(kSetupKeys), std::span<const SetupKey>(kPackageHostKeys)}) {
    for (const SetupKey& row : table)
      EXPECT_NE(reference.find("| `" + std::string(row.key) + "` |"), std::string::npos) << row.key;
  }
  for (const HostEntry& entry : HostCatalogue) {
    EXPECT_NE(reference.find("`" + std::string(entry.HostId) + "`"), std::string::npos) << entry.HostId;
    EXPECT_NE(reference.find("`" + std::string(entry.VersionId) + "`"), std::string::npos) << entry.VersionId;
  }
}

}  // namespace
}  // namespace setup
