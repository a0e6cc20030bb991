#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "install/installation.h"
#include "platform/platform.h"

namespace setup {

/// The files sections the chosen targets copy from, each once, in target
/// order: each host's section ([files] for the catalogue's, a package host's
/// own), then [files] for the extra folder. Letter case is ignored, as
/// setup.ini ignores it.
std::vector<std::string> FilesSectionsUsed(const InstallChoice& choice);

/// An entry of a files section that matches no file of the package.
struct UnmatchedFilesEntry {
  std::string section;
  std::string key;
  std::string value;
};

/// What the files sections a run uses hold in this package.
struct FilesSectionsCheck {
  std::size_t matched = 0;                     // files the entries match, over every section
  std::vector<UnmatchedFilesEntry> unmatched;  // in section, then key order
  std::vector<std::string> empty_sections;     // sections that list no entry at all
};

/// Matches every entry of the sections against the package's files, as the
/// installation will.
FilesSectionsCheck CheckFilesSections(const Platform& platform, std::span<const std::string> sections);

}  // namespace setup
