#include "hosts/detection_pass.h"

#include "config/setup_config.h"
#include "config/setup_keys.h"
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

namespace {

// [options] autoselect "0" makes every row come unticked.
bool Autoselect(const Platform& platform) {
  return !IsOffFlag(ReadSetupValue(platform, kOptionsSection, kAutoselectKey));
}

// Lists an enabled entry whose registry value holds a folder.
void AddIfFound(const Platform& platform, int index, bool autoselect, FoundMarks& found,
                std::vector<ListedHost>& listed) {
  const HostEntry& entry = HostCatalogue[index];
  if (ReadHostFolder(platform.registry, entry.Root, entry.KeyPath, entry.ValueName).empty()) return;
  found.set(index);
  listed.push_back(CatalogueRow(platform, index, autoselect && entry.Preselect));
}

}  // namespace

bool IsHostEnabled(const Platform& platform, int index) {
  const HostEntry& entry = HostCatalogue[index];
  std::string setting = ReadSetupValue(platform, kEnabledSection, entry.VersionId);
  if (setting.empty()) setting = ReadSetupValue(platform, kEnabledSection, entry.HostId);
  if (setting.empty()) setting = ReadSetupValue(platform, kEnabledSection, kEnabledAllKey);
  return !IsOffFlag(setting);
}

void AddHostIfFound(const Platform& platform, int index, FoundMarks& found, std::vector<ListedHost>& listed) {
  if (IsHostEnabled(platform, index)) AddIfFound(platform, index, Autoselect(platform), found, listed);
}

std::vector<ListedHost> DetectHosts(const Platform& platform, std::span<const SpecialDetector> detectors,
                                    FoundMarks& found, std::span<const PackageHost> package_hosts) {
  for (const SpecialDetector& detector : detectors) detector();
  // Each setup.ini read opens and parses the file again (a system call under
  // Windows), so what every entry would ask is read once: autoselect, and
  // whether [enabled] has a key at all (without one every entry is on).
  bool autoselect = Autoselect(platform);
  bool any_enabled_key = !ReadSetupKeys(platform, kEnabledSection).empty();
  std::vector<ListedHost> listed;
  for (int index = 0; index < static_cast<int>(kHostCount); ++index) {
    if (!any_enabled_key || IsHostEnabled(platform, index)) AddIfFound(platform, index, autoselect, found, listed);
  }
  for (const PackageHost& host : package_hosts) {
    if (!IsPackageHostPresent(platform, host)) continue;
    listed.push_back(PackageHostRow(platform, host, autoselect && host.preselect));
  }
  return listed;
}

}  // namespace setup
