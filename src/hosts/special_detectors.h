#pragma once

#include <string_view>

#include "hosts/preference_detectors.h"
#include "hosts/registry_detectors.h"
#include "platform/platform.h"

namespace setup {

/// A special detector and the host it looks for.
struct NamedDetector {
  std::string_view host;  // as a report names it
  void (*detect)(const Platform& platform);
};

/// The special detectors in the order every detection pass runs them.
inline constexpr NamedDetector kSpecialDetectors[] = {
    {"FreeHand 8", DetectFreeHand8},
    {"PhotoLine", DetectPhotoLine},
    {"PhotoDraw 2000", DetectPhotoDraw},
    {"PHOTO-PAINT 9", DetectPhotoPaint9},
    {"PHOTO-PAINT 12", DetectPhotoPaint12},
    {"PhotoImpact", DetectPhotoImpact},
    {"Painter", DetectPainter},
    {"Fireworks", DetectFireworks},
    {"Canvas", DetectCanvas},
    {"Xara", DetectXara},
};
static_assert(std::size(kSpecialDetectors) == 10);

}  // namespace setup
