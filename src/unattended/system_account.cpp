#include "unattended/system_account.h"

#include <algorithm>

#include "hosts/host_catalogue.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "platform/ansi_text.h"

namespace setup {

namespace {

constexpr std::string_view kCurrentUserName = "HKEY_CURRENT_USER\\";

}  // namespace

std::vector<UnseenPlace> PlacesUnseenAsSystem(const Platform& platform, const FoundMarks& found,
                                              std::span<const ListedHost> listed) {
  std::vector<UnseenPlace> unseen;
  for (std::size_t i = 0; i < kHostCount; ++i) {
    const HostEntry& entry = HostCatalogue[i];
    if (entry.Root != RootKey::kCurrentUser || entry.KeyPath == kScratchKeyPath || found.test(i)) continue;
    if (!IsHostEnabled(platform, static_cast<int>(i))) continue;
    unseen.push_back({std::string(entry.Description),
                      "ids " + std::string(entry.HostId) + ", " + std::string(entry.VersionId),
                      std::string(kCurrentUserName) + std::string(entry.KeyPath)});
  }
  for (const PackageHost& host : ReadPackageHosts(platform).hosts) {
    if (!host.from_registry || host.root != RootKey::kCurrentUser) continue;
    bool is_listed = std::any_of(listed.begin(), listed.end(), [&](const ListedHost& row) {
      return row.IsPackageHost() && EqualIgnoringCase(row.place.id, host.id);
    });
    if (is_listed || !IsPackageHostEnabled(platform, host)) continue;
    unseen.push_back({host.description, "id " + host.id, std::string(kCurrentUserName) + host.key_path});
  }
  return unseen;
}

}  // namespace setup
