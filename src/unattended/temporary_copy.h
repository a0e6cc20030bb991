#pragma once

#include <optional>
#include <string_view>

#include "platform/platform.h"
#include "unattended/install_log.h"
#include "unattended/package_place.h"

namespace setup {

/// Set for a temporary copy to the folder it was put in. A variable rather
/// than an option: the copy gets the very command line it stands in for, and
/// nobody is shown an option that means nothing to them.
inline constexpr std::string_view kTemporaryCopyVariable = "PLUGIN_SETUP_TEMPORARY_COPY";

/// True when a removal must run from a temporary copy: it was started from
/// the place's uninstall copy, which cannot delete its own running Setup.exe,
/// and may not ask the system to delete it at the next restart either.
bool NeedsTemporaryCopy(const Platform& platform, const PackagePlace& place);

/// Puts Setup.exe and setup.ini in a fresh folder under the user's temp
/// folder, runs that Setup.exe with `command_line`, waits for it and gives
/// its exit code. Nothing (logged, and nothing left in the temp folder) when
/// the copy cannot be made or started: the caller then removes in-process.
std::optional<int> RunTemporaryCopy(const Platform& platform, std::string_view command_line, InstallLog& log);

/// True when the running program is a temporary copy.
bool IsTemporaryCopy(const Platform& platform);

/// Run by a temporary copy when done: deletes its setup.ini, and asks the
/// system to delete its Setup.exe and folder at the next restart where it
/// may; else the system's cleaning of temp folders takes them.
void LeaveTemporaryCopy(const Platform& platform);

}  // namespace setup
