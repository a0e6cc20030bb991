#include "hosts/package_host_places.h"

#include <algorithm>
#include <array>
#include <memory>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

// The last component of a path, without the backslashes after it.
std::string_view LastComponent(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::size_t last = path.rfind('\\');
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

PackageHostMatch Narrowed(const Platform& platform, PackageHost host, std::string_view key_name) {
  PackageHostMatch match;
  match.found_folder = FoundFolderOf(platform, host);
  host.description = ReplacePlaceholder(ReplacePlaceholder(host.description, kKeyPlaceholder, key_name),
                                        kFolderPlaceholder, LastComponent(match.found_folder));
  match.host = std::move(host);
  return match;
}

// A matched subkey or folder name and the host narrowed to it.
struct Named {
  std::string name;
  PackageHost host;
};

std::vector<Named> MatchingKeys(const Platform& platform, const PackageHost& host) {
  std::string_view path = host.key_path;
  std::size_t star = WildcardComponentAt(path);
  std::string_view before = path.substr(0, star), after = path.substr(star + 1);
  std::string parent(before.substr(0, before.empty() ? 0 : before.size() - 1));
  ScopedKey key(platform.registry, platform.registry.OpenForReadingInView(host.root, parent, host.view));
  std::vector<Named> named;
  if (!key) return named;
  for (std::uint32_t i = 0;; ++i) {
    std::optional<std::string> name = platform.registry.SubKeyName(key.get(), i);
    if (!name) break;
    PackageHost narrowed = host;
    narrowed.key_path = std::string(before) + *name + std::string(after);
    named.push_back({std::move(*name), std::move(narrowed)});
  }
  return named;
}

std::vector<Named> MatchingFolders(const Platform& platform, const PackageHost& host, const std::string& pattern) {
  std::vector<Named> named;
  std::unique_ptr<FolderListing> listing = platform.files.ListKinds(pattern);
  if (!listing) return named;
  std::string parent = pattern.substr(0, pattern.size() - LastComponent(pattern).size());
  while (std::optional<FoundEntry> entry = listing->Next()) {
    if (!(entry->attributes & kAttrFolder) || entry->name == "." || entry->name == "..") continue;
    PackageHost narrowed = host;
    narrowed.folder = parent + entry->name;
    narrowed.folder_is_match = true;
    named.push_back({entry->name, std::move(narrowed)});
  }
  return named;
}

}  // namespace

bool IsCatalogueDescription(std::string_view description) {
  for (const HostEntry& entry : HostCatalogue)
    if (EqualIgnoringCase(entry.Description, description)) return true;
  return false;
}

std::vector<PackageHostMatch> MatchesOf(const Platform& platform, const PackageHost& host) {
  std::vector<Named> named;
  if (host.from_registry) {
    if (!EnumeratesKeys(host)) return {Narrowed(platform, host, LastComponent(host.key_path))};
    named = MatchingKeys(platform, host);
  } else {
    std::string pattern = host.folder_is_match ? host.folder : ExpandVariables(host.folder, platform.environment);
    while (!pattern.empty() && pattern.back() == '\\') pattern.pop_back();
    if (host.folder_is_match || LastComponent(pattern).find_first_of("*?") == std::string_view::npos)
      return {Narrowed(platform, host, {})};
    if (pattern.size() > kMaxPathLength) return {};
    named = MatchingFolders(platform, host, pattern);
  }
  std::stable_sort(named.begin(), named.end(),
                   [](const Named& a, const Named& b) { return CompareVersionNames(a.name, b.name) < 0; });
  std::vector<PackageHostMatch> matches;
  for (Named& match : named)
    matches.push_back(Narrowed(platform, std::move(match.host), host.from_registry ? match.name : std::string()));
  return matches;
}

PackageHosts ReadPackageHosts(const Platform& platform) {
  std::array<std::string_view, kHostCount> descriptions;
  for (std::size_t i = 0; i < kHostCount; ++i) descriptions[i] = HostCatalogue[i].Description;
  return ParsePackageHosts(platform, descriptions);
}

std::string FolderTextOf(const Platform& platform, const PackageHost& host) {
  if (host.from_registry)
    return ReadExpandedText(platform.registry, platform.environment, host.view, host.root, host.key_path,
                            host.value_name);
  return host.folder_is_match ? host.folder : ExpandVariables(host.folder, platform.environment);
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
  std::string setting = ReadSetupValue(platform, kEnabledSection, host.id);
  if (setting.empty()) setting = ReadSetupValue(platform, kEnabledSection, kEnabledAllKey);
  return !IsOffFlag(setting);
}

}  // namespace setup
