#include "app/main_form.h"

#include "app/agreement_form.h"
#include "app/error_report.h"
#include "app/maker.h"
#include "app/progress_form.h"
#include "app/run_watcher.h"
#include "app/scan_progress_form.h"
#include "config/setup_keys.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/registry_access.h"
#include "platform/ansi_text.h"
#include "scan/show_step.h"
#include "ui/work_window.h"

namespace setup {
namespace {

constexpr std::uint32_t kLeftTopRight = kAnchorLeft | kAnchorTop | kAnchorRight;
constexpr std::uint32_t kRightBottom = kAnchorRight | kAnchorBottom;

// Rows follow TMainForm::Control. Positions on Panel1 are in its client
// coordinates; Version is made after Title because it lies over its lower part.
constexpr ControlSpec kControls[] = {
    // name, kind, parent, left, top, width, height, anchors, text, hint, tab order, style
    {"Status", ControlKind::kStatusBar, "", 0, 280, 492, 19, kAnchorLeft | kAnchorRight | kAnchorBottom, "", "", -1,
     kStyleNone},
    {"Panel1", ControlKind::kPanel, "", 0, 0, 492, 280, kAnchorAll, "", "", -1, kStyleNone},
    {"ImagePanel", ControlKind::kPanel, "Panel1", 8, 8, 124, 264, kAnchorLeftTop, "", "", -1, kStyleLoweredBevel},
    {"Image", ControlKind::kPicture, "ImagePanel", 2, 2, 120, 260, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"Title", ControlKind::kLabel, "Panel1", 136, 4, 349, 54, kLeftTopRight, "", "", -1,
     kStyleTitleFont | kStyleTransparent},
    {"Version", ControlKind::kLabel, "Panel1", 136, 23, 348, 22, kLeftTopRight, "", "", -1,
     kStyleVersionFont | kStyleAlignRight | kStyleTransparent},
    {"Text", ControlKind::kLabel, "Panel1", 140, 60, 314, 13, kLeftTopRight, "Select applications to install #t in...",
     "", -1, kStyleNoPrefix | kStyleTransparent},
    {"Rescan", ControlKind::kGlyphButton, "Panel1", 463, 55, 22, 22, kAnchorTop | kAnchorRight, "",
     "Scan the drives for more applications", -1, kStyleGlyphRescan},
    {"Detected", ControlKind::kCheckList, "Panel1", 140, 80, 344, 133, kAnchorAll, "",
     "Check the applications for which you'd like to install", 0, kStyleButtonFace},
    {"DoCustom", ControlKind::kCheckBox, "Panel1", 139, 225, 90, 16, kAnchorLeft | kAnchorBottom, "Also install in...",
     "Check this box if you wish to install to the specified custom folder", 1, kStyleNone},
    {"Custom", ControlKind::kEdit, "Panel1", 232, 222, 224, 21, kAnchorLeft | kAnchorRight | kAnchorBottom, "",
     "Specify a custom folder. A subfolder will be created automatically", 2, kStyleNone},
    {"Browse", ControlKind::kGlyphButton, "Panel1", 463, 221, 22, 22, kRightBottom, "", "Browse for a folder", -1,
     kStyleGlyphBrowse},
    {"Install", ControlKind::kButton, "Panel1", 348, 252, 64, 20, kRightBottom, "&Install", "Start installing", 3,
     kStyleDefaultButton},
    {"Cancel", ControlKind::kButton, "Panel1", 420, 252, 64, 20, kRightBottom, "&Cancel", "Cancel the installation", 4,
     kStyleNone},
    {"Copyright", ControlKind::kLabel, "Panel1", 140, 256, 200, 13, kAnchorLeft | kAnchorRight | kAnchorBottom,
     SETUP_MAKER_NAME, "", -1, kStyleHandCursor | kStyleTransparent},
};
static_assert(std::size(kControls) == TMainForm::Copyright + 1);

}  // namespace

const FormSpec TMainForm::kSpec = {"TMainForm", "",   492,      299, kMinWidth, kMinHeight, BorderStyle::kSizeable,
                                   false,       true, kControls};

TMainForm::TMainForm(Toolkit& toolkit, const Platform& platform, RunState& state)
    : toolkit_(toolkit), platform_(platform), state_(state), window_(toolkit.CreateForm(kSpec, nullptr)) {
  toolkit_.SetHintHandler([this](const std::string& hint) { ShowStatusHint(hint); });
  detectors_ = SpecialDetectors(platform_);
  std::string start = ReadSetupValue(platform_, kMessagesSection, kStartKey);
  if (!start.empty()) toolkit_.ShowMessage(nullptr, start, kApplicationTitle, kMbIconInformation);
  ApplyPresentation();
  agreement_ = std::make_unique<TAgreementForm>(toolkit_, platform_.files, *window_);
  scan_progress_ = std::make_unique<TScanProgressForm>(toolkit_, *window_, platform_.keyboard);
  progress_ = std::make_unique<TProgressForm>(toolkit_, *window_);

  window_->OnShow([this] { FormShow(); });
  window_->OnCloseQuery([this] { return FormCloseQuery(); });
  window_->OnClose([this] { FormClose(); });
  Wire(Browse, &TMainForm::BrowseClick);
  Wire(Rescan, &TMainForm::RescanClick);
  Wire(Copyright, &TMainForm::CopyrightClick);
  Wire(Image, &TMainForm::ImageClick);
  Wire(Install, &TMainForm::InstallClick);
  Wire(Cancel, &TMainForm::CancelClick);
  window_->OnMouseMove(Detected, [this](int x, int y) {
    RunReportingErrors(toolkit_, window_.get(), [&] { DetectedMouseMove(x, y); });
  });
}

TMainForm::~TMainForm() = default;

void TMainForm::Wire(ControlId control, void (TMainForm::*action)()) {
  window_->OnClick(control,
                   [this, action] { RunReportingErrors(toolkit_, window_.get(), [&] { (this->*action)(); }); });
}

void TMainForm::ApplyPresentation() {
  auto read = [this](std::string_view key) { return ReadSetupValue(platform_, kPresentationSection, key); };

  int width = ParseWholeNumber(read(kWidthKey), 0);
  if (width > kMinWidth) window_->SetOuterSize(width, window_->OuterHeight());
  int height = ParseWholeNumber(read(kHeightKey), 0);
  if (height > kMinHeight) window_->SetOuterSize(window_->OuterWidth(), height);
  window_->SetCaption(read(kCaptionKey));

  std::string picture = ProgramFolder(platform_.files) + read(kBitmapKey);
  if (platform_.files.FileExists(picture)) window_->LoadPicture(Image, picture);
  std::string link = read(kBitmapLinkKey);
  if (!link.empty()) {
    window_->SetHint(ImagePanel, link);
    window_->EnableTooltip(ImagePanel);
  }

  window_->SetText(Title, read(kTitleKey));
  window_->SetText(Version, read(kVersionKey));
  window_->SetText(Text, ReplacePlaceholder(kControls[Text].text, "#t", window_->Text(Title)));

  if (!IsOnFlag(read(kScanVisibleKey))) {
    window_->SetVisible(Rescan, false);
  } else {
    window_->SetFlat(Rescan, ParseWholeNumber(read(kScanFlatKey), 1) != 0);
    window_->SetText(Rescan, read(kScanCaptionKey));
  }
  window_->SetFlat(Browse, ParseWholeNumber(read(kBrowseFlatKey), 1) != 0);
  window_->SetText(Browse, read(kBrowseCaptionKey));

  state_.InstallSubfolder = ReadInstallSubfolder(platform_);
  window_->SetText(Custom, ReadSetupValue(platform_, kOptionsSection, kCustomKey));
  if (window_->Text(Custom).empty()) {
    window_->SetText(Custom, ReadRegistryText(platform_.registry, RootKey::kLocalMachine,
                                              "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesPath"));
  }
}

void TMainForm::FormShow() {
  // An error ends the show step; the window is shown all the same.
  RunReportingErrors(toolkit_, nullptr, [this] {
    bool go_on = true;
    std::string agreement = ReadSetupValue(platform_, kMessagesSection, kAgreementKey);
    if (!agreement.empty()) {
      bool accept = IsOnFlag(ReadSetupValue(platform_, kMessagesSection, kAgreeKey));
      agreement_->Prepare(ProgramFolder(platform_.files) + agreement, accept);
      if (!agreement_->RunModal()) {
        toolkit_.RequestEnd();
        go_on = false;
      }
    }
    // "\xA9" is the copyright sign in the ANSI code page.
    window_->SetText(Copyright,
                     "\xA9 " + std::to_string(platform_.clock.CurrentYear()) + " " + std::string(kMakerName));
    if (go_on) {
      DetectHosts(DriveScanChoice::kAsConfigured);
    }
  });
}

bool TMainForm::FormCloseQuery() {
  int answer = toolkit_.ShowMessage(window_.get(), StringText(kStrCancelQuestion), StringText(kStrCancelCaption),
                                    kMbYesNo | kMbIconWarning);
  if (answer != kIdYes) return false;
  DeleteScratchKey(platform_.registry);
  return true;
}

void TMainForm::FormClose() {
  std::string close = ReadSetupValue(platform_, kMessagesSection, kCloseKey);
  if (!close.empty()) ShowInformation(close);
}

void TMainForm::ShowInformation(const std::string& text) {
  toolkit_.ShowMessage(window_.get(), text, kApplicationTitle, kMbIconInformation);
}

void TMainForm::CancelClick() { window_->Close(); }

void TMainForm::ShowStatusHint(const std::string& hint) { window_->SetText(Status, hint); }

void TMainForm::BrowseClick() {
  std::optional<std::string> folder = toolkit_.BrowseForFolder(*window_, StringText(kStrSelectCustomFolder));
  if (!folder || folder->empty()) return;
  // Written to, the folder would be its look-alike: another folder.
  if (!HeldExactly(*folder)) {
    toolkit_.ShowMessage(window_.get(),
                         "The name of the folder " + ShownName(*folder) +
                             " holds a character that this system's code page cannot hold. Choose a folder with a "
                             "plain name.",
                         StringText(kStrError), kMbIconError);
    return;
  }
  window_->SetText(Custom, *folder);
  window_->SetChecked(DoCustom, true);
}

void TMainForm::ImageClick() {
  std::string link = ReadSetupValue(platform_, kPresentationSection, kBitmapLinkKey);
  if (!link.empty()) toolkit_.ShellOpen(*window_, link);
}

void TMainForm::CopyrightClick() { toolkit_.ShellOpen(*window_, kMakerUrl); }

void TMainForm::RescanClick() { DetectHosts(DriveScanChoice::kAlways); }

void TMainForm::InstallClick() {
  // A typed name the code page cannot hold names no folder this program can reach.
  std::string custom = window_->Text(Custom);
  if (window_->IsChecked(DoCustom) && (!HeldExactly(custom) || !platform_.files.FolderExists(custom))) {
    int answer = toolkit_.ShowMessage(window_.get(), StringText(kStrCustomFolderMissing), StringText(kStrWarning),
                                      kMbYesNo | kMbIconWarning);
    if (answer != kIdYes) return;
    window_->SetChecked(DoCustom, false);
  }

  int count = window_->IsChecked(DoCustom) ? 1 : 0;
  for (int i = 0; i < window_->ItemCount(Detected); ++i)
    if (window_->IsItemChecked(Detected, i)) ++count;
  if (count < 1) {
    toolkit_.ShowMessage(window_.get(), StringText(kStrNoFolders), StringText(kStrError), kMbIconError);
    return;
  }

  progress_->Prepare(count);
  {
    // Nothing else may start while the files are copied.
    WorkWindowScope scope(progress_->window(), *window_);
    if (state_.watcher) {
      InstallFiles(platform_, Choice(), state_.watcher->InstallStarting(*progress_));
      state_.watcher->InstallEnded();
    } else {
      InstallFiles(platform_, Choice(), *progress_);
    }
  }
  int answer = toolkit_.ShowMessage(window_.get(), StringText(kStrExitQuestion), StringText(kStrCompleted),
                                    kMbYesNo | kMbIconInformation);
  if (answer == kIdYes) toolkit_.RequestEnd();
}

InstallChoice TMainForm::Choice() {
  InstallChoice choice;
  auto ticked = [this](std::string_view description) {
    for (int item = 0; item < window_->ItemCount(Detected); ++item)
      if (EqualIgnoringCase(window_->ItemText(Detected, item), description))
        return window_->IsItemChecked(Detected, item);
    return false;
  };
  // Each entry ever listed in catalogue order, by the first item that bears
  // its description, letter case ignored.
  for (std::size_t i = 0; i < kHostCount; ++i) {
    if (state_.found.test(i) && ticked(HostCatalogue[i].Description))
      choice.hosts.push_back(CatalogueRow(platform_, static_cast<int>(i), true));
  }
  // Then each package host of the last pass, the same way.
  for (const ListedHost& row : state_.listed)
    if (row.IsPackageHost() && ticked(row.description)) choice.hosts.push_back(row);
  choice.custom = window_->IsChecked(DoCustom);
  choice.custom_folder = window_->Text(Custom);
  choice.install_subfolder = state_.InstallSubfolder;
  return choice;
}

void TMainForm::ScanDrives() {
  scan_progress_->Prepare();
  WorkWindowScope scope(scan_progress_->window(), *window_);
  ScanDrivesForHosts(platform_, *scan_progress_, state_.image_explorer_pro_mark);
}

void TMainForm::DetectHosts(DriveScanChoice scan) {
  state_.listed = RunShowStep(
      platform_, detectors_, state_.found, [this] { ScanDrives(); }, scan);
  if (state_.watcher) state_.watcher->HostsListed(state_.listed);
  window_->ClearItems(Detected);
  for (const ListedHost& row : state_.listed) window_->AddItem(Detected, row.description, row.ticked);
  // With nothing to install into, the custom folder is the choice left.
  if (state_.listed.empty()) window_->SetChecked(DoCustom, true);
}

void TMainForm::DetectedMouseMove(int x, int y) {
  int item = window_->ItemAt(Detected, x, y);
  if (item < 0) {
    window_->SetHint(Detected, StringText(kStrCheckApplications));
    return;
  }
  std::string text = window_->ItemText(Detected, item);
  // Every entry is compared, without stopping at a match, and the registry
  // is read afresh: the hint shows the folder as it is now.
  for (const HostEntry& entry : HostCatalogue) {
    if (entry.Description == text)
      window_->SetHint(Detected, ReadHostFolder(platform_.registry, entry.Root, entry.KeyPath, entry.ValueName));
  }
  for (const ListedHost& row : state_.listed) {
    if (row.IsPackageHost() && row.description == text) window_->SetHint(Detected, CurrentFolderOf(platform_, row));
  }
}

}  // namespace setup
