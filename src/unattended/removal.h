#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "unattended/install_record.h"

namespace setup {

/// Hears each thing a removal does: an event name ("Removed", "Kept",
/// "Refused", "Restored", "Failed", ...) and its details.
using RemovalListener = std::function<void(std::string_view event, std::string_view details)>;

/// What a removal did.
struct RemovalCounts {
  int removed = 0;          // files deleted
  int kept = 0;             // files left because they changed since the install
  int refused = 0;          // recorded files left by a rule (outside the places, a link): the code is 1
  int failed = 0;           // files that could not be read, deleted or put back
  int restored = 0;         // originals put back
  int folders_removed = 0;  // folders taken away because they were empty
};

/// Where a removal may act: the package folder (never touched) and the
/// Windows folder (never touched).
struct RemovalBounds {
  std::string package_folder;  // the place of the package's record and copy
  std::string windows_folder;
};

/// Deletes the recorded files whose content is still what was installed and
/// puts back the originals they replaced, then removes the recorded folders
/// that are empty, deepest first. Nothing is deleted unless it lies below a
/// folder the install served (a root of the record), outside the package
/// folder, the program's own folder and the Windows folder, with no link at
/// it or between the root and it. A changed file stays and leaves the
/// record; `record` keeps afterwards only what a later removal may still
/// do: the files that could not be deleted, the folders above them and the
/// originals not put back.
RemovalCounts RemoveRecorded(const Platform& platform, const RemovalBounds& bounds, InstallRecord& record,
                             const RemovalListener& listener);

}  // namespace setup
