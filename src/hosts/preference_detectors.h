#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

/// The most a host text file (preference, configuration or initialisation
/// file) may hold to be read at all. The formats read are a few KB; a larger
/// file counts as unreadable rather than filling the memory.
inline constexpr std::size_t kHostTextFileLimit = 4u << 20;

// Detectors for hosts whose plug-in folder is named in their own preference
// files (Fireworks, Canvas) or lies below a root folder the registry names
// (Xara). Each stores what it finds under the scratch key and reports nothing.

/// "Fw" + n: the extra Photoshop plug-ins folder switched on in the
/// preference file of the newest installed Fireworks version n (8 down to 1).
void DetectFireworks(const Platform& platform);
/// "Cv9", "Cv10", "Cv11", "Cv12": the plug-in path of each version's CVAppData.set.
void DetectCanvas(const Platform& platform);
/// "XX", "XXPrP1".."XXPrP51": each version's root folder + "Xara Picture Editor\PSplug-ins".
void DetectXara(const Platform& platform);

/// The registry key whose "InstallPath" marks Fireworks version n as installed.
std::string FireworksMarkerKey(int version);

/// The full path of the first file named exactly `file_name` in the tree
/// below `folder`, depth first in listing order; empty when there is none,
/// when the folder cannot be listed, or when Escape is pressed (asked once
/// per folder, before it is listed). Folder links (reparse points) are not
/// entered, so a link back up the tree cannot send the search round.
std::string FindFileInTree(const Platform& platform, const std::string& folder, std::string_view file_name);

/// The extra plug-in folder of a Fireworks preference file when the file
/// switches it on; empty otherwise, and when the file cannot be read.
std::string ReadFireworksPluginFolder(const Platform& platform, const std::string& file_path);

/// The plug-in path of a Canvas CVAppData.set file; empty when it has none,
/// when its length field is not a whole number, and when it cannot be read.
std::string ReadCanvasPluginFolder(const Platform& platform, const std::string& file_path);

}  // namespace setup
