#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// File attribute bits, as Windows numbers them.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrVolume = 8,
  kAttrFolder = 16,
  kAttrArchive = 32,
  kAttrReparsePoint = 1024,
};

/// Drive types, as GetDriveTypeA numbers them.
enum DriveType : std::uint32_t {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

/// Windows error codes the portable back end produces and the tests name.
enum ErrorCode : std::uint32_t {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorNotReady = 21,
  kErrorSharingViolation = 32,
  kErrorDiskFull = 112,
  kErrorDirNotEmpty = 145,
  kErrorInvalidName = 123,
  kErrorAlreadyExists = 183,
  kErrorFileTooLarge = 223,
  kErrorFilenameTooLong = 206,
};

/// One entry of a folder listing.
struct FoundEntry {
  std::string name;          // as the file system reports it, without a path; see HeldExactly
  std::uint32_t attributes;  // FileAttribute bits
};

/// An open folder listing (find first / find next / close). Closing is the destructor.
class FolderListing {
 public:
  virtual ~FolderListing() = default;
  /// The next entry, or nothing at the end.
  virtual std::optional<FoundEntry> Next() = 0;
};

/// The file system, seen through Windows paths (drive letters, backslashes).
/// Abstract so it can be replaced in tests; the real one is Win32FileSystem,
/// the test one PortableFileSystem. Failing calls set LastError().
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// Folder of the running executable, with a trailing backslash; a
  /// character the code page cannot hold is kUnheldCharacter (HeldExactly).
  virtual std::string ExecutableFolder() = 0;

  /// Lists the entries matching a pattern (a folder path plus a name with
  /// optional * and ?), hidden, system and read-only ones and sub-folders
  /// included, "." and ".." as the system gives them. Nothing when the
  /// listing cannot be opened or nothing matches. A character of a name
  /// that the code page cannot hold is kUnheldCharacter, never a look-alike,
  /// so two names never list as one.
  virtual std::unique_ptr<FolderListing> List(const std::string& pattern) = 0;
  /// Like List (the same entries in the same order, the same failures), but
  /// of the attributes only the folder and reparse-point bits are promised:
  /// a walker that needs no more lets a back end skip asking for the rest.
  virtual std::unique_ptr<FolderListing> ListKinds(const std::string& pattern) { return List(pattern); }

  /// True when the path names an existing folder.
  virtual bool FolderExists(const std::string& path) = 0;
  /// True when the path names an existing file that is not a folder.
  virtual bool FileExists(const std::string& path) = 0;
  /// The whole content of a file as bytes; nothing when it cannot be opened
  /// or read, when it is no ordinary file on a disk (a device, a pipe:
  /// kErrorAccessDenied) or when it holds more than `limit` bytes
  /// (kErrorFileTooLarge).
  virtual std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) = 0;

  /// Creates one folder; its parent must exist. False on failure.
  virtual bool CreateFolder(const std::string& path) = 0;
  /// Creates a folder with all its missing parents; true when it exists afterwards.
  virtual bool CreateFolderTree(const std::string& path) = 0;
  /// Copies a file, replacing an existing destination. False on failure.
  virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;
  /// Adds bytes at the end of a file, creating it when missing (its folder
  /// must exist); others may read the file meanwhile. Never writes through a
  /// link: a link (reparse point) at the path is refused with
  /// kErrorAccessDenied and left as it is. False on failure.
  virtual bool AppendToFile(const std::string& path, std::string_view bytes) = 0;
  /// Writes a file whole, replacing one that is there: a reader sees the old
  /// content or the new, never a part. Never writes through a link: a link
  /// at the path is refused with kErrorAccessDenied. False on failure (the
  /// old stays).
  virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
  /// Deletes a file, also a read-only one; never a folder. False on failure.
  virtual bool RemoveFile(const std::string& path) = 0;
  /// Removes a folder that is empty; false when it holds anything or on failure.
  virtual bool RemoveFolder(const std::string& path) = 0;

  /// True when the path itself (not what it leads to) is a link: a symbolic
  /// link, a junction or another reparse point. False when nothing is there.
  virtual bool IsLink(const std::string& path) = 0;
  /// True when this process may create files in the existing folder (it
  /// makes a probe file there and deletes it again).
  virtual bool CanWriteIn(const std::string& folder) = 0;
  /// Asks the system to move `from` over `to` at the next restart, before
  /// any program can hold `to` open. Only a process that may write the
  /// system's restart list (an administrator's) can; false otherwise.
  virtual bool ReplaceAtRestart(const std::string& from, const std::string& to) = 0;
  /// Asks the system to delete a file or an empty folder at the next
  /// restart; false when this process may not ask it.
  virtual bool RemoveAtRestart(const std::string& path) = 0;
  /// True when this process may ask for ReplaceAtRestart and
  /// RemoveAtRestart; asks for nothing itself. False when it cannot tell.
  virtual bool MayUseRestartList() { return false; }

  /// Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
  /// The folder for 32-bit programs of every user (such as
  /// C:\Program Files (x86) on 64-bit Windows, C:\Program Files on 32-bit
  /// Windows), without a trailing backslash; empty when the system names none.
  virtual std::string ProgramFilesFolder() = 0;
  /// The current user's local application data folder (such as
  /// C:\Users\name\AppData\Local), without a trailing backslash; empty
  /// when the system names none.
  virtual std::string LocalDataFolder() = 0;
  /// The Windows folder (such as C:\Windows), without a trailing backslash.
  virtual std::string WindowsFolder() = 0;

  /// The folder for data shared by every user of the machine (the common
  /// application data folder, such as C:\ProgramData), without a trailing
  /// backslash; empty when the system names none. A character the code page
  /// cannot hold is kUnheldCharacter.
  virtual std::string CommonDataFolder() = 0;

  /// The error code of the last failing call of this thread.
  virtual std::uint32_t LastError() = 0;
  /// The system's message text for an error code (usually ending in a line
  /// break); nothing when the system has none.
  virtual std::optional<std::string> ErrorText(std::uint32_t code) = 0;

  /// The DriveType of a root path such as "C:\".
  virtual std::uint32_t DriveTypeOf(const std::string& root) = 0;
};

}  // namespace setup
