#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

/// The private-profile buffer of one host initialisation value: 2047
/// characters and a zero, as for setup.ini.
inline constexpr std::size_t kHostIniValueBufferSize = 2048;

/// Looks at one file met by the drive scan: when its name (letter case
/// ignored) is one of the known host programs, configuration or preference
/// files, stores the plug-in folder it leads to under the scratch key.
/// `folder` is the file's folder ending in a backslash. Names that match no
/// trigger cost no file or registry access. A host text file that cannot be
/// read is passed over; nothing is thrown for it. `image_explorer_pro_mark`
/// lives for the whole run: set once an "iep.ini" yields a folder, never
/// cleared, and while set "image explorer pro.exe" is not recognised.
void CheckScanHit(const Platform& platform, bool& image_explorer_pro_mark, const std::string& folder,
                  std::string_view file_name);

/// A whole number as host initialisation files write it: decimal, or
/// hexadecimal after "0x" or "$", with an optional sign, within 32 bits;
/// anything else counts as 0. Eight hexadecimal digits may set the sign bit.
int ParseHostNumber(std::string_view text);

}  // namespace setup
