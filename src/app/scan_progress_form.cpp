#include "app/scan_progress_form.h"

namespace setup {
namespace {

constexpr ControlSpec kControls[] = {
    {"Drive", ControlKind::kLabel, "", 8, 8, 385, 13, kAnchorLeftTop, "Drive: C", "", -1,
     kStyleAlignCentre | kStyleAutoSize},
};

}  // namespace

const FormSpec TScanProgressForm::kSpec = {"TScanProgressForm",
                                           "Autodetecting, press ESC to stop...",
                                           400,
                                           29,
                                           0,
                                           0,
                                           BorderStyle::kToolWindow,
                                           true,
                                           true,
                                           kControls};

TScanProgressForm::TScanProgressForm(Toolkit& toolkit, Window& main, Keyboard& keyboard,
                                     std::chrono::nanoseconds message_interval)
    : window_(toolkit.CreateForm(kSpec, nullptr)), main_(main), keyboard_(keyboard), messages_(message_interval) {
  // The window shows only while the drives are walked; a close by Alt+F4
  // would hide the scan, not stop it.
  window_->OnCloseQuery([] { return false; });
}

void TScanProgressForm::FolderReached(const std::string& folder) {
  window_->SetText(Drive, folder);
  window_->RepaintNow();
}

void TScanProgressForm::LetUserAct() {
  if (!messages_.Due()) return;
  window_->ProcessPendingMessages();
  main_.ProcessPendingMessages();
}

}  // namespace setup
