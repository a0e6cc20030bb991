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

/// The keys of [messages], [options] and [presentation], in kSetupKeys' order.
inline constexpr std::string_view kStartKey = "start";
inline constexpr std::string_view kAgreementKey = "agreement";
inline constexpr std::string_view kAgreeKey = "agree";
inline constexpr std::string_view kCloseKey = "close";
inline constexpr std::string_view kAutoscanKey = "autoscan";
inline constexpr std::string_view kAutoselectKey = "autoselect";
inline constexpr std::string_view kSubdirKey = "subdir";
inline constexpr std::string_view kCustomKey = "custom";
inline constexpr std::string_view kWidthKey = "width";
inline constexpr std::string_view kHeightKey = "height";
inline constexpr std::string_view kCaptionKey = "caption";
inline constexpr std::string_view kBitmapKey = "bitmap";
inline constexpr std::string_view kBitmapLinkKey = "bitmaplink";
inline constexpr std::string_view kTitleKey = "title";
inline constexpr std::string_view kVersionKey = "version";
inline constexpr std::string_view kPublisherKey = "publisher";
inline constexpr std::string_view kScanVisibleKey = "scan.visible";
inline constexpr std::string_view kScanFlatKey = "scan.flat";
inline constexpr std::string_view kScanCaptionKey = "scan.caption";
inline constexpr std::string_view kBrowseFlatKey = "browse.flat";
inline constexpr std::string_view kBrowseCaptionKey = "browse.caption";
/// The keys of a [host.<id>] section, in kPackageHostKeys' order.
inline constexpr std::string_view kHostRegistryKey = "registry";
inline constexpr std::string_view kHostViewKey = "view";
inline constexpr std::string_view kHostFolderKey = "folder";
inline constexpr std::string_view kHostAppendKey = "append";
inline constexpr std::string_view kHostSubdirKey = "subdir";
inline constexpr std::string_view kHostFilesKey = "files";
inline constexpr std::string_view kHostSelectKey = "select";

/// Every key of [messages], [options] and [presentation] that the program
/// reads. A test runs the program and holds every read against this table.
inline constexpr SetupKey kSetupKeys[] = {
    // section, key, kind, default number
    {kMessagesSection, kStartKey, SetupValueKind::kText, 0},
    {kMessagesSection, kAgreementKey, SetupValueKind::kFileName, 0},
    {kMessagesSection, kAgreeKey, SetupValueKind::kOnSwitch, 0},
    {kMessagesSection, kCloseKey, SetupValueKind::kText, 0},
    {kOptionsSection, kAutoscanKey, SetupValueKind::kOnSwitch, 0},
    {kOptionsSection, kAutoselectKey, SetupValueKind::kOffSwitch, 0},
    {kOptionsSection, kSubdirKey, SetupValueKind::kText, 0},
    {kOptionsSection, kCustomKey, SetupValueKind::kText, 0},
    {kPresentationSection, kWidthKey, SetupValueKind::kNumber, 0},
    {kPresentationSection, kHeightKey, SetupValueKind::kNumber, 0},
    {kPresentationSection, kCaptionKey, SetupValueKind::kText, 0},
    {kPresentationSection, kBitmapKey, SetupValueKind::kFileName, 0},
    {kPresentationSection, kBitmapLinkKey, SetupValueKind::kText, 0},
    {kPresentationSection, kTitleKey, SetupValueKind::kText, 0},
    {kPresentationSection, kVersionKey, SetupValueKind::kText, 0},
    {kPresentationSection, kPublisherKey, SetupValueKind::kText, 0},
    {kPresentationSection, kScanVisibleKey, SetupValueKind::kOnSwitch, 0},
    {kPresentationSection, kScanFlatKey, SetupValueKind::kNumber, 1},
    {kPresentationSection, kScanCaptionKey, SetupValueKind::kText, 0},
    {kPresentationSection, kBrowseFlatKey, SetupValueKind::kNumber, 1},
    {kPresentationSection, kBrowseCaptionKey, SetupValueKind::kText, 0},
};
static_assert(std::size(kSetupKeys) == 21);

/// Every key of the section of a host the package names, [host.<id>].
inline constexpr SetupKey kPackageHostKeys[] = {
    // section, key, kind, default number
    {kHostSectionPrefix, kHostRegistryKey, SetupValueKind::kText, 0},
    {kHostSectionPrefix, kHostViewKey, SetupValueKind::kText, 0},
    {kHostSectionPrefix, kHostFolderKey, SetupValueKind::kText, 0},
    {kHostSectionPrefix, kHostAppendKey, SetupValueKind::kText, 0},
    {kHostSectionPrefix, kHostSubdirKey, SetupValueKind::kOffSwitch, 0},
    {kHostSectionPrefix, kHostFilesKey, SetupValueKind::kText, 0},
    {kHostSectionPrefix, kHostSelectKey, SetupValueKind::kOffSwitch, 0},
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
