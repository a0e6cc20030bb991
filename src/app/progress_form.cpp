#include "app/progress_form.h"

#include "config/strings.h"
#include "config/text.h"

namespace setup {
namespace {

constexpr ControlSpec kControls[] = {
    {"FileBar", ControlKind::kProgressBar, "", 8, 64, 400, 16, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"File", ControlKind::kLabel, "", 8, 48, 400, 13, kAnchorLeftTop, "File (count/total)", "", -1, kStyleAlignCentre},
    {"App", ControlKind::kLabel, "", 8, 8, 400, 13, kAnchorLeftTop, "App.Info (count/total)", "", -1,
     kStyleAlignCentre},
    {"AppBar", ControlKind::kProgressBar, "", 8, 24, 400, 16, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"Cancel", ControlKind::kButton, "", 176, 88, 64, 20, kAnchorLeftTop, "&Cancel", "", 0, kStyleInitialFocus},
};

}  // namespace

const FormSpec TProgressForm::kSpec = {
    "TProgressForm", "Installing, please wait...", 416, 116, 0, 0, BorderStyle::kDialog, true, true, kControls};

TProgressForm::TProgressForm(Toolkit& toolkit, Window& owner, std::chrono::nanoseconds frame_interval)
    : toolkit_(toolkit), window_(toolkit.CreateForm(kSpec, &owner)), frames_(frame_interval) {
  window_->OnClick(Cancel, [this] { cancel_requested_ = true; });
  // The window shows only while files are copied; a close by Alt+F4 would
  // hide Cancel and leave the run going on out of sight.
  window_->OnCloseQuery([] { return false; });
}

void TProgressForm::Prepare(int count) {
  // A Cancel of an earlier run must not empty this one.
  cancel_requested_ = false;
  window_->SetProgressMax(AppBar, count - 1);
}

void TProgressForm::TargetStarted(const std::string& name, int k, int n) {
  window_->SetText(App, Counted(name, k, n));
  window_->SetProgressPosition(AppBar, k - 1);
  window_->RepaintNow();
  repainted_ = true;
}

void TProgressForm::FilesCounted(int count) { window_->SetProgressMax(FileBar, count); }

void TProgressForm::FileStarted(const std::string& file, int n, int count) {
  file_line_ = Counted(file, n + 1, count);
  // The bar counts the files already done.
  file_position_ = n;
  file_shown_ = false;
  if (n == 0 || n + 1 == count || frames_.Due()) ShowFile();
}

void TProgressForm::ShowFile() {
  window_->SetText(File, file_line_);
  window_->SetProgressPosition(FileBar, file_position_);
  window_->RepaintNow();
  frames_.Reset();
  file_shown_ = true;
  repainted_ = true;
}

void TProgressForm::ShowError(const std::string& text) {
  // The failure is reported with its file on the line above the box.
  if (!file_shown_) ShowFile();
  toolkit_.ShowMessage(window_.get(), text, StringText(kStrError), kMbIconError);
}

void TProgressForm::LetUserAct() {
  // Input is handled where the window was brought up to date, so a Cancel
  // click is taken at the same pace.
  if (!repainted_) return;
  repainted_ = false;
  window_->ProcessPendingMessages();
}

}  // namespace setup
