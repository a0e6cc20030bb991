#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "unattended/package_place.h"

namespace setup {

/// The key of the Apps & features entry below HKLM (a place for every
/// user) or HKCU, in the registry view the program writes (the 32-bit one):
/// Software\Microsoft\Windows\CurrentVersion\Uninstall\<maker> <title>.
std::string UninstallKeyPath(const Platform& platform, std::string_view maker);

/// The version number in a version text: the first run of digits and the
/// dots between them ("Version 2.1.3 beta" gives "2.1.3"); empty when the
/// text holds no digit.
std::string VersionNumber(std::string_view text);

/// Writes or updates the entry of the package: its name, version and
/// publisher from setup.ini, the uninstall copy's commands, today's date and
/// the installed size. False when the key cannot be written.
bool WriteUninstallEntry(const Platform& platform, const PackagePlace& place, std::string_view maker,
                         std::uint64_t installed_bytes);

/// Deletes the entry; true when it is gone afterwards.
bool RemoveUninstallEntry(const Platform& platform, const PackagePlace& place, std::string_view maker);

}  // namespace setup
