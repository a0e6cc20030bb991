#pragma once

#include <algorithm>
#include <vector>

namespace setup {

/// The middle of some timings (the upper middle of an even count).
inline double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace setup
