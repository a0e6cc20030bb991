#pragma once

#include <string>
#include <vector>

#include "hosts/unheld_folders.h"
#include "platform/platform.h"

namespace setup {

/// Where a listed host came from.
enum class HostSource {
  kCatalogueEntry,   // the host's own registry value, named by its catalogue entry
  kSpecialDetector,  // a folder a special detector stored under the scratch key in this pass
  kDriveScan,        // a folder the drive scan stored under the scratch key
  kScratchValue,     // a folder already under the scratch key, left by an earlier run
  kPackageHost,      // a host setup.ini names in [hosts]
};

/// One row of the host list as the installer would show it.
struct HostRow {
  std::string description;
  bool ticked = false;
  std::string install_folder;  // where the files would go; empty when the folder is no full path
  HostSource source = HostSource::kCatalogueEntry;
  std::string detail;  // the registry value or folder, or the detector's host

  bool operator==(const HostRow&) const = default;
};

/// The host list the installer would show on this machine at start-up (the
/// drive scan when [options] autoscan is "1", then the detection pass),
/// found without writing anything: the stores of the detectors and the scan
/// go to memory, not to the registry. `unheld`, when given, receives the
/// hosts left off for a folder name the code page cannot hold.
std::vector<HostRow> ListHostsReadOnly(const Platform& platform, std::vector<UnheldHostFolder>* unheld = nullptr);

/// "catalogue entry", "special detector", "drive scan", "scratch value", "package host".
const char* HostSourceName(HostSource source);

}  // namespace setup
