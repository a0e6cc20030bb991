#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/detection_pass.h"

namespace setup {

/// Which listed hosts a run installs into.
struct TargetChoice {
  std::vector<std::size_t> hosts;      // positions in the list, in list order
  std::vector<std::string> unmatched;  // ids of /HOSTS that name no listed host, as written
};

/// Without /HOSTS the ticked hosts; with it the listed hosts one of whose ids
/// (a catalogue entry's host and version id, a package host's id) equals an
/// id of the list, letter case ignored, ticked or not ("none" names no
/// host, so /HOSTS=none chooses none).
TargetChoice ChooseTargets(std::span<const ListedHost> listed, const std::optional<std::vector<std::string>>& ids);

}  // namespace setup
