#include "check/host_report.h"

#include <map>

#include "config/setup_config.h"
#include "hosts/detection_pass.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "hosts/special_detectors.h"
#include "install/deployment.h"
#include "platform/ansi_text.h"
#include "platform/overlay_registry.h"
#include "scan/show_step.h"

namespace setup {
namespace {

// A scan that shows nothing; Escape still stops it, as in the scan window.
class QuietScan : public ScanObserver {
 public:
  explicit QuietScan(Keyboard& keyboard) : keyboard_(keyboard) {}
  void FolderReached(const std::string&) override {}
  void LetUserAct() override {}
  bool StopRequested() override { return keyboard_.EscapePressed(); }

 private:
  Keyboard& keyboard_;
};

struct Origin {
  HostSource source;
  std::string detail;
};

std::string RegistryPlace(const HostEntry& entry) {
  std::string root = entry.Root == RootKey::kCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
  std::string value = entry.ValueName.empty() ? "(default)" : std::string(entry.ValueName);
  return root + std::string(entry.KeyPath) + ", value " + value;
}

std::string PackageHostPlace(const PackageHost& host) {
  std::string place = "[host." + host.id + "], ";
  if (!host.from_registry) return place + "folder " + host.folder;
  std::string root = host.root == RootKey::kCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
  std::string value = host.value_name.empty() ? "(default)" : host.value_name;
  return place + root + host.key_path + ", value " + value + (host.view == RegistryView::k64Bit ? ", 64-bit view" : "");
}

}  // namespace

const char* HostSourceName(HostSource source) {
  switch (source) {
    case HostSource::kCatalogueEntry: return "catalogue entry";
    case HostSource::kSpecialDetector: return "special detector";
    case HostSource::kDriveScan: return "drive scan";
    case HostSource::kScratchValue: return "scratch value";
    case HostSource::kPackageHost: return "package host";
  }
  return "";
}

std::vector<HostRow> ListHostsReadOnly(const Platform& platform, std::vector<UnheldHostFolder>* unheld) {
  OverlayRegistry registry(platform.registry);
  Platform overlay{registry, platform.profile, platform.files, platform.keyboard, platform.clock, platform.environment};

  // Which scratch value each store came from, by value name; the last store wins.
  std::map<std::string, Origin> origins;
  auto note_writes = [&](std::size_t from, HostSource source, std::string_view detail) {
    for (std::size_t i = from; i < registry.writes().size(); ++i)
      origins[UpperCased(registry.writes()[i].name)] = {source, std::string(detail)};
  };

  std::vector<SpecialDetector> detectors;
  for (const NamedDetector& detector : kSpecialDetectors) {
    detectors.push_back([&, detector] {
      std::size_t before = registry.writes().size();
      detector.detect(overlay);
      note_writes(before, HostSource::kSpecialDetector, detector.host);
    });
  }
  FoundMarks found;
  std::vector<ListedHost> listed = RunShowStep(overlay, detectors, found, [&] {
    QuietScan quiet(platform.keyboard);
    bool image_explorer_pro_mark = false;
    ScanDrivesForHosts(overlay, quiet, image_explorer_pro_mark);
    note_writes(0, HostSource::kDriveScan, "");
  });
  if (unheld) *unheld = HostsWithUnheldFolders(overlay, ReadPackageHosts(overlay).hosts);

  std::string subfolder = ReadInstallSubfolder(overlay);
  std::vector<HostRow> rows;
  for (const ListedHost& host : listed) {
    std::string target = TargetFolderOf(overlay, host, subfolder).value_or("");
    if (host.IsPackageHost()) {
      rows.push_back({host.description, host.ticked, target, HostSource::kPackageHost, PackageHostPlace(host.place)});
      continue;
    }
    const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(host.entry)];
    HostRow row{host.description, host.ticked, target, HostSource::kCatalogueEntry, RegistryPlace(entry)};
    if (entry.Root == RootKey::kCurrentUser && EqualIgnoringCase(entry.KeyPath, kScratchKeyPath)) {
      auto origin = origins.find(UpperCased(entry.ValueName));
      if (origin != origins.end()) {
        row.source = origin->second.source;
        row.detail = origin->second.detail;
      } else {
        row.source = HostSource::kScratchValue;
      }
      if (row.detail.empty())
        row.detail = "HKEY_CURRENT_USER\\" + std::string(kScratchKeyPath) + ", value " + std::string(entry.ValueName);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace setup
