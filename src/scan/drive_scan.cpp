#include "scan/drive_scan.h"

#include <utility>

#include "ui/work_window.h"

namespace setup {
namespace {

// The walk shows where it is only this far down; deeper folders change too
// quickly to be read and would cost a repaint each.
constexpr int kLabelledDepths = 3;

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

DriveScan::DriveScan(const Platform& platform, ScanWindows windows, ScanHitHandler check_scan_hit,
                     std::chrono::nanoseconds pump_interval)
    : platform_(platform), windows_(windows), check_scan_hit_(std::move(check_scan_hit)),
      pump_interval_(pump_interval) {}

void DriveScan::ScanDrives() {
  WorkWindowScope scope(windows_.progress, windows_.main);
  pumped_ = false;

  std::string root = "A:\\";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (platform_.files.DriveTypeOf(root) != kDriveFixed) continue;
    if (!ScanFolder(root, 0)) break;
  }
}

bool DriveScan::ScanFolder(const std::string& folder, int depth) {
  LetWindowsHandleMessages();
  if (platform_.keyboard.EscapePressed()) return false;
  if (depth < kLabelledDepths) {
    windows_.progress.SetText(windows_.label, folder);
    windows_.progress.RepaintNow();
  }

  std::unique_ptr<FolderListing> listing = platform_.files.ListKinds(folder + "*");
  if (!listing) return true;
  while (std::optional<FoundEntry> entry = listing->Next()) {
    if ((entry->attributes & kAttrFolder) == 0) {
      check_scan_hit_(folder, entry->name);
      continue;
    }
    // A junction or symbolic link may lead back up the tree; its target is
    // walked where it really lies, if on a fixed drive.
    if (IsDotEntry(entry->name) || (entry->attributes & kAttrReparsePoint) != 0) continue;
    if (!ScanFolder(folder + entry->name + "\\", depth + 1)) return false;
  }
  return true;
}

void DriveScan::LetWindowsHandleMessages() {
  auto now = std::chrono::steady_clock::now();
  if (pumped_ && now - last_pump_ < pump_interval_) return;
  pumped_ = true;
  last_pump_ = now;
  windows_.progress.ProcessPendingMessages();
  windows_.main.ProcessPendingMessages();
}

}  // namespace setup
