#include "platform/portable/portable_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/portable/portable_attributes.h"
#include "platform/portable/portable_errors.h"
#include "platform/portable/portable_file_io.h"
#include "platform/portable/portable_listing.h"

namespace setup {

namespace fs = std::filesystem;

namespace {

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with any extension.
bool IsDeviceName(std::string_view name) {
  std::string base = UpperCased(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

PortableFileSystem::PortableFileSystem(std::string executable_folder)
    : executable_folder_(std::move(executable_folder)) {}

void PortableFileSystem::MapDrive(char letter, std::filesystem::path host_folder, std::uint32_t type) {
  drives_.Map(letter, std::move(host_folder), type);
}

void PortableFileSystem::HoldOpen(const std::string& windows_path, bool for_reading) {
  std::uint32_t error = 0;
  if (auto where = drives_.Locate(windows_path, error)) {
    held_hosts_.insert(where->host.string());
    held_keys_.insert(where->key);
    if (for_reading) readable_.insert(where->key);
  }
}

void PortableFileSystem::Release(const std::string& windows_path) {
  std::uint32_t error = 0;
  if (auto where = drives_.Locate(windows_path, error)) {
    held_hosts_.erase(where->host.string());
    held_keys_.erase(where->key);
    readable_.erase(where->key);
  }
}

std::filesystem::path PortableFileSystem::HostPath(const std::string& windows_path) const {
  std::uint32_t error = 0;
  auto where = drives_.Locate(windows_path, error);
  return where ? where->host : fs::path();
}

std::optional<HostLocation> PortableFileSystem::Find(const std::string& windows_path) {
  if (windows_path.size() >= kMaxPath) {
    Fail(kErrorFilenameTooLong);
    return std::nullopt;
  }
  std::uint32_t error = 0;
  auto where = drives_.Locate(windows_path, error);
  if (!where) Fail(error);
  return where;
}

bool PortableFileSystem::IsHeld(const HostLocation& where) const {
  return held_hosts_.count(where.host.string()) > 0 || held_keys_.count(where.key) > 0;
}

bool PortableFileSystem::IsHeldAgainstReading(const HostLocation& where) const {
  return IsHeld(where) && readable_.count(where.key) == 0;
}

bool PortableFileSystem::Fail(std::uint32_t code) {
  last_error_ = code;
  return false;
}

bool PortableFileSystem::MakeFolder(const std::filesystem::path& host) {
  if (EntryExists(host)) return Fail(kErrorAlreadyExists);
  if (!IsFolder(host.parent_path())) return Fail(kErrorPathNotFound);
  if (::mkdir(host.c_str(), 0777) != 0) return Fail(ErrorFromErrno(errno, host));
  return true;
}

std::string PortableFileSystem::ExecutableFolder() {
  if (executable_folder_.empty() || executable_folder_.back() != '\\') executable_folder_ += '\\';
  return executable_folder_;
}

std::unique_ptr<FolderListing> PortableFileSystem::List(const std::string& pattern) {
  return ListMatching(pattern, true);
}

std::unique_ptr<FolderListing> PortableFileSystem::ListKinds(const std::string& pattern) {
  return ListMatching(pattern, false);
}

std::unique_ptr<FolderListing> PortableFileSystem::ListMatching(const std::string& pattern, bool all_attributes) {
  if (pattern.size() >= kMaxPath) {
    Fail(kErrorFilenameTooLong);
    return nullptr;
  }
  std::size_t cut = pattern.rfind('\\');
  bool drive_only = cut == std::string::npos && pattern.size() >= 2 && pattern[1] == ':';
  std::size_t folder_end = cut != std::string::npos ? cut : drive_only ? 2 : 0;
  std::size_t name_start = cut != std::string::npos ? cut + 1 : folder_end;
  std::string name_pattern = pattern.substr(name_start);
  if (HasInvalidChar(name_pattern, true)) {
    Fail(kErrorInvalidName);
    return nullptr;
  }
  auto folder = Find(pattern.substr(0, folder_end));
  if (!folder) return nullptr;
  if (!IsFolder(folder->host)) {
    Fail(kErrorPathNotFound);
    return nullptr;
  }
  // Listing needs the folder opened, which a holder without sharing prevents.
  if (IsHeld(*folder)) {
    Fail(kErrorSharingViolation);
    return nullptr;
  }
  std::uint32_t error = 0;
  auto listing = ListHostFolder(folder->host, name_pattern, folder->depth > 0, all_attributes, error, conversion_);
  if (!listing) Fail(error);
  return listing;
}

bool PortableFileSystem::FolderExists(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) return Fail(ErrorFromErrno(errno, where->host));
  return S_ISDIR(info.st_mode);
}

bool PortableFileSystem::FileExists(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) return Fail(ErrorFromErrno(errno, where->host));
  return !S_ISDIR(info.st_mode);
}

std::optional<std::string> PortableFileSystem::ReadWholeFile(const std::string& path, std::size_t limit) {
  // A device name opens the device wherever it stands in a path; the system
  // reads only files on a disk.
  if (IsDeviceName(path.substr(path.find_last_of("\\/:") + 1))) {
    Fail(kErrorAccessDenied);
    return std::nullopt;
  }
  auto where = Find(path);
  if (!where) return std::nullopt;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) {
    Fail(ErrorFromErrno(errno, where->host));
    return std::nullopt;
  }
  // A folder, a pipe or a device: opening a pipe alone would wait for a writer.
  if (!S_ISREG(info.st_mode)) {
    Fail(kErrorAccessDenied);
    return std::nullopt;
  }
  if (IsHeldAgainstReading(*where)) {
    Fail(kErrorSharingViolation);
    return std::nullopt;
  }
  Descriptor file(::open(where->host.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    Fail(ErrorFromErrno(errno, where->host));
    return std::nullopt;
  }
  // A regular file too large is refused before a byte is read.
  if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > limit) {
    Fail(kErrorFileTooLarge);
    return std::nullopt;
  }
  std::string content;
  if (S_ISREG(info.st_mode)) content.reserve(static_cast<std::size_t>(info.st_size));
  if (int error = ReadAll(file.get(), content, limit)) {
    Fail(error == EFBIG ? kErrorFileTooLarge : ErrorFromErrno(error, where->host));
    return std::nullopt;
  }
  return content;
}

bool PortableFileSystem::CreateFolder(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  // Never create the folder a drive is mapped to.
  if (where->depth == 0) return Fail(EntryExists(where->host) ? kErrorAlreadyExists : kErrorPathNotFound);
  return MakeFolder(where->host);
}

bool PortableFileSystem::CreateFolderTree(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  // Each name adds exactly one host level, so the parents are the levels above.
  std::vector<fs::path> levels{where->host};
  for (std::size_t i = 0; i < where->depth; ++i) levels.push_back(levels.back().parent_path());
  if (!IsFolder(levels.back())) return Fail(kErrorPathNotFound);
  levels.pop_back();
  for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
    if (!IsFolder(*level) && !MakeFolder(*level)) return false;
  }
  return true;
}

