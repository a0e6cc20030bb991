#pragma once

#include "check/finding.h"
#include "platform/platform.h"

namespace setup {

/// Checks the package in the platform's program folder as the program would
/// read it there: setup.ini's sections, keys and values, the files it names
/// and the deployment list. Reads only; never throws for what it finds.
PackageReport CheckPackage(const Platform& platform);

}  // namespace setup
