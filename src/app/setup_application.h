#pragma once

#include <memory>

#include "app/agreement_form.h"
#include "app/main_form.h"
#include "app/progress_form.h"
#include "app/scan_progress_form.h"
#include "app/run_state.h"
#include "config/setup_config.h"

namespace setup {

/// The whole run: makes the four windows in order and runs the message loop.
class SetupApplication {
 public:
  SetupApplication(Toolkit& toolkit, const Platform& platform) : toolkit_(toolkit), platform_(platform) {}

  /// Starts the program and returns when it ends. An error while the
  /// windows are made is reported and ends the program.
  void Run();

  TMainForm* main_form() { return main_.get(); }
  TAgreementForm* agreement_form() { return agreement_.get(); }
  TScanProgressForm* scan_progress_form() { return scan_progress_.get(); }
  TProgressForm* progress_form() { return progress_.get(); }
  RunState& state() { return state_; }

 private:
  Toolkit& toolkit_;
  const Platform& platform_;
  RunState state_;
  std::unique_ptr<TMainForm> main_;
  std::unique_ptr<TAgreementForm> agreement_;
  std::unique_ptr<TScanProgressForm> scan_progress_;
  std::unique_ptr<TProgressForm> progress_;
};

}  // namespace setup
