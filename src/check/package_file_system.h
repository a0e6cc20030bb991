#pragma once

#include <string>

#include "platform/file_system.h"

namespace setup {

/// A file system whose program folder is a package folder given by the
/// user, not the folder of the running program: the checker reads the
/// package as the installer would read it from its own folder.
class PackageFileSystem : public FileSystem {
 public:
  PackageFileSystem(FileSystem& files, std::string package_folder)
      : files_(files), package_folder_(std::move(package_folder)) {}

  std::string ExecutableFolder() override { return package_folder_; }
  std::unique_ptr<FolderListing> List(const std::string& pattern) override { return files_.List(pattern); }
  std::unique_ptr<FolderListing> ListKinds(const std::string& pattern) override { return files_.ListKinds(pattern); }
  bool FolderExists(const std::string& path) override { return files_.FolderExists(path); }
  bool FileExists(const std::string& path) override { return files_.FileExists(path); }
  std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) override {
    return files_.ReadWholeFile(path, limit);
  }
  // The checker writes nothing.
  bool CreateFolder(const std::string&) override { return false; }
  bool CreateFolderTree(const std::string&) override { return false; }
  bool CopyReplacing(const std::string&, const std::string&) override { return false; }
  bool AppendToFile(const std::string&, std::string_view) override { return false; }
  bool WriteWholeFile(const std::string&, std::string_view) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool RemoveFolder(const std::string&) override { return false; }
  bool IsLink(const std::string& path) override { return files_.IsLink(path); }
  bool CanWriteIn(const std::string&) override { return false; }
  bool ReplaceAtRestart(const std::string&, const std::string&) override { return false; }
  bool RemoveAtRestart(const std::string&) override { return false; }
  std::string ExecutablePath() override { return files_.ExecutablePath(); }
  std::string ProgramFilesFolder() override { return files_.ProgramFilesFolder(); }
  std::string LocalDataFolder() override { return files_.LocalDataFolder(); }
  std::string WindowsFolder() override { return files_.WindowsFolder(); }
  std::string CommonDataFolder() override { return files_.CommonDataFolder(); }
  std::uint32_t LastError() override { return files_.LastError(); }
  std::optional<std::string> ErrorText(std::uint32_t code) override { return files_.ErrorText(code); }
  std::uint32_t DriveTypeOf(const std::string& root) override { return files_.DriveTypeOf(root); }

 private:
  FileSystem& files_;
  std::string package_folder_;
};

}  // namespace setup
