#pragma once

#include "platform/file_system.h"

namespace setup {

/// The real file system through the ANSI functions; names it hands out
/// (listings, its own folder) are read wide and converted exactly.
class Win32FileSystem : public FileSystem {
 public:
  std::string ExecutableFolder() override;
  std::unique_ptr<FolderListing> List(const std::string& pattern) override;
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
  bool CanWriteIn(const std::string& folder) override;
  bool ReplaceAtRestart(const std::string& from, const std::string& to) override;
  bool RemoveAtRestart(const std::string& path) override;
  bool MayUseRestartList() override;
  std::string ExecutablePath() override;
  std::string ProgramFilesFolder() override;
  std::string LocalDataFolder() override;
  std::string WindowsFolder() override;
  std::string CommonDataFolder() override;
  std::uint32_t LastError() override;
  std::optional<std::string> ErrorText(std::uint32_t code) override;
  std::uint32_t DriveTypeOf(const std::string& root) override;
};

}  // namespace setup
