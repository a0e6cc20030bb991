#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/file_system.h"
#include "platform/portable/portable_code_page.h"
#include "platform/portable/portable_paths.h"

namespace setup {

/// A file system for tests: drive letters map to host folders (as Wine's
/// dosdevices do), names resolve without regard to case, folders list in a
/// stable order (case-insensitive name order, "." and ".." first below a
/// root), and the Windows attribute bits come from the host: folder and
/// archive from the entry's kind, read-only from a missing owner write bit,
/// hidden from a leading dot, reparse point from a symbolic link, and any
/// bits Wine keeps in the "user.DOSATTRIB" extended attribute. Paths of 260
/// characters or more fail like the ANSI functions do.
class PortableFileSystem : public FileSystem {
 public:
  /// executable_folder is a Windows path such as "C:\Package\".
  explicit PortableFileSystem(std::string executable_folder = "C:\\");

  /// Runs the program from another folder from now on (a Windows path).
  void SetExecutableFolder(std::string folder) { executable_folder_ = std::move(folder); }
  /// Maps a drive letter to a host folder, as a drive of the given type.
  void MapDrive(char letter, std::filesystem::path host_folder, std::uint32_t type = kDriveFixed);
  /// The folder relative paths start from ("C:\" unless set), as a process's current folder.
  void SetCurrentFolder(std::string windows_folder) { drives_.SetCurrentFolder(std::move(windows_folder)); }
  /// Makes a file behave as if another program held it open without sharing:
  /// reading, replacing or listing into it fails with a sharing violation.
  /// Held `for_reading` (as a host holds a loaded plug-in), others may still
  /// read it, but writing, replacing or deleting it fails.
  void HoldOpen(const std::string& windows_path, bool for_reading = false);
  void Release(const std::string& windows_path);
  /// How listed host names (UTF-8) become 8-bit names: exactly, as the Win32
  /// back end gives them (the default), or with the system's look-alikes, as
  /// the ANSI functions would.
  void SetNameConversion(NameConversion conversion) { conversion_ = conversion; }
  /// The host path a Windows path resolves to (existing names matched
  /// regardless of case); empty when its drive is not mapped or the path is
  /// not a valid name.
  std::filesystem::path HostPath(const std::string& windows_path) const;

  std::string ExecutableFolder() override;
  std::unique_ptr<FolderListing> List(const std::string& pattern) override;
  /// Takes the kinds from the folder's own listing where the host gives
  /// them, so that no entry but a link costs a question of its own.
  std::unique_ptr<FolderListing> ListKinds(const std::string& pattern) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) override;
  bool CreateFolder(const std::string& path) override;
  bool CreateFolderTree(const std::string& path) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool IsLink(const std::string& path) override;
  /// False for a folder a test marked with Protect; else it tries.
  bool CanWriteIn(const std::string& folder) override;
  /// Notes the move in restart_moves() (`to` empty for a removal), unless
  /// a test called DenyRestartList; `from` must exist.
  bool ReplaceAtRestart(const std::string& from, const std::string& to) override;
  bool RemoveAtRestart(const std::string& path) override;
  /// False once a test called DenyRestartList.
  bool MayUseRestartList() override { return !restart_list_denied_; }
  /// The executable folder plus "Setup.exe".
  std::string ExecutablePath() override { return ExecutableFolder() + "Setup.exe"; }
  /// "C:\Program Files (x86)", "C:\Users\User\AppData\Local" and
  /// "C:\Windows".
  std::string ProgramFilesFolder() override { return "C:\\Program Files (x86)"; }
  std::string LocalDataFolder() override { return "C:\\Users\\User\\AppData\\Local"; }
  std::string WindowsFolder() override { return "C:\\Windows"; }
  /// Makes CanWriteIn false for a folder, as for a standard user in a folder
  /// of the administrators (tests run as any user, the superuser too).
  void Protect(const std::string& folder) { protected_.insert(UpperCased(folder)); }
  /// Makes ReplaceAtRestart and RemoveAtRestart fail with kErrorAccessDenied.
  void DenyRestartList() { restart_list_denied_ = true; }
  void AllowRestartList() { restart_list_denied_ = false; }
  /// The moves asked for the next restart, in order: {from, to}.
  const std::vector<std::pair<std::string, std::string>>& restart_moves() const { return restart_moves_; }
  /// "C:\ProgramData" unless a test sets another.
  std::string CommonDataFolder() override { return common_data_folder_; }
  void SetCommonDataFolder(std::string folder) { common_data_folder_ = std::move(folder); }
  std::uint32_t LastError() override;
  std::optional<std::string> ErrorText(std::uint32_t code) override;
  std::uint32_t DriveTypeOf(const std::string& root) override;

 private:
  // DriveMap::Locate plus the length limit; sets last_error_ when it fails.
  std::optional<HostLocation> Find(const std::string& windows_path);
  bool IsHeld(const HostLocation& where) const;
  // Held so that reading fails too.
  bool IsHeldAgainstReading(const HostLocation& where) const;
  std::unique_ptr<FolderListing> ListMatching(const std::string& pattern, bool all_attributes);
  bool MakeFolder(const std::filesystem::path& host);
  bool Fail(std::uint32_t code);

  std::string executable_folder_;
  DriveMap drives_;
  std::set<std::string> held_hosts_;  // resolved host paths
  std::set<std::string> held_keys_;   // upper-cased normalised Windows paths
  std::set<std::string> readable_;    // keys of held files others may read
  std::uint32_t last_error_ = kErrorSuccess;
  std::string common_data_folder_ = "C:\\ProgramData";
  std::set<std::string> protected_;  // upper-cased Windows paths
  bool restart_list_denied_ = false;
  std::vector<std::pair<std::string, std::string>> restart_moves_;
  NameConversion conversion_ = NameConversion::kExact;
};

}  // namespace setup
