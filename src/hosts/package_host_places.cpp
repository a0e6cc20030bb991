#include "hosts/package_host_places.h"

#include <array>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"

namespace setup {
PackageHosts ReadPackageHosts(const Platform& platform) {
  std::array<std::string_view, kHostCount> descriptions;
  for (std::size_t i = 0; i < kHostCount; ++i) descriptions[i] = HostCatalogue[i].Description;
  return ParsePackageHosts(platform, descriptions);
}

std::string FoundFolderOf(const Platform& platform, const PackageHost& host) {
  if (host.from_registry)
    return ReadExpandedFolder(platform.registry, platform.environment, host.view, host.root, host.key_path,
                              host.value_name);
  std::string folder = ExpandVariables(host.folder, platform.environment);
  return folder.size() > kMaxPathLength ? std::string() : folder;
}

std::string InstallFolderOf(const Platform& platform, const PackageHost& host) {
  std::string folder = FoundFolderOf(platform, host);
  if (folder.empty() || host.append.empty()) return folder;
  return AddTrailingBackslash(folder) + host.append;
}

bool IsPackageHostEnabled(const Platform& platform, const PackageHost& host) {
  std::string setting = ReadSetupValue(platform, kEnabledSection, host.id);
  if (setting.empty()) setting = ReadSetupValue(platform, kEnabledSection, kEnabledAllKey);
  return !IsOffFlag(setting);
}

bool IsPackageHostPresent(const Platform& platform, const PackageHost& host) {
  if (!IsPackageHostEnabled(platform, host)) return false;
  // Unlike a catalogue entry, a value left behind by an uninstalled host
  // does not list it: the folder must be there.
  std::string folder = FoundFolderOf(platform, host);
  return IsAbsolutePath(folder) && platform.files.FolderExists(folder);
}

}  // namespace setup
