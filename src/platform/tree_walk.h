#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace setup {

/// The deepest level a walk enters: a path of at most 259 characters holds
/// no more folders below a drive root.
inline constexpr int kMaxTreeDepth = 128;

/// What a walk does next.
enum class WalkStep {
  kGoOn,  // on with this folder or file
  kSkip,  // from EnterFolder: pass this folder over, the walk goes on beside it
  kStop,  // end the whole walk at once
};

/// What a tree walk does at each folder and file it meets.
class TreeVisitor {
 public:
  virtual ~TreeVisitor() = default;
  /// Before a folder (a full path ending in a backslash) is listed; depth 0
  /// for the folder the walk starts at.
  virtual WalkStep EnterFolder(const std::string& folder, int depth) = 0;
  /// A file met in a folder, by its bare name; kSkip counts as kGoOn.
  virtual WalkStep VisitFile(const std::string& folder, std::string_view name) = 0;
};

/// Walks the tree below `folder` (a full path ending in a backslash) depth
/// first, files and sub-folders in the one order the listing gives. A folder
/// that cannot be listed is passed over. Folder links (junctions, symbolic
/// links) are not entered: one leading back up the tree would send the walk
/// round until the path length gave out. Folders deeper than kMaxTreeDepth
/// below the start are passed over, as no path the system reaches holds
/// more levels. False when the visitor stopped it.
bool WalkTree(FileSystem& files, const std::string& folder, TreeVisitor& visitor, int depth = 0);

}  // namespace setup