bool PortableFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
  auto source = Find(from);
  if (!source) return false;
  auto target = Find(to);
  if (!target) return false;

  struct stat source_info {};
  if (::stat(source->host.c_str(), &source_info) != 0) return Fail(ErrorFromErrno(errno, source->host));
  if (S_ISDIR(source_info.st_mode)) return Fail(kErrorAccessDenied);
  if (IsHeldAgainstReading(*source)) return Fail(kErrorSharingViolation);

  struct stat target_info {};
  if (::stat(target->host.c_str(), &target_info) == 0) {
    if (S_ISDIR(target_info.st_mode)) return Fail(kErrorAccessDenied);
    // Windows will not replace a read-only file, whoever runs the copy.
    auto attributes = AttributesOf(target->host, target->host.filename().string());
    if (attributes && (*attributes & kAttrReadOnly)) return Fail(kErrorAccessDenied);
    // Copying a file onto itself meets its own open source handle.
    bool same_file = target_info.st_dev == source_info.st_dev && target_info.st_ino == source_info.st_ino;
    if (same_file || IsHeld(*target)) return Fail(kErrorSharingViolation);
  } else {
    std::uint32_t error = ErrorFromErrno(errno, target->host);
    if (error != kErrorFileNotFound) return Fail(error);
    if (IsHeld(*target)) return Fail(kErrorSharingViolation);
  }

  // The source is opened first, so a source that cannot be read leaves the
  // destination untouched.
  Descriptor input(::open(source->host.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) return Fail(ErrorFromErrno(errno, source->host));
  Descriptor output(::open(target->host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (output.get() < 0) return Fail(ErrorFromErrno(errno, target->host));
  int error = CopyContent(input.get(), output.get());
  if (output.Close() != 0 && error == 0) error = errno;
  if (error != 0) {
    // Like CopyFile, leave no half-written destination behind.
    ::unlink(target->host.c_str());
    return Fail(ErrorFromErrno(error, target->host));
  }
  return true;
}

bool PortableFileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  auto where = Find(path);
  if (!where) return false;
  if (IsFolder(where->host)) return Fail(kErrorAccessDenied);
  if (IsHeld(*where)) return Fail(kErrorSharingViolation);
  // O_NOFOLLOW: a link at the path fails to open instead of being followed.
  Descriptor file(::open(where->host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666));
  if (file.get() < 0 && errno == ELOOP) return Fail(kErrorAccessDenied);
  if (file.get() < 0) return Fail(ErrorFromErrno(errno, where->host));
  int error = WriteAll(file.get(), bytes);
  if (file.Close() != 0 && error == 0) error = errno;
  return error == 0 || Fail(ErrorFromErrno(error, where->host));
}

bool PortableFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  auto where = Find(path);
  if (!where) return false;
  if (IsFolder(where->host) || IsLinkEntry(where->host)) return Fail(kErrorAccessDenied);
  if (IsHeld(*where)) return Fail(kErrorSharingViolation);
  fs::path fresh = where->host;
  fresh += ".new";
  // A stale or planted ".new" goes first (a link itself, not its target),
  // and the fresh file must be new.
  ::unlink(fresh.c_str());
  Descriptor file(::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC | O_CLOEXEC, 0666));
  if (file.get() < 0) return Fail(ErrorFromErrno(errno, fresh));
  int error = WriteAll(file.get(), bytes);
  if (file.Close() != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(fresh.c_str(), where->host.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(fresh.c_str());
    return Fail(ErrorFromErrno(error, where->host));
  }
  return true;
}

