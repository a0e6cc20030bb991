#include "unattended/uninstall_entry.h"

#include <algorithm>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "unattended/install_record.h"

namespace setup {
namespace {

constexpr std::string_view kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

RootKey RootOf(const PackagePlace& place) { return place.machine ? RootKey::kLocalMachine : RootKey::kCurrentUser; }

}  // namespace

std::string UninstallKeyPath(const Platform& platform, std::string_view maker) {
  std::string title = FolderName(ReadSetupValue(platform, kPresentationSection, kTitleKey));
  if (title.empty()) title = "Untitled";
  std::string maker_name = FolderName(maker);
  if (maker_name.empty()) maker_name = "Plug-in Setup";
  return std::string(kUninstallKey) + maker_name + " " + title;
}

std::string VersionNumber(std::string_view text) {
  std::size_t start = text.find_first_of("0123456789");
  if (start == std::string_view::npos) return {};
  std::size_t end = start;
  while (end < text.size() &&
         ((text[end] >= '0' && text[end] <= '9') ||
          (text[end] == '.' && end + 1 < text.size() && text[end + 1] >= '0' && text[end + 1] <= '9')))
    ++end;
  return std::string(text.substr(start, end - start));
}

bool WriteUninstallEntry(const Platform& platform, const PackagePlace& place, std::string_view maker,
                         std::uint64_t installed_bytes) {
  Registry& registry = platform.registry;
  ScopedKey key(registry, registry.Create(RootOf(place), UninstallKeyPath(platform, maker)));
  if (!key) return false;
  std::string title = ReadSetupValue(platform, kPresentationSection, kTitleKey);
  std::string publisher = ReadSetupValue(platform, kPresentationSection, kPublisherKey);
  std::string program = "\"" + place.CopyFolder() + "Setup.exe\"";
  std::string date = platform.clock.LocalTimestamp().substr(0, 10);  // YYYY-MM-DD
  std::erase(date, '-');
  std::string version = VersionNumber(ReadSetupValue(platform, kPresentationSection, kVersionKey));
  // Whole kilobytes, rounded up: what the Settings app shows as the size.
  auto kilobytes = static_cast<std::uint32_t>(std::min<std::uint64_t>((installed_bytes + 1023) / 1024, 0xFFFFFFFFu));
  bool written = registry.SetString(key.get(), "DisplayName", title.empty() ? "Untitled" : title) &&
                 registry.SetString(key.get(), "Publisher", publisher.empty() ? title : publisher) &&
                 registry.SetString(key.get(), "DisplayIcon", place.CopyFolder() + "Setup.exe") &&
                 registry.SetString(key.get(), "InstallLocation", place.folder) &&
                 registry.SetString(key.get(), "UninstallString", program + " /UNINSTALL") &&
                 registry.SetString(key.get(), "QuietUninstallString", program + " /UNINSTALL /S") &&
                 registry.SetString(key.get(), "InstallDate", date) &&
                 registry.SetDword(key.get(), "EstimatedSize", kilobytes) &&
                 registry.SetDword(key.get(), "NoModify", 1) && registry.SetDword(key.get(), "NoRepair", 1);
  if (written && !version.empty()) written = registry.SetString(key.get(), "DisplayVersion", version);
  return written;
}

bool RemoveUninstallEntry(const Platform& platform, const PackagePlace& place, std::string_view maker) {
  std::string path = UninstallKeyPath(platform, maker);
  if (!ScopedKey(platform.registry, platform.registry.OpenForReading(RootOf(place), path))) return true;
  return platform.registry.DeleteKey(RootOf(place), path);
}

}  // namespace setup
