#pragma once

#include <string>
#include <vector>

#include "install/deployment.h"
#include "platform/platform.h"

namespace setup {

/// What the user chose to install into.
struct InstallChoice {
  std::vector<ListedHost> hosts;    // the ticked hosts, in list order
  bool custom = false;              // "Also install in..." ticked
  std::string custom_folder;        // the folder typed or picked for it
  std::string install_subfolder;    // [options] subdir
  bool replace_at_restart = false;  // a held destination is replaced at the next restart
};

/// Copies the plug-in files into every chosen host in their order, then
/// into the custom folder. A
/// cancel request, asked before every host, ends the hosts' part; the custom
/// folder is served all the same.
void InstallFiles(const Platform& platform, const InstallChoice& choice, InstallationObserver& observer);

}  // namespace setup