bool PortableFileSystem::RemoveFile(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  struct stat info {};
  if (::lstat(where->host.c_str(), &info) != 0) return Fail(ErrorFromErrno(errno, where->host));
  if (S_ISDIR(info.st_mode)) return Fail(kErrorAccessDenied);
  if (IsHeld(*where)) return Fail(kErrorSharingViolation);
  if (::unlink(where->host.c_str()) != 0) return Fail(ErrorFromErrno(errno, where->host));
  return true;
}

bool PortableFileSystem::RemoveFolder(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  // The folder a drive is mapped to is never removed.
  if (where->depth == 0) return Fail(kErrorAccessDenied);
  if (!IsFolder(where->host)) return Fail(ErrorFromErrno(ENOENT, where->host));
  if (::rmdir(where->host.c_str()) != 0) return Fail(ErrorFromErrno(errno, where->host));
  return true;
}

bool PortableFileSystem::IsLink(const std::string& path) {
  auto where = Find(path);
  return where && IsLinkEntry(where->host);
}

bool PortableFileSystem::CanWriteIn(const std::string& folder) {
  auto where = Find(folder);
  if (!where) return false;
  if (!IsFolder(where->host)) return Fail(kErrorPathNotFound);
  std::string key = UpperCased(folder);
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  if (protected_.count(key)) return Fail(kErrorAccessDenied);
  return ::access(where->host.c_str(), W_OK) == 0 || Fail(ErrorFromErrno(errno, where->host));
}

bool PortableFileSystem::ReplaceAtRestart(const std::string& from, const std::string& to) {
  if (restart_list_denied_) return Fail(kErrorAccessDenied);
  auto where = Find(from);
  if (!where) return false;
  if (!EntryExists(where->host)) return Fail(kErrorFileNotFound);
  restart_moves_.emplace_back(from, to);
  return true;
}

bool PortableFileSystem::RemoveAtRestart(const std::string& path) { return ReplaceAtRestart(path, ""); }

std::uint32_t PortableFileSystem::LastError() { return last_error_; }

std::optional<std::string> PortableFileSystem::ErrorText(std::uint32_t code) { return PortableErrorText(code); }

std::uint32_t PortableFileSystem::DriveTypeOf(const std::string& root) { return drives_.TypeOf(root); }

}  // namespace setup
