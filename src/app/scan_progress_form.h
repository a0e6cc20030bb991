#pragma once

#include <memory>

#include "ui/toolkit.h"

namespace setup {

/// The small window that shows the folder being scanned.
class TScanProgressForm {
 public:
  enum Control : ControlId { Drive };
  static const FormSpec kSpec;

  explicit TScanProgressForm(Toolkit& toolkit);

  Window& window() { return *window_; }

 private:
  std::unique_ptr<Window> window_;
};

}  // namespace setup
