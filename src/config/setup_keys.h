#pragma once

#include <span>
#include <string_view>

namespace setup {

/// How the program takes a setup.ini value.
enum class SetupValueKind {
  kText,       // used as it stands
  kFileName,   // a file in the package folder, joined to it without a separator
  kOnSwitch,   // only the exact text "1" switches it on
  kOffSwitch,  // only the exact text "0" switches it off
  kNumber,     // a whole decimal number; any other text gives the default
};

/// One key the program reads from a section of its own.
struct SetupKey {
  std::string_view section;
  std::string_view key;
  SetupValueKind kind;
  int default_number;  // kNumber: what an empty text or one that is no number gives
};

inline constexpr std::string_view kMessagesSection = "messages";
inline constexpr std::string_view kOptionsSection = "options";
inline constexpr std::string_view kPresentationSection = "presentation";
/// Keys are host and version ids of the catalogue, and "all".
inline constexpr std::string_view kEnabledSection = "enabled";
inline constexpr std::string_view kEnabledAllKey = "all";
/// Keys only name the entries; each value is a file name or pattern.
inline constexpr std::string_view kFilesSection = "files";
/// Keys are the ids of hosts the package names; each value the text the host list shows.
inline constexpr std::string_view kHostsSection = "hosts";
/// The section of one such host: this prefix followed by its id.
inline constexpr std::string_view kHostSectionPrefix = "host.";

/// Every key of [messages], [options] and [presentation] that the program
/// reads. A test runs the program and holds every read against this table.
inline constexpr SetupKey kSetupKeys[] = {
    // section, key, kind, default number
    {kMessagesSection, "start", SetupValueKind::kText, 0},
    {kMessagesSection, "agreement", SetupValueKind::kFileName, 0},
    {kMessagesSection, "agree", SetupValueKind::kOnSwitch, 0},
    {kMessagesSection, "close", SetupValueKind::kText, 0},
    {kOptionsSection, "autoscan", SetupValueKind::kOnSwitch, 0},
    {kOptionsSection, "autoselect", SetupValueKind::kOffSwitch, 0},
    {kOptionsSection, "subdir", SetupValueKind::kText, 0},
    {kOptionsSection, "custom", SetupValueKind::kText, 0},
    {kPresentationSection, "width", SetupValueKind::kNumber, 0},
    {kPresentationSection, "height", SetupValueKind::kNumber, 0},
    {kPresentationSection, "caption", SetupValueKind::kText, 0},
    {kPresentationSection, "bitmap", SetupValueKind::kFileName, 0},
    {kPresentationSection, "bitmaplink", SetupValueKind::kText, 0},
    {kPresentationSection, "title", SetupValueKind::kText, 0},
    {kPresentationSection, "version", SetupValueKind::kText, 0},
    {kPresentationSection, "publisher", SetupValueKind::kText, 0},
    {kPresentationSection, "scan.visible", SetupValueKind::kOnSwitch, 0},
    {kPresentationSection, "scan.flat", SetupValueKind::kNumber, 1},
    {kPresentationSection, "scan.caption", SetupValueKind::kText, 0},
    {kPresentationSection, "browse.flat", SetupValueKind::kNumber, 1},
    {kPresentationSection, "browse.caption", SetupValueKind::kText, 0},
};
static_assert(std::size(kSetupKeys) == 21);

/// Every key of the section of a host the package names, [host.<id>].
inline constexpr SetupKey kPackageHostKeys[] = {
    // section, key, kind, default number
    {kHostSectionPrefix, "registry", SetupValueKind::kText, 0},
    {kHostSectionPrefix, "view", SetupValueKind::kText, 0},
    {kHostSectionPrefix, "folder", SetupValueKind::kText, 0},
    {kHostSectionPrefix, "append", SetupValueKind::kText, 0},
    {kHostSectionPrefix, "subdir", SetupValueKind::kOffSwitch, 0},
    {kHostSectionPrefix, "files", SetupValueKind::kText, 0},
    {kHostSectionPrefix, "select", SetupValueKind::kOffSwitch, 0},
};
static_assert(std::size(kPackageHostKeys) == 7);

/// The sections whose keys kSetupKeys lists, then [enabled], [files] and
/// [hosts]. A package also has a section for each host [hosts] names, and
/// the files sections those hosts name.
inline constexpr std::string_view kSetupSections[] = {kMessagesSection, kOptionsSection, kPresentationSection,
                                                      kEnabledSection,  kFilesSection,   kHostsSection};

/// The row of a section and key, letter case ignored as the reader ignores
/// it; null for a key the program does not read from that section.
const SetupKey* FindSetupKey(std::string_view section, std::string_view key);

}  // namespace setup
