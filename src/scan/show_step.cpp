#include "scan/show_step.h"

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "hosts/package_host_places.h"
#include "scan/scan_hits.h"

namespace setup {

void ScanDrivesForHosts(const Platform& platform, ScanObserver& observer, bool& image_explorer_pro_mark) {
  DriveScan scan(platform, observer, [&](const std::string& folder, std::string_view file_name) {
    CheckScanHit(platform, image_explorer_pro_mark, folder, file_name);
  });
  scan.ScanDrives();
}

std::vector<ListedHost> RunShowStep(const Platform& platform, std::span<const SpecialDetector> detectors,
                                    FoundMarks& found, const std::function<void()>& scan_drives,
                                    DriveScanChoice choice) {
  if (choice == DriveScanChoice::kAlways || IsOnFlag(ReadSetupValue(platform, kOptionsSection, kAutoscanKey)))
    scan_drives();
  return DetectHosts(platform, detectors, found, ReadPackageHosts(platform).hosts);
}

}  // namespace setup
