#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/keyboard.h"
#include "scan/drive_scan.h"
#include "ui/pacer.h"
#include "ui/toolkit.h"

namespace setup {

/// How often, at most, the windows handle their pending messages during a
/// scan. Under Wine a round costs about 0.1 ms of requests to its server: at
/// every folder it made a walk of 20,000 folders a fifth to a half slower,
/// every 5 ms it costs nothing measurable, and a user sees no difference.
inline constexpr std::chrono::milliseconds kScanMessageInterval{5};

/// The small window that shows the folder being scanned. It shows what a
/// drive scan tells, lets the windows handle their input now and then, and
/// passes on Escape, read from the keyboard state, as the stop request.
class TScanProgressForm : public ScanObserver {
 public:
  enum Control : ControlId { Drive };
  static const FormSpec kSpec;

  TScanProgressForm(Toolkit& toolkit, Window& main, Keyboard& keyboard,
                    std::chrono::nanoseconds message_interval = kScanMessageInterval);

  Window& window() { return *window_; }
  /// Readies the window for a scan: the windows handle their messages at the first folder.
  void Prepare() { messages_.Restart(); }

  void FolderReached(const std::string& folder) override;
  void LetUserAct() override;
  bool StopRequested() override { return keyboard_.EscapePressed(); }

 private:
  std::unique_ptr<Window> window_;
  Window& main_;
  Keyboard& keyboard_;
  Pacer messages_;
};

}  // namespace setup
