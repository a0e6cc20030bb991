#include "hosts/listed_host.h"

#include "hosts/host_catalogue.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"

namespace setup {

ListedHost CatalogueRow(const Platform& platform, int entry, bool ticked) {
  const HostEntry& host = HostCatalogue[static_cast<std::size_t>(entry)];
  ListedHost row;
  row.description = std::string(host.Description);
  row.ticked = ticked;
  row.install_folder = ReadHostFolder(platform.registry, host.Root, host.KeyPath, host.ValueName);
  row.ids = {std::string(host.HostId), std::string(host.VersionId)};
  row.files_section = std::string(kDefaultFilesSection);
  row.entry = entry;
  return row;
}

ListedHost PackageHostRow(const Platform& platform, const PackageHost& match, bool ticked) {
  ListedHost row;
  row.description = match.description;
  row.ticked = ticked;
  row.install_folder = InstallFolderOf(platform, match);
  row.ids = {match.id};
  row.files_section = match.files_section;
  row.place = match;
  return row;
}

std::string CurrentFolderOf(const Platform& platform, const ListedHost& row) {
  if (row.IsPackageHost()) return InstallFolderOf(platform, row.place);
  const HostEntry& host = HostCatalogue[static_cast<std::size_t>(row.entry)];
  return ReadHostFolder(platform.registry, host.Root, host.KeyPath, host.ValueName);
}

}  // namespace setup
