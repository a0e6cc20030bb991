#pragma once

#include <dirent.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace setup {

// What the host says about an entry, in Windows terms: the FileAttribute
// bits a listing reports.

/// Whether a host path names a folder, through links.
bool IsFolder(const std::filesystem::path& host);
/// Whether anything is at a host path, a dangling link included.
bool EntryExists(const std::filesystem::path& host);
/// True when the host path itself is a symbolic link.
bool IsLinkEntry(const std::filesystem::path& host);

/// The attributes of an entry named relative to an open folder (or, with
/// AT_FDCWD, by its whole path); `path` is its whole path, for the extended
/// attribute, and `name` the name it lists under. Folder and archive come
/// from the entry's kind, read-only from a missing owner write bit, hidden
/// from a leading dot, reparse point from a symbolic link, and the rest from
/// Wine's "user.DOSATTRIB". Nothing when the entry is gone.
std::optional<std::uint32_t> AttributesAt(int folder_fd, const char* relative, const char* path, std::string_view name);
std::optional<std::uint32_t> AttributesOf(const std::filesystem::path& host, std::string_view name);

/// The kind bits (folder or archive, reparse point) and hidden, from the type
/// the folder's listing gives; only links (whose target decides) and untyped
/// entries are asked about.
std::optional<std::uint32_t> KindAt(int folder_fd, const dirent& entry, const char* path);

}  // namespace setup
