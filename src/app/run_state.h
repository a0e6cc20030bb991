#pragma once

#include <string>

#include "hosts/host_catalogue.h"

namespace setup {

/// What the program keeps for the whole run besides its windows.
struct RunState {
  /// [options] subdir, read once when the main window is created.
  std::string InstallSubfolder;
  /// The catalogue entries that a detection pass has listed; never cleared.
  FoundMarks found;
};

}  // namespace setup
