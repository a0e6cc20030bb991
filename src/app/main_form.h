#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "config/setup_config.h"
#include "hosts/detection_pass.h"
#include "platform/platform.h"
#include "ui/toolkit.h"

namespace setup {

class TAgreementForm;
class TProgressForm;
class TScanProgressForm;

/// The main window: the host list, the custom folder, Install and Cancel.
/// Its look comes partly from the design below and partly from setup.ini.
class TMainForm {
 public:
  enum Control : ControlId {
    Status,
    Panel1,
    ImagePanel,
    Image,
    Title,
    Version,
    Text,
    Rescan,
    Detected,
    DoCustom,
    Custom,
    Browse,
    Install,
    Cancel,
    Copyright,
  };
  static const FormSpec kSpec;
  static constexpr int kMinWidth = 400;
  static constexpr int kMinHeight = 333;

  /// Builds the window: its controls, the status-bar hint handler, the
  /// configured start message and the presentation. Throws UserError.
  TMainForm(Toolkit& toolkit, const Platform& platform, RunState& state);

  /// The windows made after this one, which the show step and the actions use.
  void Attach(TAgreementForm& agreement, TScanProgressForm& scan_progress, TProgressForm& progress);

  void ApplyPresentation();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void CancelClick();
  void ShowStatusHint(const std::string& hint);
  void BrowseClick();
  void ImageClick();
  void CopyrightClick();
  void RescanClick();
  void InstallClick();
  void DetectedMouseMove(int x, int y);

  /// The stages that detection, the drive scan and installation fill.
  void ScanDrives();
  void DetectHosts();

  Window& window() { return *window_; }

 private:
  void ShowInformation(const std::string& text);
  // Wires a control's click to an action whose errors are reported.
  void Wire(ControlId control, void (TMainForm::*action)());

  Toolkit& toolkit_;
  const Platform& platform_;
  RunState& state_;
  std::unique_ptr<Window> window_;
  TAgreementForm* agreement_ = nullptr;
  TScanProgressForm* scan_progress_ = nullptr;
  TProgressForm* progress_ = nullptr;
  // Run by every detection pass before the catalogue walk, in this order.
  std::vector<SpecialDetector> detectors_;
};

}  // namespace setup
