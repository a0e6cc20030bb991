#pragma once

#include <string>
#include <vector>

#include "config/package_hosts.h"
#include "platform/platform.h"

namespace setup {

/// The entry of a row that no catalogue entry found.
inline constexpr int kNoCatalogueEntry = -1;

/// One row of the host list, whatever found it: a catalogue entry, a package
/// host, or one match of an enumerating package host. The windows, the
/// silent run and the checker all take these rows from the same pass.
struct ListedHost {
  std::string description;        // the item's text
  bool ticked = false;            // listed ticked
  std::string install_folder;     // where its plug-ins go before the install sub-folder, as the pass found it
  std::vector<std::string> ids;   // the keys that name it in [enabled] and /HOSTS
  std::string files_section;      // the section that lists its files
  int entry = kNoCatalogueEntry;  // the catalogue entry that found it (0 to 216)
  PackageHost place;              // of a package host: its section, the place narrowed to this match

  bool IsPackageHost() const { return entry == kNoCatalogueEntry; }
  bool operator==(const ListedHost&) const = default;
};

/// The row of catalogue entry `entry` (0 to 216), its folder read now.
ListedHost CatalogueRow(const Platform& platform, int entry, bool ticked);

/// The row of a package host, or of one match of an enumerating one (a
/// host whose place names that match alone), its folder read now.
ListedHost PackageHostRow(const Platform& platform, const PackageHost& match, bool ticked);

/// Where the row's plug-ins go before the install sub-folder, read again
/// now (the host may have moved since it was listed); empty when gone.
std::string CurrentFolderOf(const Platform& platform, const ListedHost& row);

}  // namespace setup
