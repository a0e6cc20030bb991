#include "unattended/removal.h"

#include <algorithm>

#include "config/setup_config.h"
#include "config/text.h"
#include "platform/ansi_text.h"
#include "unattended/install_log.h"

namespace setup {
namespace {

std::string Reason(FileSystem& files) {
  std::uint32_t code = files.LastError();
  std::optional<std::string> text = files.ErrorText(code);
  return text ? OneLine(*text) : "error " + std::to_string(code);
}

bool Unchanged(const std::optional<std::string>& content, const RecordedFile& file) {
  return content && content->size() == file.size && ContentHash(*content) == file.hash;
}

bool Inside(std::string_view path, std::string_view folder) {
  return !folder.empty() && path.size() > folder.size() && StartsWithIgnoringCase(path, folder) &&
         (folder.back() == '\\' || path[folder.size()] == '\\');
}

std::size_t Depth(std::string_view path) {
  return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

// Why a recorded path may not be touched; empty when it may.
class Rules {
 public:
  Rules(const Platform& platform, const RemovalBounds& bounds, const InstallRecord& record)
      : files_(platform.files), bounds_(bounds), record_(record), program_folder_(ProgramFolder(platform.files)) {}

  std::string Refusal(const std::string& path) {
    if (Inside(path, bounds_.windows_folder) || EqualIgnoringCase(path, bounds_.windows_folder))
      return "in the Windows folder";
    if (Inside(path, bounds_.package_folder) || Inside(path, program_folder_)) return "in the package's own folder";
    const std::string* root = RootOf(path);
    if (!root) return "not below a folder the install served";
    // Every level from below the root down to the path itself.
    for (std::size_t at = root->size() + 1; at <= path.size(); ++at) {
      at = std::min(path.find('\\', at), path.size());
      if (files_.IsLink(path.substr(0, at))) return "a link stands at " + path.substr(0, at);
    }
    return {};
  }

 private:
  const std::string* RootOf(const std::string& path) const {
    for (const std::string& root : record_.roots)
      if (Inside(path, root)) return &root;
    return nullptr;
  }

  FileSystem& files_;
  const RemovalBounds& bounds_;
  const InstallRecord& record_;
  std::string program_folder_;
};

}  // namespace

RemovalCounts RemoveRecorded(const Platform& platform, const RemovalBounds& bounds, InstallRecord& record,
                             const RemovalListener& listener) {
  FileSystem& files = platform.files;
  RemovalCounts counts;
  Rules rules(platform, bounds, record);
  std::vector<RecordedFile> remaining;
  std::vector<KeptOriginal> originals_left;
  // Puts back what stood there before the install; the original is
  // dropped from the record once back, or when the place is not ours to
  // write (a changed file or a refused path).
  auto restore = [&](const std::string& path, bool may_write) {
    const KeptOriginal* original = record.OriginalOf(path);
    if (!original) return;
    std::string kept = AddTrailingBackslash(bounds.package_folder) + original->kept;
    if (!may_write) {
      listener("Kept original", kept + " (of " + path + ")");
      return;
    }
    if (files.IsLink(kept) || !files.CopyReplacing(kept, path)) {
      ++counts.failed;
      listener("Failed", "the original of " + path + " could not be put back from " + kept + ": " + Reason(files));
      originals_left.push_back(*original);
      return;
    }
    files.RemoveFile(kept);
    ++counts.restored;
    listener("Restored", path);
  };

  for (const RecordedFile& file : record.files) {
    std::string refusal = rules.Refusal(file.path);
    if (!refusal.empty()) {
      ++counts.refused;
      listener("Refused", file.path + " (" + refusal + ")");
      restore(file.path, false);
      continue;
    }
    if (!files.FileExists(file.path)) {
      listener("Gone", file.path);
      restore(file.path, true);
      continue;
    }
    std::optional<std::string> content = files.ReadWholeFile(file.path, kMaxHashedFileSize);
    if (!content) {
      ++counts.failed;
      listener("Failed", file.path + ": " + Reason(files));
      remaining.push_back(file);
      if (const KeptOriginal* original = record.OriginalOf(file.path)) originals_left.push_back(*original);
      continue;
    }
    if (!Unchanged(content, file)) {
      ++counts.kept;
      listener("Kept", file.path + " (changed since it was installed)");
      restore(file.path, false);
      continue;
    }
    if (!files.RemoveFile(file.path)) {
      ++counts.failed;
      listener("Failed", file.path + ": " + Reason(files));
      remaining.push_back(file);
      if (const KeptOriginal* original = record.OriginalOf(file.path)) originals_left.push_back(*original);
      continue;
    }
    ++counts.removed;
    listener("Removed", file.path);
    restore(file.path, true);
  }

  std::vector<std::string> folders = record.folders;
  std::stable_sort(folders.begin(), folders.end(),
                   [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
  std::vector<std::string> remaining_folders;
  for (const std::string& folder : folders) {
    if (!files.FolderExists(folder)) continue;
    std::string refusal = rules.Refusal(folder);
    if (!refusal.empty()) {
      listener("Kept folder", folder + " (" + refusal + ")");
      continue;
    }
    if (files.RemoveFolder(folder)) {
      ++counts.folders_removed;
      listener("Removed folder", folder);
      continue;
    }
    listener("Kept folder", folder + " (not empty)");
    bool holds_remaining = std::any_of(remaining.begin(), remaining.end(),
                                       [&](const RecordedFile& file) { return Inside(file.path, folder); });
    if (holds_remaining) remaining_folders.push_back(folder);
  }
  // The roots stay as long as something below them may still be removed.
  std::vector<std::string> roots;
  for (const std::string& root : record.roots) {
    bool used = std::any_of(remaining.begin(), remaining.end(),
                            [&](const RecordedFile& file) { return Inside(file.path, root); });
    if (used) roots.push_back(root);
  }
  record.files = std::move(remaining);
  record.folders = std::move(remaining_folders);
  record.roots = std::move(roots);
  record.originals = std::move(originals_left);
  return counts;
}

}  // namespace setup
