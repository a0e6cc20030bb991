#include "config/package_hosts.h"

#include <algorithm>
#include <optional>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"

namespace setup {
namespace {

bool IsIdCharacter(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_'; }

bool IsValidId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id)
    if (!IsIdCharacter(c)) return false;
  return true;
}

std::optional<RootKey> RootNamed(std::string_view name) {
  if (EqualIgnoringCase(name, "HKLM") || EqualIgnoringCase(name, "HKEY_LOCAL_MACHINE")) return RootKey::kLocalMachine;
  if (EqualIgnoringCase(name, "HKCU") || EqualIgnoringCase(name, "HKEY_CURRENT_USER")) return RootKey::kCurrentUser;
  return std::nullopt;
}

// registry=<root>\<key path>|<value name>: fills the host's registry place,
// or says what is wrong with it.
std::optional<PackageHostProblem> ParseRegistryPlace(std::string_view text, PackageHost& host) {
  std::size_t bar = text.find('|');
  std::string_view key = text.substr(0, bar);
  std::size_t slash = key.find('\\');
  std::optional<RootKey> root = RootNamed(key.substr(0, slash));
  if (!root) return PackageHostProblem::kBadRoot;
  std::string_view path = slash == std::string_view::npos ? std::string_view() : key.substr(slash + 1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (bar == std::string_view::npos || path.empty()) return PackageHostProblem::kBadRegistry;
  if (std::size_t star = WildcardComponentAt(path);
      star != std::string_view::npos && WildcardComponentAt(path.substr(star + 1)) != std::string_view::npos)
    return PackageHostProblem::kManyWildcards;
  host.from_registry = true;
  host.root = *root;
  host.key_path = std::string(path);
  host.value_name = std::string(text.substr(bar + 1));
  return std::nullopt;
}

bool DescriptionTaken(std::string_view description, std::span<const std::string_view> taken,
                      const std::vector<PackageHost>& earlier) {
  for (std::string_view other : taken)
    if (EqualIgnoringCase(other, description)) return true;
  for (const PackageHost& other : earlier)
    if (EqualIgnoringCase(other.description, description)) return true;
  return false;
}

}  // namespace

PackageHosts ParsePackageHosts(const Platform& platform, std::span<const std::string_view> taken_descriptions) {
  PackageHosts result;
  std::vector<std::string> seen_ids;
  for (const std::string& id : ReadSetupKeys(platform, kHostsSection)) {
    auto skip = [&](PackageHostProblem problem) { result.skipped.push_back({id, problem}); };
    if (!IsValidId(id)) {
      skip(PackageHostProblem::kBadId);
      continue;
    }
    bool duplicate = false;
    for (const std::string& seen : seen_ids) duplicate = duplicate || EqualIgnoringCase(seen, id);
    seen_ids.push_back(id);
    if (duplicate) {
      skip(PackageHostProblem::kDuplicateId);
      continue;
    }

    PackageHost host;
    host.id = id;
    host.description = ReadSetupValue(platform, kHostsSection, id);
    if (host.description.empty()) {
      skip(PackageHostProblem::kNoDescription);
      continue;
    }
    std::string section = std::string(kHostSectionPrefix) + id;
    auto read = [&](std::string_view key) { return ReadSetupValue(platform, section, key); };
    std::string registry = read(kHostRegistryKey);
    host.folder = read(kHostFolderKey);
    if (!registry.empty()) {
      if (std::optional<PackageHostProblem> problem = ParseRegistryPlace(registry, host)) {
        skip(*problem);
        continue;
      }
      host.view = read(kHostViewKey) == "64" ? RegistryView::k64Bit : RegistryView::k32Bit;
    } else if (host.folder.empty()) {
      skip(PackageHostProblem::kNoPlace);
      continue;
    }
    host.append = read(kHostAppendKey);
    if (!StaysInside(host.append)) {
      skip(PackageHostProblem::kBadAppend);
      continue;
    }
    host.use_subdir = !IsOffFlag(read(kHostSubdirKey));
    if (std::string files = read(kHostFilesKey); !files.empty()) host.files_section = files;
    host.preselect = !IsOffFlag(read(kHostSelectKey));

    if (!HasPlaceholder(host.description) && DescriptionTaken(host.description, taken_descriptions, result.hosts)) {
      skip(PackageHostProblem::kDuplicateDescription);
      continue;
    }
    if (result.hosts.size() >= kMaxPackageHosts) {
      skip(PackageHostProblem::kOverLimit);
      continue;
    }
    result.hosts.push_back(std::move(host));
  }
  return result;
}

bool HasPlaceholder(std::string_view description) {
  return description.find(kKeyPlaceholder) != std::string_view::npos ||
         description.find(kFolderPlaceholder) != std::string_view::npos;
}

std::size_t WildcardComponentAt(std::string_view key_path) {
  for (std::size_t from = 0; from <= key_path.size();) {
    std::size_t end = std::min(key_path.find('\\', from), key_path.size());
    if (key_path.substr(from, end - from) == "*") return from;
    from = end + 1;
  }
  return std::string_view::npos;
}

bool EnumeratesKeys(const PackageHost& host) {
  return host.from_registry && WildcardComponentAt(host.key_path) != std::string_view::npos;
}

std::string_view ProblemText(PackageHostProblem problem) {
  switch (problem) {
    case PackageHostProblem::kBadId: return "the id may hold only letters, digits, '-' and '_'";
    case PackageHostProblem::kDuplicateId: return "an earlier host has the same id";
    case PackageHostProblem::kNoDescription: return "the host has no text to show in the host list";
    case PackageHostProblem::kNoPlace: return "its section gives neither registry nor folder";
    case PackageHostProblem::kBadRoot: return "registry must start with HKLM or HKCU";
    case PackageHostProblem::kBadRegistry: return "registry must be <root>\\<key path>|<value name>";
    case PackageHostProblem::kManyWildcards: return "registry may have one \"*\" key component at most";
    case PackageHostProblem::kBadAppend: return "append must be a relative folder that stays inside the found one";
    case PackageHostProblem::kDuplicateDescription: return "a catalogue host or an earlier host has the same text";
    case PackageHostProblem::kOverLimit: return "no more than 100 hosts are taken";
  }
  return {};
}

}  // namespace setup
