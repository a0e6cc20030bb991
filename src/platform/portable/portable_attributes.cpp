#include "platform/portable/portable_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>

#include <charconv>
#include <string_view>

#include "platform/file_system.h"

namespace setup {
namespace {

// Wine keeps DOS attributes as hex text such as "0x22". Anything else is ignored.
std::uint32_t StoredDosAttributes(const char* host) {
  char buffer[256];
  ssize_t size = ::getxattr(host, "user.DOSATTRIB", buffer, sizeof buffer);
  if (size <= 0) return 0;
  std::string_view text(buffer, static_cast<std::size_t>(size));
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  std::uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end != text.data() ? value : 0;
}

}  // namespace

bool IsFolder(const std::filesystem::path& host) {
  struct stat info {};
  return ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EntryExists(const std::filesystem::path& host) {
  struct stat info {};
  return ::lstat(host.c_str(), &info) == 0;
}

bool IsLinkEntry(const std::filesystem::path& host) {
  struct stat info {};
  return ::lstat(host.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

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
  if (!name.empty() && name.front() == '.' && name != "." && name != "..") attributes |= kAttrHidden;
  return attributes | StoredDosAttributes(path);
}

std::optional<std::uint32_t> AttributesOf(const std::filesystem::path& host, std::string_view name) {
  return AttributesAt(AT_FDCWD, host.c_str(), host.c_str(), name);
}

std::optional<std::uint32_t> KindAt(int folder_fd, const dirent& entry, const char* path) {
  std::string_view name(entry.d_name);
  std::uint32_t hidden = !name.empty() && name.front() == '.' ? std::uint32_t{kAttrHidden} : 0u;
  switch (entry.d_type) {
    case DT_DIR: return kAttrFolder | hidden;
    case DT_LNK: {
      struct stat target {};
      bool folder = ::fstatat(folder_fd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
      return kAttrReparsePoint | (folder ? kAttrFolder : kAttrArchive) | hidden;
    }
    case DT_UNKNOWN: return AttributesAt(folder_fd, entry.d_name, path, name);
    default: return kAttrArchive | hidden;
  }
}

}  // namespace setup
