#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string_view>

#include "platform/registry.h"

namespace setup {

/// One registry value whose text is one plug-in folder of one version of a host.
struct HostEntry {
  RootKey Root;                  // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, nothing else
  std::string_view KeyPath;      // below the root, no leading backslash
  std::string_view ValueName;    // empty: the key's default value
  std::string_view Description;  // the host list item's text; maps an item back to its entry
  bool Preselect;                // the item is ticked when it is listed
  bool UseSubdir;                // the files go into the install subfolder inside the found folder
  std::string_view HostId;       // [enabled] key shared by every version of the host
  std::string_view VersionId;    // [enabled] key shared by every path of one version
};

inline constexpr std::size_t kHostCount = 217;

inline constexpr RootKey kHkcu = RootKey::kCurrentUser;
inline constexpr RootKey kHklm = RootKey::kLocalMachine;

// The widths of the fixed text fields the catalogue was laid out in; a longer
// text would have been cut there, so none may be longer here.
inline constexpr std::size_t kMaxKeyPathLength = 79;
inline constexpr std::size_t kMaxValueNameLength = 29;
inline constexpr std::size_t kMaxDescriptionLength = 49;
inline constexpr std::size_t kMaxIdLength = 29;

constexpr bool FitsFieldWidths(const HostEntry& entry) {
  return entry.KeyPath.size() <= kMaxKeyPathLength && entry.ValueName.size() <= kMaxValueNameLength &&
         entry.Description.size() <= kMaxDescriptionLength && entry.HostId.size() <= kMaxIdLength &&
         entry.VersionId.size() <= kMaxIdLength;
}

/// The entries whose host list items the detection pass has added (the `Found`
/// marks), indexed like HostCatalogue and kept per run.
using FoundMarks = std::bitset<kHostCount>;

/// Every place where a supported host keeps a plug-in folder, in the order
/// of the host list (host_catalogue.cpp). Defined once: a header copy would
/// put its texts into every program file that reads the table.
extern const std::array<HostEntry, kHostCount> HostCatalogue;

}  // namespace setup
