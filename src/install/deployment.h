#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "ui/toolkit.h"

namespace setup {

/// The custom folder as a target selector; 0 to 216 are catalogue entries.
inline constexpr int kCustomTarget = -1;

/// How often, at most, the file line and bar are brought up to date, the
/// window repainted and its input handled while files are copied. Under Wine
/// doing so for every file cost twenty times the copy of a small file; at
/// this rate it costs a few per cent, and the bar still moves smoothly.
inline constexpr std::chrono::milliseconds kProgressFrameInterval{30};

/// What copying into one target needs besides the platform: the progress
/// window's file line and bar, the custom folder text and the install sub-folder.
struct DeploymentContext {
  const Platform& platform;
  Toolkit& toolkit;
  Window& progress;
  ControlId file_label;
  ControlId file_bar;
  std::string custom_folder;
  std::string install_subfolder;
  std::chrono::nanoseconds frame_interval = kProgressFrameInterval;
};

/// The plug-in files that setup.ini [files] names, relative to the program
/// folder, in file order; folders are skipped, duplicates kept.
std::vector<std::string> BuildDeploymentList(const Platform& platform);

/// The folder part of a path: the text before its last backslash or colon,
/// keeping a backslash that follows a colon or another backslash ("D:\").
std::string DirectoryPart(std::string_view path);

/// Copies the plug-in files into one target, reporting every failure in a
/// message box and going on. The file line shows the first and the last file,
/// every file whose copy failed, and between them a file per frame interval.
void DeployToTarget(const DeploymentContext& context, int target);

}  // namespace setup
