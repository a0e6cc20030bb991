#include <gtest/gtest.h>

#include "hosts/registry_access.h"
#include "unit/app_world.h"

namespace setup {
namespace {

using namespace std::string_literals;
using Main = TMainForm;
using Agreement = TAgreementForm;

struct RunFlowTest : testing::Test, AppWorld {
  void StoreScratchFolder() { StoreFoundFolder(registry_, "PSP7", "C:\\PSP\\"); }
  bool ScratchKeyExists() { return registry_.KeyExists(RootKey::kCurrentUser, std::string(kScratchKeyPath)); }
  void AnswerModal(std::function<void(HeadlessWindow&)> script) { toolkit_.modal_script_ = std::move(script); }
};

TEST_F(RunFlowTest, NoSetupIniShowsTheMainWindowWithoutMessages) {
  app_.Run();
  EXPECT_TRUE(toolkit_.messages_.empty());
  EXPECT_TRUE(Main().IsVisible());
  EXPECT_TRUE(Main().centred_);
  EXPECT_EQ(toolkit_.title_, "Plug-in Setup");
  EXPECT_EQ(Main().Text(Main::Copyright), "\xA9 2026 Brisquell");
  EXPECT_FALSE(toolkit_.end_requested_);
  // the four windows, in this order
  ASSERT_EQ(toolkit_.windows_.size(), 4u);
  EXPECT_EQ(toolkit_.windows_[1]->Spec().class_name, "TAgreementForm");
  EXPECT_EQ(toolkit_.windows_[2]->Spec().class_name, "TScanProgressForm");
  EXPECT_EQ(toolkit_.windows_[3]->Spec().class_name, "TProgressForm");
}

TEST_F(RunFlowTest, StartMessageComesBeforeAnyWindowShows) {
  WriteSetupIni("[messages]\r\nstart=Welcome to the filters\r\n");
  app_.Run();
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  const auto& message = toolkit_.messages_[0];
  EXPECT_EQ(message.text, "Welcome to the filters");
  EXPECT_EQ(message.caption, "Plug-in Setup");
  EXPECT_EQ(message.style, 64u);
  EXPECT_FALSE(message.owned);
  EXPECT_EQ(toolkit_.events_.front(), "message: Welcome to the filters");
}

TEST_F(RunFlowTest, AcceptedAgreementGoesOnToDetection) {
  WriteSetupIni("[messages]\r\nagreement=license.txt\r\nagree=1\r\n");
  Write("C:\\Package\\license.txt", "First line\r\nSecond\rThird\nFourth\r\n\r\nAfter blank\0hidden"s);
  bool seen_next_enabled = false;
  AnswerModal([&](HeadlessWindow& dialog) {
    seen_next_enabled = dialog.IsEnabled(Agreement::Next) && dialog.IsChecked(Agreement::AgreeYes);
    dialog.Click(Agreement::Next);
  });
  app_.Run();
  EXPECT_TRUE(seen_next_enabled);
  EXPECT_EQ(Agreement().Lines(Agreement::Memo),
            (std::vector<std::string>{"First line", "Second", "Third", "Fourth", "", "After blank"}));
  EXPECT_FALSE(toolkit_.end_requested_);
  EXPECT_TRUE(Main().IsVisible());
}

TEST_F(RunFlowTest, NextStaysDisabledUntilAcceptIsSelected) {
  WriteSetupIni("[messages]\r\nagreement=license.txt\r\nagree=yes\r\n");
  Write("C:\\Package\\license.txt", "");
  std::vector<bool> next_enabled;
  AnswerModal([&](HeadlessWindow& dialog) {
    next_enabled.push_back(dialog.IsEnabled(Agreement::Next));
    EXPECT_TRUE(dialog.IsChecked(Agreement::AgreeNo));
    dialog.Click(Agreement::Next);  // disabled: nothing happens
    dialog.Click(Agreement::AgreeYes);
    next_enabled.push_back(dialog.IsEnabled(Agreement::Next));
    EXPECT_FALSE(dialog.IsChecked(Agreement::AgreeNo));
    dialog.Click(Agreement::AgreeNo);
    next_enabled.push_back(dialog.IsEnabled(Agreement::Next));
    dialog.Click(Agreement::AgreeYes);
    dialog.Click(Agreement::Next);
  });
  app_.Run();
  EXPECT_EQ(next_enabled, (std::vector<bool>{false, true, false}));
  EXPECT_TRUE(Agreement().Lines(Agreement::Memo).empty());
  EXPECT_FALSE(toolkit_.end_requested_);
}

TEST_F(RunFlowTest, RefusedAgreementEndsWithoutCloseQuestionOrMessage) {
  WriteSetupIni("[messages]\r\nagreement=license.txt\r\nclose=Bye\r\n");
  Write("C:\\Package\\license.txt", "terms");
  StoreScratchFolder();
  AnswerModal([](HeadlessWindow& dialog) { dialog.Click(Agreement::Cancel); });
  app_.Run();
  EXPECT_TRUE(toolkit_.end_requested_);
  EXPECT_TRUE(toolkit_.messages_.empty());
  EXPECT_TRUE(ScratchKeyExists());
  // the show step still sets the copyright line
  EXPECT_EQ(Main().Text(Main::Copyright), "\xA9 2026 Brisquell");
}

TEST_F(RunFlowTest, ClosingTheAgreementAnotherWayRefusesIt) {
  WriteSetupIni("[messages]\r\nagreement=license.txt\r\nagree=1\r\n");
  Write("C:\\Package\\license.txt", "terms");
  AnswerModal([](HeadlessWindow&) {});
  app_.Run();
  EXPECT_TRUE(toolkit_.end_requested_);
}

TEST_F(RunFlowTest, MissingAgreementFileIsReportedAndTheWindowShows) {
  WriteSetupIni("[messages]\r\nagreement=missing.txt\r\n");
  app_.Run();
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text, "Cannot open file \"C:\\Package\\missing.txt\". File not found.");
  EXPECT_EQ(toolkit_.messages_[0].caption, "Plug-in Setup");
  EXPECT_EQ(toolkit_.messages_[0].style, 16u);
  EXPECT_EQ(std::count(toolkit_.events_.begin(), toolkit_.events_.end(), "modal TAgreementForm"), 0);
  EXPECT_TRUE(Main().IsVisible());
  EXPECT_FALSE(toolkit_.end_requested_);
  EXPECT_EQ(Main().Text(Main::Copyright), "Brisquell");  // the rest of the show step was skipped
}

TEST_F(RunFlowTest, AnAgreementTooLargeForATextIsReportedLikeAMissingOne) {
  Write("C:\\Package\\huge.txt", "");
  std::filesystem::resize_file(files_.HostPath("C:\\Package\\huge.txt"), kAgreementFileLimit + 1);
  WriteSetupIni("[messages]\r\nagreement=huge.txt\r\n");
  app_.Run();
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].text,
            "Cannot open file \"C:\\Package\\huge.txt\". It is larger than 1024 KB, too large for an agreement.");
  EXPECT_EQ(std::count(toolkit_.events_.begin(), toolkit_.events_.end(), "modal TAgreementForm"), 0);
  EXPECT_TRUE(Main().IsVisible());
}

