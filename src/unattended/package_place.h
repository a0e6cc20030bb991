#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace setup {

/// The one folder per package where unattended installs keep what undoes
/// them: <base>\<maker>\<title>, with the install record, the uninstall copy
/// of the package and the originals of the files they replaced.
struct PackagePlace {
  std::string base;      // the program-files or the local data folder, trusted as the system names it
  std::string folder;    // base\maker\title
  bool machine = false;  // under the program-files folder: for every user, entry in HKLM

  std::string RecordPath() const { return folder + "\\Install record.txt"; }
  /// The uninstall copy, with a trailing backslash.
  std::string CopyFolder() const { return folder + "\\Uninstall\\"; }
};

/// The place of the package [presentation] title names (an empty title is
/// "Untitled", letters a folder name cannot hold become "_"): under the
/// folder for 32-bit programs when this process can write there (only
/// administrators can), else under the user's local data folder. Nothing
/// when the system names neither.
std::optional<PackagePlace> ChoosePackagePlace(const Platform& platform, std::string_view maker);

/// True when a link stands at `path` or at any folder between `base` and it.
bool LinkOnTheWay(FileSystem& files, const std::string& base, const std::string& path);

/// Makes the place's folder (its maker and title levels below the base) and
/// true when it exists with no link on the way: nothing is then written
/// where a link would lead.
bool MakePlaceFolder(FileSystem& files, const PackagePlace& place);

/// Writes the uninstall copy: the running program as Setup.exe, setup.ini
/// and the package files named (relative to the program folder). Returns
/// the problems, one text each; none when the copy is whole.
std::vector<std::string> WriteUninstallCopy(const Platform& platform, const PackagePlace& place,
                                            const std::vector<std::string>& package_files);

/// Removes the uninstall copy and then the place's folders that are left
/// empty. The running program cannot delete itself: it is asked to go at
/// the next restart, and so are the folders it keeps. Returns what stays.
std::vector<std::string> RemoveUninstallCopy(const Platform& platform, const PackagePlace& place,
                                             const std::vector<std::string>& package_files);

}  // namespace setup
