#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/package_hosts.h"
#include "platform/platform.h"

namespace setup {

/// A host left off the list because its folder holds a character that the
/// code page cannot hold: the system could only name a look-alike folder.
struct UnheldHostFolder {
  std::string description;
  std::string folder;  // as read (or the matched key of an enumerating host), each such character shown as '?'

  bool operator==(const UnheldHostFolder&) const = default;
};

/// The enabled catalogue entries and package hosts whose folder, as read
/// now, holds such a character, in list order. Reads, changes nothing.
std::vector<UnheldHostFolder> HostsWithUnheldFolders(const Platform& platform,
                                                     std::span<const PackageHost> package_hosts);

/// "<description>: its folder <folder> holds a character that this system's code page cannot hold".
std::string UnheldHostText(const UnheldHostFolder& host);

}  // namespace setup
