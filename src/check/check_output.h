#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"
#include "check/host_report.h"

namespace setup {

/// One line a finding, "file:line: severity: message (suggestion)", then the
/// deployment list by files section with each file's size, then a count.
std::string FindingsText(const PackageReport& report);
/// {"findings": [{file, line, section, key, severity, message, suggestion}],
///  "deployment": [{section, file, size}], "errors": n, "warnings": n}
std::string FindingsJson(const PackageReport& report);

/// Each host with its tick, install folder and source, then each host left
/// off for a folder name the code page cannot hold.
std::string HostsText(const std::vector<HostRow>& hosts, const std::vector<UnheldHostFolder>& unheld = {});
/// {"hosts": [{description, ticked, install_folder, source, detail}],
///  "not_listed": [{description, folder, reason}]}
std::string HostsJson(const std::vector<HostRow>& hosts, const std::vector<UnheldHostFolder>& unheld = {});

/// A JSON string. The program's texts are 8-bit ANSI; bytes above 127 are
/// written as the code points of the same number, as Latin-1 reads them.
std::string JsonString(std::string_view text);

}  // namespace setup
