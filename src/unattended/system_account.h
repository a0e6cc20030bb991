#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/package_hosts.h"
#include "hosts/detection_pass.h"
#include "platform/platform.h"

namespace setup {

/// A place where a host keeps its folder that a run as LocalSystem reads
/// in the system account's own HKEY_CURRENT_USER, not in any user's.
struct UnseenPlace {
  std::string description;  // the host list text
  std::string ids;          // "ids <host id>, <version id>" or "id <package host id>", as /HOSTS takes them
  std::string key;          // HKEY_CURRENT_USER\<key path>
};

/// The places the pass read from HKEY_CURRENT_USER and found nothing at:
/// the catalogue entries [enabled] allows (those the program's own
/// scratch key holds are left out: the detectors and the scan fill it in the
/// same run), then the package hosts read from there that list no row, in
/// [hosts] order.
std::vector<UnseenPlace> PlacesUnseenAsSystem(const Platform& platform, const FoundMarks& found,
                                              std::span<const ListedHost> listed);

}  // namespace setup
