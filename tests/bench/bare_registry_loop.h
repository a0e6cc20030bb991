#pragma once

namespace setup {

/// The floor of a detection pass: opens the key of every catalogue entry in
/// the 32-bit view, reads its value and closes it, with nothing else. The
/// time of one loop in milliseconds, the best of `loops` (the real
/// registry, so Windows builds only).
double BareRegistryLoopMs(int loops);

}  // namespace setup
