#include "hosts/detection_pass.h"

#include <utility>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "hosts/special_detectors.h"
#include "platform/ansi_text.h"

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

// Lists an enabled entry whose registry value holds a folder; the row's
// folder is that one read, so the value is read once.
void AddIfFound(const Platform& platform, int index, bool autoselect, FoundMarks& found,
                std::vector<ListedHost>& listed) {
  ListedHost row = CatalogueRow(platform, index, autoselect && HostCatalogue[index].Preselect);
  if (row.install_folder.empty()) return;
  found.set(index);
  listed.push_back(std::move(row));
}

// setup.ini [enabled] read once for a whole pass, in one read of the
// section, instead of up to three reads for every catalogue entry. Where a
// name could be matched otherwise by the system than by a plain letter-case
// compare (a byte outside ASCII), or the section may fill its buffer and
// hide a last line, it reads per entry as before. A quoted value is read by
// its key, so the system takes its quotes off as for any other value.
class EnabledSection {
 public:
  explicit EnabledSection(const Platform& platform) : platform_(platform) {
    std::vector<std::string> lines = ReadSetupSection(platform, kEnabledSection);
    std::size_t used = 0;
    for (const std::string& line : lines) {
      used += line.size() + 1;
      for (char c : line)
        if (static_cast<unsigned char>(c) >= 0x80) per_entry_ = true;
    }
    if (used * 2 >= kSetupSectionBufferSize) per_entry_ = true;
    if (per_entry_) return;
    // In file order, so a name given twice answers as the system would: the
    // first. A line without "=" names a key with no value.
    for (const std::string& line : lines) {
      std::size_t equals = line.find('=');
      std::string name(TrimmedView(std::string_view(line).substr(0, equals), IsAsciiSpace));
      if (name.empty()) continue;
      std::string value;
      if (equals != std::string::npos) {
        any_key_ = true;
        value = TrimmedView(std::string_view(line).substr(equals + 1), IsAsciiSpace);
        if (!value.empty() && (value.front() == '"' || value.front() == '\''))
          value = ReadSetupValue(platform, kEnabledSection, name);
      }
      settings_.push_back({std::move(name), std::move(value)});
    }
    all_ = Setting(kEnabledAllKey);
  }

  bool IsEnabled(int index) const {
    if (per_entry_) return IsHostEnabled(platform_, index);
    if (!any_key_) return true;
    const HostEntry& entry = HostCatalogue[index];
    std::string setting = Setting(entry.VersionId);
    if (setting.empty()) setting = Setting(entry.HostId);
    if (setting.empty()) setting = all_;
    return !IsOffFlag(setting);
  }

 private:
  struct KeySetting {
    std::string name;
    std::string value;
  };

  std::string Setting(std::string_view key) const {
    for (const KeySetting& setting : settings_)
      if (EqualIgnoringCase(setting.name, key)) return setting.value;
    return {};
  }

  const Platform& platform_;
  bool any_key_ = false;
  bool per_entry_ = false;
  std::vector<KeySetting> settings_;
  std::string all_;
};

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
  // Windows), so what every entry would ask is read once: autoselect and
  // the [enabled] section.
  bool autoselect = Autoselect(platform);
  const EnabledSection enabled(platform);
  std::vector<ListedHost> listed;
  for (int index = 0; index < static_cast<int>(kHostCount); ++index) {
    if (enabled.IsEnabled(index)) AddIfFound(platform, index, autoselect, found, listed);
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
