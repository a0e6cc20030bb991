#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "config/setup_config.h"
#include "hosts/detection_pass.h"
#include "install/installation.h"
#include "platform/platform.h"
#include "scan/show_step.h"
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

  /// Builds the window (its controls, the status-bar hint handler, the
  /// configured start message and the presentation) and then the windows
  /// the show step and the actions use. Throws what the presentation meets
  /// (a picture that cannot be loaded).
  TMainForm(Toolkit& toolkit, const Platform& platform, RunState& state);
  ~TMainForm();

  Window& window() { return *window_; }

 private:
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
  // The drive scan with its window, and the show step that lists what it,
  // the detectors and the package's hosts found.
  void ScanDrives();
  void DetectHosts(DriveScanChoice scan);
  // What the user chose in the window, as the installation takes it.
  InstallChoice Choice();

  void ShowInformation(const std::string& text);
  // Wires a control's click to an action whose errors are reported.
  void Wire(ControlId control, void (TMainForm::*action)());

  Toolkit& toolkit_;
  const Platform& platform_;
  RunState& state_;
  std::unique_ptr<Window> window_;
  std::unique_ptr<TAgreementForm> agreement_;
  std::unique_ptr<TScanProgressForm> scan_progress_;
  std::unique_ptr<TProgressForm> progress_;
  // Run by every detection pass before the catalogue walk, in this order.
  std::vector<SpecialDetector> detectors_;
};

}  // namespace setup
