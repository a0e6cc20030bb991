#pragma once

#include <functional>
#include <string_view>

#include "platform/platform.h"
#include "unattended/install_record.h"

namespace setup {

/// Hears each thing a removal does: an event name ("Removed", "Kept",
/// "Failed", ...) and its details.
using RemovalListener = std::function<void(std::string_view event, std::string_view details)>;

/// What a removal did.
struct RemovalCounts {
  int removed = 0;          // files deleted
  int kept = 0;             // files left because they changed or are not this package's
  int failed = 0;           // files that could not be read or deleted
  int folders_removed = 0;  // folders taken away because they were empty
};

/// Deletes the recorded files whose content is still what was installed and
/// still what the package holds under the same name (so a record naming
/// other files deletes none of them), then the recorded folders that are
/// empty, deepest first. A changed file stays, and so does every file the
/// record does not name. `record` keeps afterwards only what a later
/// removal may still take: the files that could not be deleted or belong to
/// another version of the package, and the folders above them.
RemovalCounts RemoveRecorded(const Platform& platform, InstallRecord& record, const RemovalListener& listener);

}  // namespace setup
