#pragma once

#include "platform/platform.h"

namespace setup {

// Detectors for hosts whose plug-in folder has to be put together from
// registry values (or from an ini file the registry names). Each stores what
// it finds under the scratch key and reports nothing; a missing key or value
// simply stores nothing.

/// "Fh8": the install folder joined with the Xtras folder, when both are set.
void DetectFreeHand8(const Platform& platform);
/// "Pl5P1", "Pl5P2": the two plug-in paths without their first two characters.
void DetectPhotoLine(const Platform& platform);
/// "PD2KP1": the install folder's PhotoDraw\PlugIns; "PD2KP2": the additional path.
void DetectPhotoDraw(const Platform& platform);
/// "PP9P1".."PP9P8": the plug-in filter folders of the last used workspace's photopnt.ini.
void DetectPhotoPaint9(const Platform& platform);
/// "PP12P1".."PP12P8": the same, from the workspace's CorelPP.ini.
void DetectPhotoPaint12(const Platform& platform);
/// "Pi5".."Pi15" and "Pi85": each version's install path joined with "plugin".
void DetectPhotoImpact(const Platform& platform);
/// "Pt9", "Pt10", "Pt11": the application paths of Painter IX, 10 or X, and 11.
void DetectPainter(const Platform& platform);

}  // namespace setup
