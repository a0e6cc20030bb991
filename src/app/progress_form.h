#pragma once

#include <memory>

#include "ui/toolkit.h"

namespace setup {

/// The installation progress window: one bar for the targets, one for the
/// files of the current target, and a Cancel button that only leaves a
/// request for the run to read.
class TProgressForm {
 public:
  enum Control : ControlId { FileBar, File, App, AppBar, Cancel };
  static const FormSpec kSpec;

  TProgressForm(Toolkit& toolkit, Window& owner);

  Window& window() { return *window_; }
  /// 0: no request; 2: the user asked to cancel.
  int result() const { return result_; }
  void set_result(int result) { result_ = result; }

 private:
  std::unique_ptr<Window> window_;
  int result_ = 0;
};

}  // namespace setup
