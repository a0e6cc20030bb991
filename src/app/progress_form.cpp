#include "app/progress_form.h"

namespace setup {
namespace {

constexpr ControlSpec kControls[] = {
    {"FileBar", ControlKind::kProgressBar, "", 8, 64, 400, 16, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"File", ControlKind::kLabel, "", 8, 48, 400, 13, kAnchorLeftTop, "File (count/total)", "", -1,
     kStyleAlignCentre},
    {"App", ControlKind::kLabel, "", 8, 8, 400, 13, kAnchorLeftTop, "App.Info (count/total)", "", -1,
     kStyleAlignCentre},
    {"AppBar", ControlKind::kProgressBar, "", 8, 24, 400, 16, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"Cancel", ControlKind::kButton, "", 176, 88, 64, 20, kAnchorLeftTop, "&Cancel", "", 0,
     kStyleInitialFocus},
};

}  // namespace

const FormSpec TProgressForm::kSpec = {"TProgressForm", "Installing, please wait...", 416, 116, 0, 0,
                                       BorderStyle::kDialog, true, true, kControls};

TProgressForm::TProgressForm(Toolkit& toolkit, Window& owner) : window_(toolkit.CreateForm(kSpec, &owner)) {
  window_->OnClick(Cancel, [this] { result_ = kModalCancel; });
  // The window shows only while files are copied; a close by Alt+F4 would
  // hide Cancel and leave the run going on out of sight.
  window_->OnCloseQuery([] { return false; });
}

}  // namespace setup
