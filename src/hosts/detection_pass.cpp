#include "hosts/detection_pass.h"

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
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

namespace {

// A catalogue entry's text, or that of a package host listed before.
bool TextTaken(std::string_view description, const std::vector<ListedHost>& listed) {
  if (IsCatalogueDescription(description)) return true;
  for (const ListedHost& row : listed)
    if (row.IsPackageHost() && EqualIgnoringCase(row.description, description)) return true;
  return false;
}

}  // namespace

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
  std::size_t package_rows = 0;
  for (const PackageHost& host : package_hosts) {
    if (!IsPackageHostEnabled(platform, host)) continue;
    bool ticked = autoselect && host.preselect;
    for (const PackageHostMatch& match : MatchesOf(platform, host)) {
      // The limit counts listed places, however many hosts they come from.
      if (package_rows == kMaxPackageHosts) return listed;
      // Unlike a catalogue entry, a value left behind by an uninstalled host
      // does not list it: the folder must be there. A folder a pattern
      // matched was just seen to be one.
      const std::string& folder = match.found_folder;
      if (!IsAbsolutePath(folder) || (!match.host.folder_is_match && !platform.files.FolderExists(folder))) continue;
      if (TextTaken(match.host.description, listed)) continue;
      listed.push_back(PackageHostRow(platform, match.host, ticked));
      ++package_rows;
    }
  }
  return listed;
}

}  // namespace setup
