#include "scan/drive_scan.h"

#include <utility>

#include "platform/tree_walk.h"

namespace setup {
namespace {

// The walk shows where it is only this far down; deeper folders change too
// quickly to be read and would cost a repaint each.
constexpr int kLabelledDepths = 3;

class ScanVisitor : public TreeVisitor {
 public:
  ScanVisitor(ScanObserver& observer, const ScanHitHandler& check_scan_hit)
      : observer_(observer), check_scan_hit_(check_scan_hit) {}

  WalkStep EnterFolder(const std::string& folder, int depth) override {
    observer_.LetUserAct();
    if (observer_.StopRequested()) return WalkStep::kStop;
    if (depth < kLabelledDepths) observer_.FolderReached(folder);
    return WalkStep::kGoOn;
  }
  WalkStep VisitFile(const std::string& folder, std::string_view name) override {
    check_scan_hit_(folder, name);
    return WalkStep::kGoOn;
  }

 private:
  ScanObserver& observer_;
  const ScanHitHandler& check_scan_hit_;
};

}  // namespace

DriveScan::DriveScan(const Platform& platform, ScanObserver& observer, ScanHitHandler check_scan_hit)
    : platform_(platform), observer_(observer), check_scan_hit_(std::move(check_scan_hit)) {}

bool DriveScan::ScanDrives() {
  std::string root = "A:\\";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (platform_.files.DriveTypeOf(root) != kDriveFixed) continue;
    if (!ScanFolder(root, 0)) return false;
  }
  return true;
}

bool DriveScan::ScanFolder(const std::string& folder, int depth) {
  ScanVisitor visitor(observer_, check_scan_hit_);
  return WalkTree(platform_.files, folder, visitor, depth);
}

}  // namespace setup
