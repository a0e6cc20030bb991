#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/package_hosts.h"
#include "platform/platform.h"

namespace setup {

/// The package hosts of setup.ini, with the catalogue's descriptions taken.
PackageHosts ReadPackageHosts(const Platform& platform);

/// One place a package host stands for on this machine.
struct PackageHostMatch {
  PackageHost host;          // narrowed to this place, %KEY% and %FOLDER% of its text replaced
  std::string found_folder;  // the folder the place holds now, before append; empty when none
};

/// The places a package host stands for now: its own, or for an enumerating
/// host (a "*" key component, or a folder whose last component holds * or ?
/// once %NAME% is replaced) every subkey or sub-folder that matches, in
/// version order of the matched names (CompareVersionNames). Whether the
/// found folders exist is not asked, except that a folder pattern matches
/// folders only.
std::vector<PackageHostMatch> MatchesOf(const Platform& platform, const PackageHost& host);

/// True when the text is a catalogue entry's, letter case ignored.
bool IsCatalogueDescription(std::string_view description);

/// The text a package host's place holds now: its registry value in its
/// view (a REG_EXPAND_SZ expanded), or its folder with %NAME% replaced from
/// the environment.
std::string FolderTextOf(const Platform& platform, const PackageHost& host);

/// FolderTextOf as a folder (UsableFolder): empty when nothing is there, the
/// text is longer than any path or holds what the code page cannot hold.
std::string FoundFolderOf(const Platform& platform, const PackageHost& host);

/// Where the host's plug-ins go before the install sub-folder: the found
/// folder plus `append` (after a backslash where needed). Empty when the
/// found folder is.
std::string InstallFolderOf(const Platform& platform, const PackageHost& host);

/// True unless setup.ini [enabled] switches the host off: its id, else
/// "all", else on; only "0" switches off.
bool IsPackageHostEnabled(const Platform& platform, const PackageHost& host);

}  // namespace setup
