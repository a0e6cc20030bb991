#include "hosts/package_host_places.h"

#include <array>

#include "config/setup_config.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

constexpr auto kCatalogueDescriptions = [] {
  std::array<std::string_view, kHostCount> descriptions{};
  for (std::size_t i = 0; i < kHostCount; ++i) descriptions[i] = HostCatalogue[i].Description;
  return descriptions;
}();

}  // namespace

PackageHosts ReadPackageHosts(const Platform& platform) { return ParsePackageHosts(platform, kCatalogueDescriptions); }

std::string FolderTextOf(const Platform& platform, const PackageHost& host) {
  if (host.from_registry)
    return ReadExpandedText(platform.registry, platform.environment, host.view, host.root, host.key_path,
                            host.value_name);
  return ExpandVariables(host.folder, platform.environment);
}

std::string FoundFolderOf(const Platform& platform, const PackageHost& host) {
  return UsableFolder(FolderTextOf(platform, host));
}

std::string InstallFolderOf(const Platform& platform, const PackageHost& host) {
  std::string folder = FoundFolderOf(platform, host);
  if (folder.empty() || host.append.empty()) return folder;
  return AddTrailingBackslash(folder) + host.append;
}

bool IsPackageHostEnabled(const Platform& platform, const PackageHost& host) {
  std::string setting = ReadSetupValue(platform, "enabled", host.id);
  if (setting.empty()) setting = ReadSetupValue(platform, "enabled", "all");
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
