#include "unattended/files_check.h"

#include <algorithm>

#include "config/setup_config.h"
#include "config/text.h"

namespace setup {

std::vector<std::string> FilesSectionsUsed(const InstallChoice& choice) {
  std::vector<std::string> sections;
  auto add = [&](std::string_view section) {
    bool known = std::any_of(sections.begin(), sections.end(),
                             [&](const std::string& used) { return EqualIgnoringCase(used, section); });
    if (!known) sections.emplace_back(section);
  };
  for (const ListedHost& host : choice.hosts) add(host.files_section);
  if (choice.custom) add(kDefaultFilesSection);
  return sections;
}

FilesSectionsCheck CheckFilesSections(const Platform& platform, std::span<const std::string> sections) {
  FilesSectionsCheck check;
  for (const std::string& section : sections) {
    std::vector<std::string> keys = ReadSetupKeys(platform, section);
    if (keys.empty()) check.empty_sections.push_back(section);
    for (const std::string& key : keys) {
      std::string value = ReadSetupValue(platform, section, key);
      FilesEntryMatch match = MatchFilesEntry(platform, value);
      check.matched += match.files.size();
      if (match.files.empty()) check.unmatched.push_back({section, key, value});
    }
  }
  return check;
}

}  // namespace setup
