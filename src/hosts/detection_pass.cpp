#include "hosts/detection_pass.h"

#include "config/setup_config.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "hosts/special_detectors.h"

namespace setup {

std::vector<SpecialDetector> SpecialDetectors(const Platform& platform) {
  std::vector<SpecialDetector> detectors;
  for (const NamedDetector& detector : kSpecialDetectors)
    detectors.push_back([&platform, detect = detector.detect] { detect(platform); });
  return detectors;
}

bool IsHostEnabled(const Platform& platform, int index) {
  const HostEntry& entry = HostCatalogue[index];
  std::string setting = ReadSetupValue(platform, "enabled", entry.VersionId);
  if (setting.empty()) setting = ReadSetupValue(platform, "enabled", entry.HostId);
  if (setting.empty()) setting = ReadSetupValue(platform, "enabled", "all");
  return !IsOffFlag(setting);
}

void AddHostIfFound(const Platform& platform, int index, FoundMarks& found, std::vector<ListedHost>& listed) {
  if (!IsHostEnabled(platform, index)) return;
  const HostEntry& entry = HostCatalogue[index];
  if (ReadHostFolder(platform.registry, entry.Root, entry.KeyPath, entry.ValueName).empty()) return;
  found.set(index);
  // With autoselect "0" every row comes unticked.
  bool ticked = !IsOffFlag(ReadSetupValue(platform, "options", "autoselect")) && entry.Preselect;
  listed.push_back(CatalogueRow(platform, index, ticked));
}

std::vector<ListedHost> DetectHosts(const Platform& platform, std::span<const SpecialDetector> detectors,
                                    FoundMarks& found, std::span<const PackageHost> package_hosts) {
  for (const SpecialDetector& detector : detectors) detector();
  std::vector<ListedHost> listed;
  for (int index = 0; index < static_cast<int>(kHostCount); ++index) AddHostIfFound(platform, index, found, listed);
  for (const PackageHost& host : package_hosts) {
    if (!IsPackageHostPresent(platform, host)) continue;
    bool ticked = !IsOffFlag(ReadSetupValue(platform, "options", "autoselect")) && host.preselect;
    listed.push_back(PackageHostRow(platform, host, ticked));
  }
  return listed;
}

}  // namespace setup
