#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/package_hosts.h"
#include "hosts/listed_host.h"
#include "platform/platform.h"

namespace setup {

/// The custom folder as a target selector; 0 to 216 are catalogue entries.
inline constexpr int kCustomTarget = -1;

/// What an installation run tells and asks of whoever shows it.
class InstallationObserver {
 public:
  virtual ~InstallationObserver() = default;
  /// Target k of n (k from 1) begins: a host's description, or the custom
  /// folder with a trailing backslash.
  virtual void TargetStarted(const std::string& name, int k, int n) = 0;
  /// The current target's deployment list holds `count` files.
  virtual void FilesCounted(int count) = 0;
  /// File n (from 0) of the current target's `count` is copied next.
  virtual void FileStarted(const std::string& file, int n, int count) = 0;
  /// A failure for the user to see; the run goes on when it returns.
  virtual void ShowError(const std::string& text) = 0;
  /// After every file and before every host: the user may act now.
  virtual void LetUserAct() = 0;
  /// Asked before every host: true ends the hosts' part of the run.
  virtual bool CancelRequested() = 0;
  /// A file arrived: its path relative to the program folder and where it
  /// went. Only a watcher that keeps a record needs it.
  virtual void FileCopied(const std::string& /*file*/, const std::string& /*destination*/) {}
  /// A folder that was not there was made for the files (the highest level
  /// first when several were).
  virtual void FolderCreated(const std::string& /*folder*/) {}
  /// The host or custom folder a target's files go into (below it, with the
  /// install sub-folder), ending in a backslash.
  virtual void TargetFolder(const std::string& /*folder*/) {}
  /// A file stands at a destination about to be replaced: false keeps it
  /// (the watcher has told why through ShowError).
  virtual bool MayReplace(const std::string& /*destination*/) { return true; }
  /// The file at a destination was kept at `kept` before being replaced.
  virtual void OriginalKept(const std::string& /*destination*/, const std::string& /*kept*/) {}
  /// A destination was held open: the file was copied to `pending` beside
  /// it, and the system replaces the destination with it at the next restart.
  virtual void FileScheduled(const std::string& /*file*/, const std::string& /*destination*/,
                             const std::string& /*pending*/) {}
};

/// What copying into one target needs besides the platform: whom to tell,
/// the custom folder text and the install sub-folder.
struct DeploymentContext {
  const Platform& platform;
  InstallationObserver& observer;
  std::string custom_folder;
  std::string install_subfolder;
  // A destination held open is replaced at the next restart where the
  // system allows it, instead of failing.
  bool replace_at_restart = false;
};

/// What one files-section value matches in the program folder.
struct FilesEntryMatch {
  bool outside = false;            // a full path or one that climbs out: nothing is taken
  std::vector<std::string> files;  // relative to the program folder, in listing order
  int folders = 0;                 // matches skipped as folders ("." and ".." included)
};

/// Expands one value of [files] (or of a package host's files section): the
/// text up to its last backslash is a folder below the program folder, the
/// rest a name or a pattern with * and ?.
FilesEntryMatch MatchFilesEntry(const Platform& platform, const std::string& value);

/// The plug-in files that a section of setup.ini ([files] unless another is
/// named) lists, relative to the program folder, in file order; folders are
/// skipped, duplicates kept.
std::vector<std::string> BuildDeploymentList(const Platform& platform, std::string_view section = kDefaultFilesSection);

/// The folder a listed host's files go into (ending in a backslash): its
/// folder read now, with the install sub-folder when the host uses one (a
/// catalogue entry by its table, a package host unless its subdir is "0").
/// Nothing when the folder is gone or is no full path.
std::optional<std::string> TargetFolderOf(const Platform& platform, const ListedHost& row,
                                          const std::string& install_subfolder);

/// The folder part of a path: the text before its last backslash or colon,
/// keeping a backslash that follows a colon or another backslash ("D:\").
std::string DirectoryPart(std::string_view path);

/// Copies the plug-in files into one target (a catalogue entry or
/// kCustomTarget), reporting every failure and going on.
void DeployToTarget(const DeploymentContext& context, int target);

/// The same for a listed host: its files section, into its folder as it is
/// now (see TargetFolderOf).
void DeployToHost(const DeploymentContext& context, const ListedHost& row);

}  // namespace setup
