#include "platform/portable/portable_paths.h"

#include <dirent.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/file_system.h"
#include "platform/portable/portable_attributes.h"
#include "platform/portable/portable_code_page.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

bool IsInvalidChar(char c, bool wildcards_allowed) {
  if (static_cast<unsigned char>(c) < 32) return true;  // NUL and control characters
  if (wildcards_allowed && (c == '*' || c == '?')) return false;
  return std::string_view("/:*?\"<>|").find(c) != std::string_view::npos;
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
      // Host names are UTF-8; the name asked for is in the code page.
      if (EqualIgnoringCase(AnsiFromHostName(candidate), name) && (!best || candidate < *best))
        best = std::string(candidate);
    }
    ::closedir(dir);
  }
  return folder / (best ? *best : name);
}

}  // namespace

bool HasInvalidChar(std::string_view text, bool wildcards_allowed) {
  return std::any_of(text.begin(), text.end(), [&](char c) { return IsInvalidChar(c, wildcards_allowed); });
}

void DriveMap::Map(char letter, std::filesystem::path host_folder, std::uint32_t type) {
  if (!IsAsciiLetter(letter)) return;
  fs::path folder = host_folder.lexically_normal();
  // "/x/y/" and "/x/y" must give the same host paths, or held files would be missed.
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  drives_[UpperAscii(letter)] = Drive{std::move(folder), type};
}

std::uint32_t DriveMap::TypeOf(std::string_view root) const {
  if (root.size() != 3 || !IsAsciiLetter(root[0]) || root[1] != ':' || root[2] != '\\') return kDriveNoRootDir;
  auto drive = drives_.find(UpperAscii(root[0]));
  return drive == drives_.end() ? kDriveNoRootDir : drive->second.type;
}

void DriveMap::SetCurrentFolder(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  current_folder_ = std::move(folder);
}

std::optional<HostLocation> DriveMap::Locate(std::string_view path, std::uint32_t& error) const {
  if (path.empty()) {  // not even the current folder
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  // Relative forms first become full paths, as the system makes them.
  std::string full;
  bool has_drive = path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
  bool current_drive =
      has_drive && current_folder_.size() >= 2 && UpperAscii(path[0]) == UpperAscii(current_folder_[0]);
  if (has_drive && (path.size() == 2 || path[2] != '\\'))  // "C:x": from that drive's current folder
    full = (current_drive ? current_folder_ : std::string(1, path[0]) + ":\\") + std::string(path.substr(2));
  else if (!has_drive && path.size() >= 2 && path[0] == '\\' && path[1] == '\\')
    full = path;                                            // a network path: no drive of this map
  else if (!has_drive && !path.empty() && path[0] == '\\')  // "\x": from the current drive's root
    full = current_folder_.substr(0, 2) + std::string(path);
  else if (!has_drive)
    full = current_folder_ + std::string(path);
  else
    full = path;
  std::string_view text = full;
  has_drive = text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':';
  std::string_view rest = has_drive ? text.substr(2) : text;
  if (HasInvalidChar(rest, false)) {
    error = kErrorInvalidName;
    return std::nullopt;
  }
  auto drive = has_drive ? drives_.find(UpperAscii(text[0])) : drives_.end();
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
  HostLocation where{drive->second.host_folder, std::string(1, drive->first) + ":", names.size()};
  for (const std::string& name : names) {
    where.host = ResolveComponent(where.host, name);
    where.key += "\\" + UpperCased(name);
  }
  if (names.empty()) where.key += "\\";
  return where;
}

}  // namespace setup
