#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/deployment.h"
#include "platform/platform.h"

namespace setup {

/// FNV-1a, 64 bits: tells whether a file changed since it was installed. It
/// is no protection against a file made to look unchanged on purpose.
std::uint64_t ContentHash(std::string_view bytes);

/// One installed file: where it went, what it came from in the package, and
/// its size and content hash as installed.
struct RecordedFile {
  std::string path;    // full path
  std::string source;  // path relative to the program folder
  std::uint64_t size = 0;
  std::uint64_t hash = 0;

  bool operator==(const RecordedFile&) const = default;
};

/// What unattended installs of one package put on the machine: the files,
/// and the folders they made (which removal takes away again when empty).
/// As text, one entry a line, fields separated by tabs (no path holds one):
///   Plug-in Setup install record 1
///   folder<TAB><full path>
///   file<TAB><size><TAB><hash, 16 hex digits><TAB><source><TAB><full path>
struct InstallRecord {
  std::vector<RecordedFile> files;
  std::vector<std::string> folders;

  /// Adds a file, replacing an entry for the same path (letter case ignored).
  void AddFile(RecordedFile file);
  /// Adds a folder unless it is there already (letter case ignored).
  void AddFolder(std::string folder);
  bool empty() const { return files.empty() && folders.empty(); }

  std::string ToText() const;
  /// Reads the text; lines that are not entries (a damaged or foreign line,
  /// a path that is not a full one) are left out. Nothing when the first
  /// line is not the header.
  static std::optional<InstallRecord> FromText(std::string_view text);
};

/// The record file of the package named by [presentation] title:
/// <common data folder>\<maker>\<title>\Install record.txt. Letters a file
/// name cannot hold become "_"; an empty title is "Untitled". Empty when the
/// system names no common data folder.
std::string RecordPath(const Platform& platform, std::string_view maker);

/// The most a recorded or installed file may hold to be hashed: it is read
/// whole, and plug-in files are far smaller.
inline constexpr std::size_t kMaxHashedFileSize = std::size_t{64} << 20;

/// An installation watcher that keeps the record of what arrived, adding to
/// a record loaded before; other events go to the next watcher.
class RecordingObserver : public InstallationObserver {
 public:
  RecordingObserver(FileSystem& files, InstallRecord& record, InstallationObserver& next)
      : files_(files), record_(record), next_(next) {}

  void TargetStarted(const std::string& name, int k, int n) override { next_.TargetStarted(name, k, n); }
  void FilesCounted(int count) override { next_.FilesCounted(count); }
  void FileStarted(const std::string& file, int n, int count) override { next_.FileStarted(file, n, count); }
  void ShowError(const std::string& text) override { next_.ShowError(text); }
  void LetUserAct() override { next_.LetUserAct(); }
  bool CancelRequested() override { return next_.CancelRequested(); }
  void FileCopied(const std::string& file, const std::string& destination) override;
  void FolderCreated(const std::string& folder) override;

  /// Files that arrived but could not be read back to be recorded, so that
  /// removal will leave them.
  std::vector<std::string> unrecorded;

 private:
  FileSystem& files_;
  InstallRecord& record_;
  InstallationObserver& next_;
};

}  // namespace setup
