#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "install/deployment.h"
#include "ui/pacer.h"
#include "ui/toolkit.h"

namespace setup {

/// How often, at most, the file line and bar are brought up to date, the
/// window repainted and its input handled while files are copied. Under Wine
/// doing so for every file cost twenty times the copy of a small file; at
/// this rate it costs a few per cent, and the bar still moves smoothly.
inline constexpr std::chrono::milliseconds kProgressFrameInterval{30};

/// The installation progress window: one bar for the targets, one for the
/// files of the current target, and a Cancel button that only leaves a
/// request for the run to read. It shows what an installation run tells:
/// every target, and of the files the first and the last of each target,
/// every file whose copy failed, and between them one per frame interval.
class TProgressForm : public InstallationObserver {
 public:
  enum Control : ControlId { FileBar, File, App, AppBar, Cancel };
  static const FormSpec kSpec;

  TProgressForm(Toolkit& toolkit, Window& owner, std::chrono::nanoseconds frame_interval = kProgressFrameInterval);

  Window& window() { return *window_; }
  /// Readies the window for a run of `count` targets: no cancel request, the
  /// target bar's range.
  void Prepare(int count);

  void TargetStarted(const std::string& name, int k, int n) override;
  void FilesCounted(int count) override;
  void FileStarted(const std::string& file, int n, int count) override;
  void ShowError(const std::string& text) override;
  void LetUserAct() override;
  bool CancelRequested() override { return cancel_requested_; }

 private:
  void ShowFile();

  Toolkit& toolkit_;
  std::unique_ptr<Window> window_;
  bool cancel_requested_ = false;
  Pacer frames_;
  // The file last started and whether the window shows it yet.
  std::string file_line_;
  int file_position_ = 0;
  bool file_shown_ = true;
  bool repainted_ = false;  // since the last round of input
};

}  // namespace setup
