#pragma once

#include <span>
#include <vector>

#include "hosts/detection_pass.h"
#include "platform/platform.h"
#include "scan/drive_scan.h"

namespace setup {

/// Whether the show step scans the drives: as [options] autoscan says, or
/// always (the rescan button).
enum class DriveScanChoice { kAsConfigured, kAlways };

/// Walks every fixed drive told to `observer`, storing what the scan-hit
/// recognisers find under the scratch key.
void ScanDrivesForHosts(const Platform& platform, ScanObserver& observer, bool& image_explorer_pro_mark);

/// The show step: the drive scan (`scan_drives`, which the caller wraps in
/// whatever window it shows) when `choice` asks for it, then the detection
/// pass with the package's own hosts. The rows to list, in list order.
std::vector<ListedHost> RunShowStep(const Platform& platform, std::span<const SpecialDetector> detectors,
                                    FoundMarks& found, const std::function<void()>& scan_drives,
                                    DriveScanChoice choice = DriveScanChoice::kAsConfigured);

}  // namespace setup
