#include "platform/tree_walk.h"

#include <memory>
#include <optional>

namespace setup {

bool WalkTree(FileSystem& files, const std::string& folder, TreeVisitor& visitor, int depth) {
  if (depth > kMaxTreeDepth) return true;
  switch (visitor.EnterFolder(folder, depth)) {
    case WalkStep::kStop: return false;
    case WalkStep::kSkip: return true;
    case WalkStep::kGoOn: break;
  }
  std::unique_ptr<FolderListing> listing = files.ListKinds(folder + "*");
  if (!listing) return true;
  while (std::optional<FoundEntry> entry = listing->Next()) {
    if ((entry->attributes & kAttrFolder) == 0) {
      if (visitor.VisitFile(folder, entry->name) == WalkStep::kStop) return false;
      continue;
    }
    if (entry->name == "." || entry->name == ".." || (entry->attributes & kAttrReparsePoint) != 0) continue;
    if (!WalkTree(files, folder + entry->name + "\\", visitor, depth + 1)) return false;
  }
  return true;
}

}  // namespace setup
