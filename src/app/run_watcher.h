#pragma once

#include <vector>

#include "hosts/detection_pass.h"
#include "install/deployment.h"

namespace setup {

/// Hears what a windowed run does, for whoever keeps a log of it. A run
/// without one behaves exactly as before.
class RunWatcher {
 public:
  virtual ~RunWatcher() = default;
  /// A detection pass listed these hosts, ticked as listed.
  virtual void HostsListed(const std::vector<ListedHost>& listed) = 0;
  /// An installation begins; it is told to the returned observer, which
  /// passes everything on to the window's.
  virtual InstallationObserver& InstallStarting(InstallationObserver& window) = 0;
  /// The installation that began last has ended.
  virtual void InstallEnded() = 0;
};

}  // namespace setup
