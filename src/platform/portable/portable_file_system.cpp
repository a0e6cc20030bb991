#include "platform/portable/portable_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <string_view>
#include <utility>
#include <vector>

namespace setup {
namespace {

namespace fs = std::filesystem;

// The ANSI functions refuse a path that does not fit MAX_PATH with its terminator.
constexpr std::size_t kMaxPath = 260;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsLetter(char c) { return Upper(c) >= 'A' && Upper(c) <= 'Z'; }

std::string UpperCased(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = Upper(c);
  return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

// Folded to upper case as NTFS orders its indexes; ties go by bytes so the
// order never depends on the host's directory order.
bool ListsBefore(const std::string& a, const std::string& b) {
  auto less = [](char x, char y) {
    return static_cast<unsigned char>(Upper(x)) < static_cast<unsigned char>(Upper(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
  return a < b;
}

bool IsInvalidChar(char c, bool wildcards_allowed) {
  if (static_cast<unsigned char>(c) < 32) return true;  // NUL and control characters
  if (wildcards_allowed && (c == '*' || c == '?')) return false;
  return std::string_view("/:*?\"<>|").find(c) != std::string_view::npos;
}

bool HasInvalidChar(std::string_view text, bool wildcards_allowed) {
  return std::any_of(text.begin(), text.end(),
                     [&](char c) { return IsInvalidChar(c, wildcards_allowed); });
}

// '*' takes any run of characters, '?' exactly one, both regardless of case.
bool WildcardMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// A trailing ".*" also matches names without an extension, so "*.*" lists everything.
bool NameMatches(std::string_view pattern, std::string_view name) {
  if (WildcardMatches(pattern, name)) return true;
  return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
         WildcardMatches(pattern.substr(0, pattern.size() - 2), name);
}

// The upper-cased characters of a name part that an 8.3 name can hold.
std::string ShortNameChars(std::string_view part) {
  std::string kept;
  for (char c : part) {
    if (std::string_view(" .+,;=[]").find(c) == std::string_view::npos) kept += Upper(c);
  }
  return kept;
}

// The 8.3 name Windows gives a name that does not fit 8.3 ("notes.text" ->
// "NOTES~1.TEX"); nothing when the name fits. Patterns match it too, which
// is why "*.8bf" finds "a.8bfx". The "~1" stands for whatever number or hash
// the system picks: patterns in practice only look at the extension.
std::optional<std::string> ShortNameOf(std::string_view name) {
  if (name == "." || name == "..") return std::nullopt;
  std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = name.size();  // ".hidden" has no extension
  std::string_view stem = name.substr(0, dot);
  std::string_view extension = name.substr(std::min(dot + 1, name.size()));
  bool fits = !stem.empty() && stem.size() <= 8 && extension.size() <= 3 &&
              ShortNameChars(stem).size() == stem.size() &&
              ShortNameChars(extension).size() == extension.size();
  if (fits) return std::nullopt;
  std::string short_name = ShortNameChars(stem).substr(0, 6) + "~1";
  std::string short_extension = ShortNameChars(extension).substr(0, 3);
  if (!short_extension.empty()) short_name += "." + short_extension;
  return short_name;
}

bool IsFolder(const fs::path& host) {
  struct stat info {};
  return ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EntryExists(const fs::path& host) {
  struct stat info {};
  return ::lstat(host.c_str(), &info) == 0;
}

// A missing entry is "file not found" when its folder exists, else "path not found".
std::uint32_t MissingError(const fs::path& host) {
  return IsFolder(host.parent_path()) ? kErrorFileNotFound : kErrorPathNotFound;
}

std::uint32_t FromErrno(int error, const fs::path& host) {
  switch (error) {
    case ENOENT: return MissingError(host);
    case ENOTDIR: return kErrorPathNotFound;
    case EEXIST: return kErrorAlreadyExists;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case EBUSY:
    case ETXTBSY: return kErrorSharingViolation;
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
      return kErrorNotReady;
    default: return kErrorAccessDenied;  // EACCES, EPERM, EROFS, EISDIR and the rest
  }
}

// Wine keeps DOS attributes as hex text such as "0x22". Anything else is ignored.
std::uint32_t StoredDosAttributes(const char* host) {
  char buffer[256];
  ssize_t size = ::getxattr(host, "user.DOSATTRIB", buffer, sizeof buffer);
  if (size <= 0) return 0;
  std::string_view text(buffer, static_cast<std::size_t>(size));
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(2);
  std::uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end != text.data() ? value : 0;
}

// The attributes of an entry named relative to an open folder (or, with
// AT_FDCWD, by its whole path); `path` is its whole path, for the extended
// attribute, and `name` the name it lists under.
std::optional<std::uint32_t> AttributesAt(int folder_fd, const char* relative, const char* path,
                                          std::string_view name) {
  struct stat link {};
  if (::fstatat(folder_fd, relative, &link, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  struct stat target = link;
  bool is_link = S_ISLNK(link.st_mode);
  // A link reports the kind and mode of what it points at; a dangling one its own.
  if (is_link && ::fstatat(folder_fd, relative, &target, 0) != 0) target = link;
  std::uint32_t attributes = S_ISDIR(target.st_mode) ? kAttrFolder : kAttrArchive;
  if (is_link) attributes |= kAttrReparsePoint;
  if ((target.st_mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
  if (!name.empty() && name.front() == '.' && name != "." && name != "..")
    attributes |= kAttrHidden;
  return attributes | StoredDosAttributes(path);
}

std::optional<std::uint32_t> AttributesOf(const fs::path& host, std::string_view name) {
  return AttributesAt(AT_FDCWD, host.c_str(), host.c_str(), name);
}

// The folder and reparse-point bits from the type the folder's listing gives;
// only links (whose target decides) and untyped entries are asked about.
std::optional<std::uint32_t> KindAt(int folder_fd, const dirent& entry, const char* path) {
  std::string_view name(entry.d_name);
  std::uint32_t hidden = !name.empty() && name.front() == '.' ? std::uint32_t{kAttrHidden} : 0u;
  switch (entry.d_type) {
    case DT_DIR:
      return kAttrFolder | hidden;
    case DT_LNK: {
      struct stat target {};
      bool folder = ::fstatat(folder_fd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
      return kAttrReparsePoint | (folder ? kAttrFolder : kAttrArchive) | hidden;
    }
    case DT_UNKNOWN:
      return AttributesAt(folder_fd, entry.d_name, path, name);
    default:
      return kAttrArchive | hidden;
  }
}

// The existing entry of a folder a name stands for: the exact name, else the
// first one equal regardless of case, else the name as written (to be created).
fs::path ResolveComponent(const fs::path& folder, const std::string& name) {
  fs::path exact = folder / name;
  if (EntryExists(exact)) return exact;
  std::optional<std::string> best;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      std::string_view candidate(entry->d_name);
      if (EqualsIgnoringCase(candidate, name) && (!best || candidate < *best))
        best = std::string(candidate);
    }
    ::closedir(dir);
  }
  return folder / (best ? *best : name);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  int Close() {
    int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Reads to the end; 0 on success, else the errno.
// Reads to the end: 0, an errno, or EFBIG once more than `limit` bytes arrive.
int ReadAll(int fd, std::string& out, std::size_t limit) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (static_cast<std::size_t>(got) > limit - out.size()) return EFBIG;
    out.append(buffer, static_cast<std::size_t>(got));
  }
}

int WriteAll(int fd, std::string_view data);

// Copies everything from one descriptor to another, in the kernel where it
// can; 0 or the errno of the failure.
int CopyContent(int input, int output) {
  for (;;) {
    ssize_t moved = ::copy_file_range(input, nullptr, output, nullptr, 1 << 30, 0);
    if (moved == 0) return 0;
    if (moved > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    break;
  }
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(input, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (int error = WriteAll(output, std::string_view(buffer, static_cast<std::size_t>(got)))) return error;
  }
}

int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t put = ::write(fd, data.data(), data.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

class SnapshotListing final : public FolderListing {
 public:
  explicit SnapshotListing(std::vector<FoundEntry> entries) : entries_(std::move(entries)) {}
  std::optional<FoundEntry> Next() override {
    if (next_ >= entries_.size()) return std::nullopt;
    return entries_[next_++];
  }

 private:
  std::vector<FoundEntry> entries_;
  std::size_t next_ = 0;
};

}  // namespace

PortableFileSystem::PortableFileSystem(std::string executable_folder)
    : executable_folder_(std::move(executable_folder)) {}

void PortableFileSystem::MapDrive(char letter, std::filesystem::path host_folder,
                                  std::uint32_t type) {
  if (!IsLetter(letter)) return;
  fs::path folder = host_folder.lexically_normal();
  // "/x/y/" and "/x/y" must give the same host paths, or held files would be missed.
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  drives_[Upper(letter)] = Drive{std::move(folder), type};
}

void PortableFileSystem::HoldOpen(const std::string& windows_path) {
  std::uint32_t error = 0;
  if (auto where = Locate(windows_path, error)) {
    held_hosts_.insert(where->host.string());
    held_keys_.insert(where->key);
  }
}

void PortableFileSystem::Release(const std::string& windows_path) {
  std::uint32_t error = 0;
  if (auto where = Locate(windows_path, error)) {
    held_hosts_.erase(where->host.string());
    held_keys_.erase(where->key);
  }
}

std::filesystem::path PortableFileSystem::HostPath(const std::string& windows_path) const {
  std::uint32_t error = 0;
  auto where = Locate(windows_path, error);
  return where ? where->host : fs::path();
}

std::optional<PortableFileSystem::Location> PortableFileSystem::Locate(
    const std::string& windows_path, std::uint32_t& error) const {
  std::string_view text(windows_path);
  bool has_drive = text.size() >= 2 && IsLetter(text[0]) && text[1] == ':';
  std::string_view rest = has_drive ? text.substr(2) : text;
  if (HasInvalidChar(rest, false)) {
    error = kErrorInvalidName;
    return std::nullopt;
  }
  // No current folder exists here, so a path without a drive leads nowhere.
  auto drive = has_drive ? drives_.find(Upper(text[0])) : drives_.end();
  if (drive == drives_.end()) {
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  std::vector<std::string> names;
  while (!rest.empty()) {
    std::size_t cut = std::min(rest.find('\\'), rest.size());
    std::string_view name = rest.substr(0, cut);
    rest.remove_prefix(std::min(cut + 1, rest.size()));
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();  // never above the root
      continue;
    }
    names.emplace_back(name);
  }
  Location where{drive->second.host_folder, std::string(1, drive->first) + ":", names.size()};
  for (const std::string& name : names) {
    where.host = ResolveComponent(where.host, name);
    where.key += "\\" + UpperCased(name);
  }
  if (names.empty()) where.key += "\\";
  return where;
}

std::optional<PortableFileSystem::Location> PortableFileSystem::Find(
    const std::string& windows_path) {
  if (windows_path.size() >= kMaxPath) {
    Fail(kErrorFilenameTooLong);
    return std::nullopt;
  }
  std::uint32_t error = 0;
  auto where = Locate(windows_path, error);
  if (!where) Fail(error);
  return where;
}

bool PortableFileSystem::IsHeld(const Location& where) const {
  return held_hosts_.count(where.host.string()) > 0 || held_keys_.count(where.key) > 0;
}

bool PortableFileSystem::Fail(std::uint32_t code) {
  last_error_ = code;
  return false;
}

bool PortableFileSystem::MakeFolder(const std::filesystem::path& host) {
  if (EntryExists(host)) return Fail(kErrorAlreadyExists);
  if (!IsFolder(host.parent_path())) return Fail(kErrorPathNotFound);
  if (::mkdir(host.c_str(), 0777) != 0) return Fail(FromErrno(errno, host));
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
  int folder_fd = ::open(folder->host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = folder_fd >= 0 ? ::fdopendir(folder_fd) : nullptr;
  if (dir == nullptr) {
    Fail(FromErrno(errno, folder->host));
    if (folder_fd >= 0) ::close(folder_fd);
    return nullptr;
  }
  // Entries are asked about relative to the open folder, which spares the
  // host a walk down the whole path for each; the extended attribute alone
  // needs the whole path.
  std::string path = folder->host.string() + "/";
  std::size_t path_length = path.size();
  std::vector<FoundEntry> entries;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    if (!NameMatches(name_pattern, name)) {
      auto short_name = ShortNameOf(name);
      if (!short_name || !NameMatches(name_pattern, *short_name)) continue;
    }
    path.resize(path_length);
    path.append(name);
    // An entry removed since readdir saw it is simply left out.
    auto attributes = all_attributes ? AttributesAt(folder_fd, entry->d_name, path.c_str(), name)
                                     : KindAt(folder_fd, *entry, path.c_str());
    if (attributes) entries.push_back({std::string(name), *attributes});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FoundEntry& a, const FoundEntry& b) { return ListsBefore(a.name, b.name); });
  // Drive roots have no "." and "..", every other folder lists them first.
  if (folder->depth > 0) {
    for (const char* dots : {"..", "."}) {
      if (NameMatches(name_pattern, dots))
        entries.insert(entries.begin(), FoundEntry{dots, kAttrFolder});
    }
  }
  if (entries.empty()) {
    Fail(kErrorFileNotFound);
    return nullptr;
  }
  return std::make_unique<SnapshotListing>(std::move(entries));
}

bool PortableFileSystem::FolderExists(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) return Fail(FromErrno(errno, where->host));
  return S_ISDIR(info.st_mode);
}

bool PortableFileSystem::FileExists(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) return Fail(FromErrno(errno, where->host));
  return !S_ISDIR(info.st_mode);
}

std::optional<std::string> PortableFileSystem::ReadWholeFile(const std::string& path, std::size_t limit) {
  auto where = Find(path);
  if (!where) return std::nullopt;
  struct stat info {};
  if (::stat(where->host.c_str(), &info) != 0) {
    Fail(FromErrno(errno, where->host));
    return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) {
    Fail(kErrorAccessDenied);
    return std::nullopt;
  }
  if (IsHeld(*where)) {
    Fail(kErrorSharingViolation);
    return std::nullopt;
  }
  Descriptor file(::open(where->host.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    Fail(FromErrno(errno, where->host));
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
    Fail(error == EFBIG ? kErrorFileTooLarge : FromErrno(error, where->host));
    return std::nullopt;
  }
  return content;
}

bool PortableFileSystem::CreateFolder(const std::string& path) {
  auto where = Find(path);
  if (!where) return false;
  // Never create the folder a drive is mapped to.
  if (where->depth == 0)
    return Fail(EntryExists(where->host) ? kErrorAlreadyExists : kErrorPathNotFound);
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
  if (::stat(source->host.c_str(), &source_info) != 0) return Fail(FromErrno(errno, source->host));
  if (S_ISDIR(source_info.st_mode)) return Fail(kErrorAccessDenied);
  if (IsHeld(*source)) return Fail(kErrorSharingViolation);

  struct stat target_info {};
  if (::stat(target->host.c_str(), &target_info) == 0) {
    if (S_ISDIR(target_info.st_mode)) return Fail(kErrorAccessDenied);
    // Windows will not replace a read-only file, whoever runs the copy.
    auto attributes = AttributesOf(target->host, target->host.filename().string());
    if (attributes && (*attributes & kAttrReadOnly)) return Fail(kErrorAccessDenied);
    // Copying a file onto itself meets its own open source handle.
    bool same_file =
        target_info.st_dev == source_info.st_dev && target_info.st_ino == source_info.st_ino;
    if (same_file || IsHeld(*target)) return Fail(kErrorSharingViolation);
  } else {
    std::uint32_t error = FromErrno(errno, target->host);
    if (error != kErrorFileNotFound) return Fail(error);
    if (IsHeld(*target)) return Fail(kErrorSharingViolation);
  }

  // The source is opened first, so a source that cannot be read leaves the
  // destination untouched.
  Descriptor input(::open(source->host.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) return Fail(FromErrno(errno, source->host));
  Descriptor output(::open(target->host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (output.get() < 0) return Fail(FromErrno(errno, target->host));
  int error = CopyContent(input.get(), output.get());
  if (output.Close() != 0 && error == 0) error = errno;
  if (error != 0) {
    // Like CopyFile, leave no half-written destination behind.
    ::unlink(target->host.c_str());
    return Fail(FromErrno(error, target->host));
  }
  return true;
}

std::uint32_t PortableFileSystem::LastError() { return last_error_; }

std::optional<std::string> PortableFileSystem::ErrorText(std::uint32_t code) {
  // The texts Wine gives for the codes this back end produces.
  static const std::map<std::uint32_t, const char*> kTexts{
      {kErrorSuccess, "Success.\r\n"},
      {kErrorFileNotFound, "File not found.\r\n"},
      {kErrorPathNotFound, "Path not found.\r\n"},
      {kErrorAccessDenied, "Access denied.\r\n"},
      {kErrorNotReady, "Not ready.\r\n"},
      {kErrorSharingViolation, "Sharing violation.\r\n"},
      {kErrorDiskFull, "Disk full.\r\n"},
      {kErrorInvalidName, "Invalid name.\r\n"},
      {kErrorAlreadyExists, "File already exists.\r\n"},
      {kErrorFilenameTooLong, "File name is too long.\r\n"}};
  auto text = kTexts.find(code);
  if (text == kTexts.end()) return std::nullopt;
  return text->second;
}

std::uint32_t PortableFileSystem::DriveTypeOf(const std::string& root) {
  if (root.size() != 3 || !IsLetter(root[0]) || root[1] != ':' || root[2] != '\\')
    return kDriveNoRootDir;
  auto drive = drives_.find(Upper(root[0]));
  return drive == drives_.end() ? kDriveNoRootDir : drive->second.type;
}

}  // namespace setup