TEST_F(RunFlowTest, CloseAnsweredNoKeepsTheWindowAndTheScratchKey) {
  WriteSetupIni("[messages]\r\nclose=Goodbye\r\n");
  app_.Run();
  StoreScratchFolder();
  Main().Click(Main::Cancel);
  Main().Close();
  ASSERT_EQ(toolkit_.messages_.size(), 2u);
  for (const auto& message : toolkit_.messages_) {
    EXPECT_EQ(message.text, "Are you sure you want to cancel installation?");
    EXPECT_EQ(message.caption, "Cancel?");
    EXPECT_EQ(message.style, 52u);
  }
  EXPECT_TRUE(Main().IsVisible());
  EXPECT_TRUE(ScratchKeyExists());
}

TEST_F(RunFlowTest, CloseAnsweredYesDeletesTheScratchKeyBeforeTheCloseMessage) {
  WriteSetupIni("[messages]\r\nclose=Goodbye\r\n");
  app_.Run();
  StoreScratchFolder();
  bool key_gone_at_close_message = false;
  toolkit_.answer_message_ = [&](const HeadlessToolkit::ShownMessage& message) {
    if (message.text == "Goodbye") key_gone_at_close_message = !ScratchKeyExists();
    return message.style & kMbYesNo ? kIdYes : kIdOk;
  };
  Main().Click(Main::Cancel);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Are you sure you want to cancel installation?", "Goodbye"}));
  EXPECT_EQ(toolkit_.messages_[1].caption, "Plug-in Setup");
  EXPECT_EQ(toolkit_.messages_[1].style, 64u);
  EXPECT_TRUE(key_gone_at_close_message);
  EXPECT_FALSE(Main().IsVisible());
  EXPECT_TRUE(registry_.KeyExists(RootKey::kCurrentUser, "Software\\Brisquell"));
}

TEST_F(RunFlowTest, PictureThatCannotBeLoadedEndsTheProgramAtStartUp) {
  WriteSetupIni("[presentation]\r\nbitmap=logo.gif\r\n");
  Write("C:\\Package\\logo.gif", "GIF89a");
  app_.Run();
  ASSERT_EQ(toolkit_.messages_.size(), 1u);
  EXPECT_EQ(toolkit_.messages_[0].caption, "Plug-in Setup");
  EXPECT_EQ(toolkit_.messages_[0].style, 16u);
  EXPECT_FALSE(toolkit_.running_);
  EXPECT_EQ(app_.main_form(), nullptr);
}

}  // namespace
}  // namespace setup
