#include "unattended/removal.h"

#include <algorithm>

#include "config/setup_config.h"
#include "config/text.h"

namespace setup {
namespace {

std::string Reason(FileSystem& files) {
  std::uint32_t code = files.LastError();
  std::optional<std::string> text = files.ErrorText(code);
  return text ? *text : "error " + std::to_string(code);
}

bool Unchanged(const std::optional<std::string>& content, const RecordedFile& file) {
  return content && content->size() == file.size && ContentHash(*content) == file.hash;
}

bool Inside(std::string_view path, std::string_view folder) {
  return path.size() > folder.size() && StartsWithIgnoringCase(path, folder) &&
         (folder.back() == '\\' || path[folder.size()] == '\\');
}

std::size_t Depth(std::string_view path) {
  return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

}  // namespace

RemovalCounts RemoveRecorded(const Platform& platform, InstallRecord& record, const RemovalListener& listener) {
  FileSystem& files = platform.files;
  RemovalCounts counts;
  std::string program_folder = ProgramFolder(files);
  std::vector<RecordedFile> remaining;
  for (const RecordedFile& file : record.files) {
    if (!files.FileExists(file.path)) {
      listener("Gone", file.path);
      continue;
    }
    std::optional<std::string> content = files.ReadWholeFile(file.path, kMaxHashedFileSize);
    if (!content) {
      ++counts.failed;
      listener("Failed", file.path + ": " + Reason(files));
      remaining.push_back(file);
      continue;
    }
    if (!Unchanged(content, file)) {
      ++counts.kept;
      listener("Kept", file.path + " (changed since it was installed)");
      continue;
    }
    if (!Unchanged(files.ReadWholeFile(program_folder + file.source, kMaxHashedFileSize), file)) {
      ++counts.kept;
      listener("Kept", file.path + " (not the file " + file.source + " of this package)");
      remaining.push_back(file);
      continue;
    }
    if (!files.RemoveFile(file.path)) {
      ++counts.failed;
      listener("Failed", file.path + ": " + Reason(files));
      remaining.push_back(file);
      continue;
    }
    ++counts.removed;
    listener("Removed", file.path);
  }

  std::vector<std::string> folders = record.folders;
  std::stable_sort(folders.begin(), folders.end(),
                   [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
  std::vector<std::string> remaining_folders;
  for (const std::string& folder : folders) {
    if (!files.FolderExists(folder)) continue;
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
  record.files = std::move(remaining);
  record.folders = std::move(remaining_folders);
  return counts;
}

}  // namespace setup
