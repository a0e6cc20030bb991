#pragma once

#include <functional>
#include <span>

#include "hosts/host_catalogue.h"
#include "platform/platform.h"
#include "ui/toolkit.h"

namespace setup {

/// One special detector: stores the folders it finds under the scratch key.
using SpecialDetector = std::function<void()>;

/// Where the detection pass lists what it finds: the main window's host
/// list and its "Also install in..." box.
struct HostListControls {
  Window& window;
  ControlId list;
  ControlId custom_box;
};

/// True unless setup.ini [enabled] switches the entry off: its version key,
/// else its host key, else "all", else on; only "0" switches off.
bool IsHostEnabled(const Platform& platform, int index);

/// Lists entry `index` when it is enabled and its registry value holds a
/// folder, ticked by its Preselect flag unless [options] autoselect is "0".
void AddHostIfFound(const Platform& platform, int index, FoundMarks& found, const HostListControls& controls);

/// The whole pass: the special detectors in order, then the host list
/// rebuilt from the catalogue; the custom folder box is ticked when nothing
/// is listed, and never unticked.
void DetectHosts(const Platform& platform, std::span<const SpecialDetector> detectors, FoundMarks& found,
                 const HostListControls& controls);

}  // namespace setup
