#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/package_hosts.h"
#include "hosts/detection_pass.h"

namespace setup {

/// The ids that may name a listed host in /HOSTS: a catalogue entry's host
/// id and version id, a package host's id (the [enabled] keys). Package host
/// n of the pass is package_hosts[n].
std::vector<std::string_view> HostIds(const ListedHost& host, std::span<const PackageHost> package_hosts);

/// Which listed hosts a run installs into.
struct TargetChoice {
  std::vector<int> hosts;              // catalogue entries, in list (catalogue) order
  std::vector<std::string> unmatched;  // ids of /HOSTS that name no listed host, as written
};

/// Without /HOSTS the ticked hosts; with it the listed hosts one of whose ids
/// equals an id of the list, letter case ignored, ticked or not ("none"
/// names no host, so /HOSTS=none chooses none).
TargetChoice ChooseTargets(std::span<const ListedHost> listed, std::span<const PackageHost> package_hosts,
                           const std::optional<std::vector<std::string>>& ids);

}  // namespace setup
