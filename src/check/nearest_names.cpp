#include "check/nearest_names.h"

#include <algorithm>

#include "platform/ansi_text.h"

namespace setup {
namespace {

// Insertions, deletions and substitutions, and a swap of two neighbours as one.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::vector<std::string> NearestNames(std::string_view name, std::span<const std::string_view> known,
                                      std::size_t most) {
  // No name the program knows is this long; the distance would only cost time.
  constexpr std::size_t kLongest = 64;
  if (name.size() > kLongest) return {};
  std::string lower = LowerCased(name);
  // A third of the name may be wrong, and at least two letters.
  std::size_t limit = std::max<std::size_t>(2, lower.size() / 3);
  std::size_t best = limit + 1;
  std::vector<std::string> nearest;
  for (std::string_view candidate : known) {
    std::size_t distance = EditDistance(lower, LowerCased(candidate));
    if (distance > limit || distance > best) continue;
    if (distance < best) {
      best = distance;
      nearest.clear();
    }
    if (nearest.size() < most && std::find(nearest.begin(), nearest.end(), candidate) == nearest.end())
      nearest.emplace_back(candidate);
  }
  return nearest;
}

}  // namespace setup
