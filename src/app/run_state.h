#pragma once

#include <string>
#include <vector>

#include "hosts/host_catalogue.h"
#include "hosts/listed_host.h"

namespace setup {
class RunWatcher;
}

namespace setup {

/// What the program keeps for the whole run besides its windows.
struct RunState {
  /// [options] subdir, read once when the main window is created.
  std::string InstallSubfolder;
  /// The catalogue entries that a detection pass has listed; never cleared.
  FoundMarks found;
  /// The rows the last detection pass listed, in list order: the hint and
  /// the installation map the package's hosts back to them.
  std::vector<ListedHost> listed;
  /// Set once a drive scan finds an "iep.ini" with a plug-in folder; from
  /// then on, for the rest of the run, "image explorer pro.exe" is ignored.
  bool image_explorer_pro_mark = false;
  /// Hears the detection passes and installations; null when nobody does.
  RunWatcher* watcher = nullptr;
};

}  // namespace setup
