#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

/// Called for every file the walk meets: its folder (ending in a
/// backslash) and its bare name as the file system reports it.
using ScanHitHandler = std::function<void(const std::string& folder, std::string_view file_name)>;

/// What a drive scan tells and asks of whoever shows it.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  /// The walk entered a folder of the top three levels of a drive (a full
  /// path ending in a backslash); deeper folders change too fast to be read.
  virtual void FolderReached(const std::string& folder) = 0;
  /// At every folder: the user may act now (the windows handle their input).
  virtual void LetUserAct() = 0;
  /// Asked at every folder, after LetUserAct: true ends the whole walk.
  virtual bool StopRequested() = 0;
};

/// Walks every fixed drive from A: to Z:, depth first and in listing order,
/// handing each file to the hit handler. Folder links are not followed.
class DriveScan {
 public:
  DriveScan(const Platform& platform, ScanObserver& observer, ScanHitHandler check_scan_hit);

  /// The whole walk; false when a stop request ended it.
  bool ScanDrives();
  /// Visits one folder (a full path ending in a backslash) at a walk depth
  /// (0 for a drive root); false when a stop request ended the walk. A folder
  /// that cannot be listed is passed over.
  bool ScanFolder(const std::string& folder, int depth);

 private:
  const Platform& platform_;
  ScanObserver& observer_;
  ScanHitHandler check_scan_hit_;
};

}  // namespace setup
