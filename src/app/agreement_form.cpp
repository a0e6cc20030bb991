#include "app/agreement_form.h"

#include "config/text.h"
#include "config/user_error.h"

namespace setup {
namespace {

constexpr ControlSpec kControls[] = {
    // name, kind, parent, left, top, width, height, anchors, text, hint, tab order, style
    {"Memo", ControlKind::kMemo, "", 8, 8, 377, 183, kAnchorLeftTop, "ERROR!", "", 0, kStyleButtonFace},
    {"AgreeYes", ControlKind::kRadioButton, "", 8, 202, 377, 17, kAnchorLeftTop, "Accept and continue installation.",
     "", 1, kStyleChecked},
    {"AgreeNo", ControlKind::kRadioButton, "", 8, 218, 377, 17, kAnchorLeftTop, "Decline.", "", 1, kStyleNone},
    {"Next", ControlKind::kButton, "", 248, 238, 64, 20, kAnchorLeftTop, "&Next", "", -1, kStyleDisabled},
    {"Cancel", ControlKind::kButton, "", 320, 238, 64, 20, kAnchorLeftTop, "&Cancel", "", 2,
     kStyleDefaultButton | kStyleInitialFocus},
};

}  // namespace

const FormSpec TAgreementForm::kSpec = {"TAgreementForm",     "Agreement", 392,  266,      0, 0,
                                        BorderStyle::kDialog, false,       true, kControls};

TAgreementForm::TAgreementForm(Toolkit& toolkit, FileSystem& files, Window& owner)
    : files_(files), window_(toolkit.CreateForm(kSpec, &owner)) {
  window_->OnClick(AgreeYes, [this] { AgreeYesClick(); });
  window_->OnClick(AgreeNo, [this] { AgreeNoClick(); });
  window_->OnClick(Next, [this] { window_->EndModal(kModalOk); });
  window_->OnClick(Cancel, [this] { window_->EndModal(kModalCancel); });
}

void TAgreementForm::Prepare(const std::string& path, bool accept_preselected) {
  std::optional<std::string> text = files_.ReadWholeFile(path, kAgreementFileLimit);
  if (!text) {
    std::uint32_t error = files_.LastError();
    std::string reason = files_.ErrorText(error).value_or("");
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    // The system's text for this one speaks of saving, and some systems have none.
    if (error == kErrorFileTooLarge)
      reason = "It is larger than " + std::to_string(kAgreementFileLimit / 1024) + " KB, too large for an agreement.";
    else if (reason.empty())
      reason = "Error " + std::to_string(error) + ".";
    throw UserError("Cannot open file \"" + path + "\". " + reason);
  }
  window_->SetLines(Memo, SplitLines(*text));
  if (accept_preselected) {
    AgreeYesClick();
  } else {
    AgreeNoClick();
  }
  window_->SetChecked(accept_preselected ? AgreeYes : AgreeNo, true);
}

bool TAgreementForm::RunModal() { return window_->ShowModal() == kModalOk; }

void TAgreementForm::AgreeYesClick() {
  window_->SetChecked(AgreeNo, false);
  window_->SetEnabled(Next, true);
}

void TAgreementForm::AgreeNoClick() {
  window_->SetChecked(AgreeYes, false);
  window_->SetEnabled(Next, false);
}

}  // namespace setup
