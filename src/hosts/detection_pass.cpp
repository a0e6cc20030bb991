#include "hosts/detection_pass.h"

#include "config/setup_config.h"
#include "hosts/registry_access.h"

namespace setup {

bool IsHostEnabled(const Platform& platform, int index) {
  const HostEntry& entry = HostCatalogue[index];
  std::string setting = ReadSetupValue(platform, "enabled", entry.VersionId);
  if (setting.empty()) setting = ReadSetupValue(platform, "enabled", entry.HostId);
  if (setting.empty()) setting = ReadSetupValue(platform, "enabled", "all");
  return !IsOffFlag(setting);
}

void AddHostIfFound(const Platform& platform, int index, FoundMarks& found, const HostListControls& controls) {
  if (!IsHostEnabled(platform, index)) return;
  const HostEntry& entry = HostCatalogue[index];
  if (ReadRegistryText(platform.registry, entry.Root, entry.KeyPath, entry.ValueName).empty()) return;
  found.set(index);
  controls.window.AddItem(controls.list, entry.Description, false);
  if (!IsOffFlag(ReadSetupValue(platform, "options", "autoselect"))) {
    controls.window.SetItemChecked(controls.list, controls.window.ItemCount(controls.list) - 1, entry.Preselect);
  }
}

void DetectHosts(const Platform& platform, std::span<const SpecialDetector> detectors, FoundMarks& found,
                 const HostListControls& controls) {
  for (const SpecialDetector& detector : detectors) detector();
  controls.window.ClearItems(controls.list);
  for (int index = 0; index < static_cast<int>(kHostCount); ++index)
    AddHostIfFound(platform, index, found, controls);
  if (controls.window.ItemCount(controls.list) == 0) controls.window.SetChecked(controls.custom_box, true);
}

}  // namespace setup
