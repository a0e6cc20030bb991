#include "hosts/unheld_folders.h"

#include "hosts/detection_pass.h"
#include "hosts/host_catalogue.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "platform/ansi_text.h"

namespace setup {

std::vector<UnheldHostFolder> HostsWithUnheldFolders(const Platform& platform,
                                                     std::span<const PackageHost> package_hosts) {
  std::vector<UnheldHostFolder> unheld;
  for (int index = 0; index < static_cast<int>(kHostCount); ++index) {
    const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(index)];
    if (!IsHostEnabled(platform, index)) continue;
    std::string folder = ReadRegistryText(platform.registry, entry.Root, entry.KeyPath, entry.ValueName);
    if (!HeldExactly(folder)) unheld.push_back({std::string(entry.Description), ShownName(folder)});
  }
  for (const PackageHost& host : package_hosts) {
    if (!IsPackageHostEnabled(platform, host)) continue;
    // An enumerating host stands for each matching subkey or sub-folder; a
    // matched name that is not held is a folder no better than its text.
    for (const PackageHostMatch& match : MatchesOf(platform, host)) {
      const PackageHost& place = match.host;
      std::string folder = FolderTextOf(platform, place);
      if (!HeldExactly(place.key_path)) folder = place.key_path;
      if (!HeldExactly(folder)) unheld.push_back({ShownName(place.description), ShownName(folder)});
    }
  }
  return unheld;
}

std::string UnheldHostText(const UnheldHostFolder& host) {
  return host.description + ": its folder " + host.folder +
         " holds a character that this system's code page cannot hold";
}

}  // namespace setup
