#include "unattended/target_choice.h"

#include "config/text.h"
#include "hosts/host_catalogue.h"

namespace setup {

std::vector<std::string_view> HostIds(const ListedHost& host, std::span<const PackageHost> package_hosts) {
  if (host.IsPackageHost()) return {package_hosts[host.PackageHostNumber()].id};
  const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(host.index)];
  return {entry.HostId, entry.VersionId};
}

TargetChoice ChooseTargets(std::span<const ListedHost> listed, std::span<const PackageHost> package_hosts,
                           const std::optional<std::vector<std::string>>& ids) {
  TargetChoice choice;
  if (!ids) {
    for (const ListedHost& host : listed)
      if (host.ticked) choice.hosts.push_back(host.index);
    return choice;
  }
  std::vector<bool> used(ids->size(), false);
  for (const ListedHost& host : listed) {
    bool named = false;
    for (std::string_view id : HostIds(host, package_hosts)) {
      for (std::size_t i = 0; i < ids->size(); ++i) {
        if (!EqualIgnoringCase((*ids)[i], id)) continue;
        used[i] = true;
        named = true;
      }
    }
    if (named) choice.hosts.push_back(host.index);
  }
  for (std::size_t i = 0; i < ids->size(); ++i)
    if (!used[i] && !EqualIgnoringCase((*ids)[i], "none")) choice.unmatched.push_back((*ids)[i]);
  return choice;
}

}  // namespace setup
