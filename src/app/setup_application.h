#pragma once

#include <memory>

#include "app/main_form.h"
#include "app/run_state.h"
#include "platform/platform.h"
#include "ui/toolkit.h"

namespace setup {

/// The whole run: makes the windows (the main window first, which makes the
/// others) and runs the message loop.
class SetupApplication {
 public:
  SetupApplication(Toolkit& toolkit, const Platform& platform) : toolkit_(toolkit), platform_(platform) {}

  /// Starts the program and returns when it ends. An error while the
  /// windows are made is reported and ends the program.
  void Run();

  /// The main window once made; null before, or when making it failed.
  TMainForm* main_form() { return main_.get(); }
  RunState& state() { return state_; }

 private:
  Toolkit& toolkit_;
  const Platform& platform_;
  RunState state_;
  std::unique_ptr<TMainForm> main_;
};

}  // namespace setup
