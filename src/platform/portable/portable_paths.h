#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// The ANSI functions refuse a path that does not fit MAX_PATH with its terminator.
inline constexpr std::size_t kMaxPath = 260;

/// Whether text holds a character no file name may hold; '*' and '?' pass
/// where a pattern is allowed.
bool HasInvalidChar(std::string_view text, bool wildcards_allowed);

/// Where a Windows path leads: the host entry, and the normalised Windows path
/// upper-cased, which names an entry even before it exists.
struct HostLocation {
  std::filesystem::path host;
  std::string key;
  std::size_t depth = 0;  // levels below the drive root
};

/// Drive letters mapped to host folders, as Wine's dosdevices map them.
class DriveMap {
 public:
  /// Maps a letter (either case) to a host folder; anything but a letter is ignored.
  void Map(char letter, std::filesystem::path host_folder, std::uint32_t type);
  /// The type of a mapped drive's root ("C:\"); kDriveNoRootDir for anything else.
  std::uint32_t TypeOf(std::string_view root) const;
  /// The folder relative paths start from, a full path ending in a backslash
  /// ("C:\" unless set). A drive-relative path ("D:x") on another drive
  /// starts from that drive's root, as no other drive keeps a current folder.
  void SetCurrentFolder(std::string folder);
  /// Resolves a path on a mapped drive, a relative one ("x", "\x", "C:x")
  /// from the current folder as the system does: empty and "." names are
  /// skipped, ".." never climbs above the root, and each existing name is
  /// matched by its exact spelling, else by the first spelling equal
  /// regardless of case in byte order. Nothing, with `error` set, for an
  /// invalid name or a path without a mapped drive. The length limit is the caller's.
  std::optional<HostLocation> Locate(std::string_view windows_path, std::uint32_t& error) const;

 private:
  struct Drive {
    std::filesystem::path host_folder;
    std::uint32_t type;
  };
  std::map<char, Drive> drives_;
  std::string current_folder_ = "C:\\";
};

}  // namespace setup
