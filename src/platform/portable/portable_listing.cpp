#include "platform/portable/portable_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/portable/portable_attributes.h"
#include "platform/portable/portable_errors.h"
#include "platform/portable/wildcard_match.h"

namespace setup {
namespace {

// Folded to upper case as NTFS orders its indexes; ties go by bytes so the
// order never depends on the host's directory order.
bool ListsBefore(const std::string& a, const std::string& b) {
  if (LessIgnoringCase(a, b)) return true;
  if (LessIgnoringCase(b, a)) return false;
  return a < b;
}

class SnapshotListing final : public FolderListing {
 public:
  explicit SnapshotListing(std::vector<FoundEntry> entries) : entries_(std::move(entries)) {}
  std::optional<FoundEntry> Next() override {
    if (next_ >= entries_.size()) return std::nullopt;
    return entries_[next_++];
  }

 private:
  std::vector<FoundEntry> entries_;
  std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<FolderListing> ListHostFolder(const std::filesystem::path& folder, std::string_view name_pattern,
                                              bool below_root, bool all_attributes, std::uint32_t& error,
                                              NameConversion conversion) {
  int folder_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = folder_fd >= 0 ? ::fdopendir(folder_fd) : nullptr;
  if (dir == nullptr) {
    error = ErrorFromErrno(errno, folder);
    if (folder_fd >= 0) ::close(folder_fd);
    return nullptr;
  }
  // Entries are asked about relative to the open folder, which spares the
  // host a walk down the whole path for each; the extended attribute alone
  // needs the whole path.
  std::string path = folder.string() + "/";
  std::size_t path_length = path.size();
  std::vector<FoundEntry> entries;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    std::string ansi_name = AnsiFromHostName(name, conversion);
    if (!EntryMatches(name_pattern, ansi_name)) continue;
    path.resize(path_length);
    path.append(name);
    // An entry removed since readdir saw it is simply left out.
    auto attributes = all_attributes ? AttributesAt(folder_fd, entry->d_name, path.c_str(), name)
                                     : KindAt(folder_fd, *entry, path.c_str());
    if (attributes) entries.push_back({std::move(ansi_name), *attributes});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FoundEntry& a, const FoundEntry& b) { return ListsBefore(a.name, b.name); });
  // Drive roots have no "." and "..", every other folder lists them first.
  if (below_root) {
    for (const char* dots : {"..", "."}) {
      if (NameMatches(name_pattern, dots)) entries.insert(entries.begin(), FoundEntry{dots, kAttrFolder});
    }
  }
  if (entries.empty()) {
    error = kErrorFileNotFound;
    return nullptr;
  }
  return std::make_unique<SnapshotListing>(std::move(entries));
}

}  // namespace setup
