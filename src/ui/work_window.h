#pragma once

#include "ui/toolkit.h"

namespace setup {

/// Shows a window for the length of some work while another window, whose
/// buttons would start other work, is disabled. The order leaves no moment
/// in which both are in use: the other window is disabled before the work
/// window shows and enabled only after it has gone, however the work ends
/// (an exception included); it then gets back the focus the work window took.
class WorkWindowScope {
 public:
  WorkWindowScope(Window& work, Window& blocked) : work_(work), blocked_(blocked) {
    blocked_.SetWindowEnabled(false);
    try {
      work_.Show();
    } catch (...) {
      blocked_.SetWindowEnabled(true);
      throw;
    }
  }
  ~WorkWindowScope() {
    work_.Hide();
    blocked_.SetWindowEnabled(true);
    blocked_.Activate();
  }
  WorkWindowScope(const WorkWindowScope&) = delete;
  WorkWindowScope& operator=(const WorkWindowScope&) = delete;

 private:
  Window& work_;
  Window& blocked_;
};

}  // namespace setup
