#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

/// Errors break the install on a user's PC or reach outside the package;
/// everything else is a warning.
enum class Severity { kWarning, kError };

/// One mistake found in a package.
struct Finding {
  std::string file;     // relative to the package folder
  int line = 0;         // from 1; 0 when it concerns the whole file
  std::string section;  // as written in the file, or the section the program reads
  std::string key;      // empty when it concerns a section or the whole file
  Severity severity = Severity::kWarning;
  std::string message;
  std::string suggestion;  // empty when there is none

  bool operator==(const Finding&) const = default;
};

/// One file that an install would copy into the targets its section serves.
struct DeployedFile {
  std::string section;                // the files section that lists it: [files], or one a package host names
  std::string path;                   // relative to the package folder
  std::optional<std::uint64_t> size;  // nothing when it cannot be read
};

/// What checking a package gives.
struct PackageReport {
  std::vector<Finding> findings;         // by file, then line
  std::vector<DeployedFile> deployment;  // [files] first, then each section a package host names
};

/// 0 when there is no finding, 1 for warnings only, 2 when there is an error.
int ExitStatusOf(const std::vector<Finding>& findings);

}  // namespace setup
