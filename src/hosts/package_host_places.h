#pragma once

#include <string>

#include "config/package_hosts.h"
#include "platform/platform.h"

namespace setup {

/// The package hosts of setup.ini, with the catalogue's descriptions taken.
PackageHosts ReadPackageHosts(const Platform& platform);

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

/// True when the host is to be listed: enabled, and its found folder is a
/// full path to a folder that exists.
bool IsPackageHostPresent(const Platform& platform, const PackageHost& host);

}  // namespace setup
