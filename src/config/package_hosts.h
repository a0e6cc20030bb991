#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/setup_keys.h"
#include "platform/platform.h"

namespace setup {

/// No more hosts than this are taken from [hosts]; the rest are skipped.
inline constexpr std::size_t kMaxPackageHosts = 100;
/// In a host's text: the name of the subkey an enumerating registry place
/// matched (for a place without "*", the last key of its path).
inline constexpr std::string_view kKeyPlaceholder = "%KEY%";
/// In a host's text: the last folder of the folder found, before append.
inline constexpr std::string_view kFolderPlaceholder = "%FOLDER%";
/// The section of files a package host gets when it names none.
inline constexpr std::string_view kDefaultFilesSection = kFilesSection;

/// Why a [hosts] entry is not taken (it is then never listed).
enum class PackageHostProblem {
  kBadId,                 // the id holds a character other than letters, digits, '-' and '_'
  kDuplicateId,           // an earlier entry has the same id, letter case ignored
  kNoDescription,         // the entry's value is empty
  kNoPlace,               // [host.<id>] gives neither registry nor folder
  kBadRoot,               // registry names a root other than HKLM or HKCU
  kBadRegistry,           // registry lacks the "|" before the value name, or names no key
  kManyWildcards,         // registry has more than one "*" key component
  kBadAppend,             // append is a full path or climbs out with ".."
  kDuplicateDescription,  // a catalogue host or an earlier package host has it, letter case ignored
  kOverLimit,             // kMaxPackageHosts hosts are taken already
};

/// One host that setup.ini describes in [hosts] and [host.<id>], as written
/// there: nothing of the machine is read yet.
struct PackageHost {
  std::string id;                            // the [hosts] key; also its [enabled] key
  std::string description;                   // the host list item's text
  bool from_registry = false;                // the place is a registry value (else the folder below)
  RootKey root = RootKey::kLocalMachine;     // with from_registry
  std::string key_path;                      // with from_registry: below the root
  std::string value_name;                    // with from_registry: empty for the key's default value
  RegistryView view = RegistryView::k32Bit;  // with from_registry: view=64 reads the 64-bit view
  std::string folder;                        // folder= as written, %NAME% not yet replaced; kept when registry wins
  bool folder_is_match = false;              // folder is one that a pattern matched: nothing left to replace
  std::string append;                        // a relative folder added to the found one; may be empty
  bool use_subdir = true;                    // the files go into the install sub-folder (subdir is not "0")
  std::string files_section = std::string(kDefaultFilesSection);  // the section that lists the host's files
  bool preselect = true;  // listed ticked unless autoselect is "0" (select is not "0")

  bool operator==(const PackageHost&) const = default;
};

/// A [hosts] entry that is not taken, and why.
struct SkippedPackageHost {
  std::string id;  // the [hosts] key as written
  PackageHostProblem problem;
};

/// What setup.ini says of package hosts: the hosts taken and the entries
/// skipped, each in [hosts] order.
struct PackageHosts {
  std::vector<PackageHost> hosts;
  std::vector<SkippedPackageHost> skipped;
};

/// Reads [hosts] and each host's [host.<id>] section. A description without
/// placeholders equal to one of `taken_descriptions` (the catalogue's) or to
/// an earlier host's, letter case ignored, is skipped (one with them is
/// compared once they are replaced, when the host is listed). Reads nothing
/// but setup.ini.
PackageHosts ParsePackageHosts(const Platform& platform, std::span<const std::string_view> taken_descriptions);

/// True when the text holds %KEY% or %FOLDER%.
bool HasPlaceholder(std::string_view description);

/// Where the first "*" component of a key path starts; npos when it has none.
std::size_t WildcardComponentAt(std::string_view key_path);

/// True when the host's registry place has a "*" key component.
bool EnumeratesKeys(const PackageHost& host);

/// The reason a host is skipped, as a short sentence for a plug-in maker.
std::string_view ProblemText(PackageHostProblem problem);

}  // namespace setup
