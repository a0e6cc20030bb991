#pragma once

#include <functional>
#include <span>
#include <vector>

#include "config/package_hosts.h"
#include "hosts/host_catalogue.h"
#include "hosts/listed_host.h"
#include "platform/platform.h"

namespace setup {

/// One special detector: stores the folders it finds under the scratch key.
using SpecialDetector = std::function<void()>;

/// The special detectors every detection pass runs, in their order.
std::vector<SpecialDetector> SpecialDetectors(const Platform& platform);

/// True unless setup.ini [enabled] switches the entry off: its version key,
/// else its host key, else "all", else on; only "0" switches off.
bool IsHostEnabled(const Platform& platform, int index);

/// Lists entry `index` (marks it found and adds its row) when it is enabled
/// and its registry value holds a folder, ticked by its Preselect flag
/// unless [options] autoselect is "0".
void AddHostIfFound(const Platform& platform, int index, FoundMarks& found, std::vector<ListedHost>& listed);

/// The whole pass: the special detectors in order, the catalogue walk, then
/// the package hosts (read by the caller with ReadPackageHosts) that are
/// enabled, each place of each (MatchesOf) whose folder exists and whose
/// text no catalogue entry and no row before has, up to kMaxPackageHosts
/// rows; ticked by their select unless autoselect is "0".
/// The rows to list, in that order; the caller shows them.
std::vector<ListedHost> DetectHosts(const Platform& platform, std::span<const SpecialDetector> detectors,
                                    FoundMarks& found, std::span<const PackageHost> package_hosts = {});

}  // namespace setup
