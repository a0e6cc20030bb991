#include "platform/portable/portable_errors.h"

#include <cerrno>
#include <iterator>
#include <string_view>

#include "platform/file_system.h"
#include "platform/portable/portable_attributes.h"

namespace setup {
namespace {

struct ErrorTextRow {
  std::uint32_t code;
  std::string_view text;  // as FormatMessage gives it, line break included
};

constexpr ErrorTextRow kErrorTexts[] = {
    {kErrorSuccess, "Success.\r\n"},
    {kErrorFileNotFound, "File not found.\r\n"},
    {kErrorPathNotFound, "Path not found.\r\n"},
    {kErrorAccessDenied, "Access denied.\r\n"},
    {kErrorNotReady, "Not ready.\r\n"},
    {kErrorSharingViolation, "Sharing violation.\r\n"},
    {kErrorDiskFull, "Disk full.\r\n"},
    {kErrorDirNotEmpty, "Directory not empty.\r\n"},
    {kErrorInvalidName, "Invalid name.\r\n"},
    {kErrorAlreadyExists, "File already exists.\r\n"},
    {kErrorFilenameTooLong, "File name is too long.\r\n"},
};
static_assert(std::size(kErrorTexts) == 11);

}  // namespace

std::uint32_t ErrorFromErrno(int error, const std::filesystem::path& host) {
  switch (error) {
    case ENOENT: return IsFolder(host.parent_path()) ? kErrorFileNotFound : kErrorPathNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EEXIST: return kErrorAlreadyExists;
    case ENOTEMPTY: return kErrorDirNotEmpty;
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

std::optional<std::string> PortableErrorText(std::uint32_t code) {
  for (const ErrorTextRow& row : kErrorTexts) {
    if (row.code == code) return std::string(row.text);
  }
  return std::nullopt;
}

}  // namespace setup
