#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

/// The names closest to a misspelt one (letter case ignored): those at the
/// smallest edit distance, if it is small for the name's length, at most
/// `most` of them in the order given. Empty when none is close.
std::vector<std::string> NearestNames(std::string_view name, std::span<const std::string_view> known,
                                      std::size_t most = 3);

}  // namespace setup
