#pragma once

#include <string_view>

// The plug-in maker's name and web address are build settings, so that a
// maker can rebrand a build (CMake cache variables SETUP_MAKER_NAME and
// SETUP_MAKER_URL).
#ifndef SETUP_MAKER_NAME
#define SETUP_MAKER_NAME "Brisquell"
#endif
#ifndef SETUP_MAKER_URL
#define SETUP_MAKER_URL "https://www.brisquell.example/"
#endif

namespace setup {

inline constexpr std::string_view kMakerName = SETUP_MAKER_NAME;
inline constexpr std::string_view kMakerUrl = SETUP_MAKER_URL;

}  // namespace setup
