#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/deployment.h"
#include "platform/platform.h"
#include "unattended/package_place.h"

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

/// A file that stood where an install put one of its own: kept in the
/// package folder under `kept` (relative to it) to be put back by removal.
struct KeptOriginal {
  std::string path;  // full path where it stood
  std::string kept;  // relative to the package folder

  bool operator==(const KeptOriginal&) const = default;
};

/// What unattended installs of one package put on the machine: the files,
/// the folders they made (which removal takes away again when empty), the
/// host and /DIR folders they installed into (nothing outside them is ever
/// removed) and the originals of the files they replaced.
/// As text, one entry a line, fields separated by tabs (no path holds one):
///   Plug-in Setup install record 1
///   root<TAB><full path>
///   folder<TAB><full path>
///   file<TAB><size><TAB><hash, 16 hex digits><TAB><source><TAB><full path>
///   original<TAB><kept, relative to the package folder><TAB><full path>
struct InstallRecord {
  std::vector<RecordedFile> files;
  std::vector<std::string> folders;
  std::vector<std::string> roots;
  std::vector<KeptOriginal> originals;

  /// Adds a file, replacing an entry for the same path (letter case ignored).
  void AddFile(RecordedFile file);
  /// Adds a folder unless it is there already (letter case ignored).
  void AddFolder(std::string folder);
  /// Adds a folder installed into unless it is there already.
  void AddRoot(std::string folder);
  /// Adds an original unless one is kept for its path already.
  void AddOriginal(KeptOriginal original);
  /// The recorded file at a path, or null.
  const RecordedFile* FileAt(std::string_view path) const;
  /// The original kept for a path, or null.
  const KeptOriginal* OriginalOf(std::string_view path) const;
  /// Nothing left to remove or to put back.
  bool empty() const { return files.empty() && folders.empty() && originals.empty(); }

  std::string ToText() const;
  /// Reads the text; lines that are not entries (a damaged or foreign line,
  /// a path that is not a full one) are left out. Nothing when the first
  /// line is not the header.
  static std::optional<InstallRecord> FromText(std::string_view text);
};

/// A text as a name a folder may bear: letters Windows forbids in one and
/// control characters become "_", blanks and dots at the end and blanks at
/// the start go.
std::string FolderName(std::string_view text);

/// The most a recorded or installed file may hold to be hashed: it is read
/// whole, and plug-in files are far smaller.
inline constexpr std::size_t kMaxHashedFileSize = std::size_t{64} << 20;

/// An installation watcher that keeps the record of what arrived, adding to
/// a record loaded before, and keeps the original of a file before it is
/// replaced (in the place's Originals folder; without a place no file is
/// replaced); other events go to the next watcher.
class RecordingObserver : public InstallationObserver {
 public:
  RecordingObserver(FileSystem& files, InstallRecord& record, const PackagePlace* place, InstallationObserver& next)
      : files_(files), record_(record), place_(place), next_(next) {}

  void TargetStarted(const std::string& name, int k, int n) override { next_.TargetStarted(name, k, n); }
  void FilesCounted(int count) override { next_.FilesCounted(count); }
  void FileStarted(const std::string& file, int n, int count) override { next_.FileStarted(file, n, count); }
  void ShowError(const std::string& text) override { next_.ShowError(text); }
  void LetUserAct() override { next_.LetUserAct(); }
  bool CancelRequested() override { return next_.CancelRequested(); }
  void FileCopied(const std::string& file, const std::string& destination) override;
  void FolderCreated(const std::string& folder) override;
  void TargetFolder(const std::string& folder) override;
  bool MayReplace(const std::string& destination) override;
  void FileScheduled(const std::string& file, const std::string& destination, const std::string& pending) override;

  /// Files that arrived but could not be read back to be recorded, so that
  /// removal will leave them.
  std::vector<std::string> unrecorded;

 private:
  void Record(const std::string& file, const std::string& destination, const std::string& content_path);

  FileSystem& files_;
  InstallRecord& record_;
  const PackagePlace* place_;
  InstallationObserver& next_;
};

}  // namespace setup
