#include "hosts/registry_detectors.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "config/setup_config.h"
#include "config/text.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

constexpr RootKey kHkcu = RootKey::kCurrentUser;
constexpr RootKey kHklm = RootKey::kLocalMachine;

// How a probe turns the text it read into a folder. The joins insert no
// separator of their own: each suffix carries the backslash it needs.
enum class Join {
  kAppend,          // text + suffix
  kAfterBackslash,  // AddTrailingBackslash(text) + suffix
  kDropFirstTwo,    // the text from its third character; nothing when that is empty
};

// One registry value read and, when it holds text, stored under a scratch name.
struct Probe {
  RootKey root;
  std::string_view key_path;
  std::string_view value_name;
  Join join;
  std::string_view suffix;        // appended after the text (kAppend, kAfterBackslash)
  std::string_view scratch_name;  // the value written under the scratch key
};

// The probe tables: one row per line, as they are read.
// clang-format off
constexpr Probe kPhotoLineProbes[] = {
    {kHkcu, "Software\\Computerinsel\\PhotoLine\\Settings", "PlugInPath", Join::kDropFirstTwo, "", "Pl5P1"},
    {kHkcu, "Software\\Computerinsel\\PhotoLine\\Settings", "PlugInPath2", Join::kDropFirstTwo, "", "Pl5P2"},
};
static_assert(std::size(kPhotoLineProbes) == 2);

constexpr Probe kPhotoDrawProbes[] = {
    {kHkcu, "Software\\Microsoft\\PhotoDraw\\1.0", "InstallDest", Join::kAfterBackslash, "PhotoDraw\\PlugIns", "PD2KP1"},
    {kHkcu, "Software\\Microsoft\\PhotoDraw\\1.0\\Settings", "AdditionalPlugInPath", Join::kAppend, "", "PD2KP2"},
};
static_assert(std::size(kPhotoDrawProbes) == 2);

// Up to version 12 the install path has no trailing backslash; from X3 (13)
// on it has one.
constexpr Probe kPhotoImpactProbes[] = {
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\5.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi5"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\6.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi6"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\7.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi7"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\8.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi8"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\9.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi9"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\10.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi10"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\11.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi11"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\12.0\\installer", "Path", Join::kAppend, "\\plugin", "Pi12"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\13.0\\installer", "Path", Join::kAppend, "plugin", "Pi13"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\14.0\\installer", "Path", Join::kAppend, "plugin", "Pi14"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\15.0\\installer", "Path", Join::kAppend, "plugin", "Pi15"},
    {kHklm, "Software\\Ulead Systems\\Ulead PhotoImpact\\8.5\\installer", "Path", Join::kAppend, "\\plugin", "Pi85"},
};
static_assert(std::size(kPhotoImpactProbes) == 12);

// Painter 10 registered itself under two names; the later probe wins.
constexpr Probe kPainterProbes[] = {
    {kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter IX.exe", "Path", Join::kAppend, "Plugins", "Pt9"},
    {kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter 10.exe", "Path", Join::kAppend, "Plugins", "Pt10"},
    {kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Painter X.exe", "Path", Join::kAppend, "Plugins", "Pt10"},
    {kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sketch Pad.exe", "Path", Join::kAppend, "Support Files\\Plugins", "Pt11"},
};
static_assert(std::size(kPainterProbes) == 4);
// clang-format on

// The PHOTO-PAINT versions keep their plug-in filter folders in an ini file
// beside the workspace they last used.
struct Workspace {
  std::string_view key_path;        // under HKEY_CURRENT_USER, value "LastWorkspaceUsed"
  std::string_view ini_name;        // in the workspace's folder
  std::string_view scratch_prefix;  // + 1..8
};

constexpr Workspace kPhotoPaint9 = {"Software\\Corel\\Corel PHOTO-PAINT\\9", "photopnt.ini", "PP9P"};
constexpr Workspace kPhotoPaint12 = {"Software\\Corel\\CorelDraw\\12.0\\CorelPHOTO-PAINT", "CorelPP.ini", "PP12P"};
constexpr int kWorkspaceFolderCount = 8;

// The text without its last `count` characters; empty when it has no more.
std::string WithoutLast(std::string_view text, std::size_t count) {
  text.remove_suffix(std::min(count, text.size()));
  return std::string(text);
}

void RunProbes(const Platform& platform, std::span<const Probe> probes) {
  for (const Probe& probe : probes) {
    std::string text = ReadRegistryText(platform.registry, probe.root, probe.key_path, probe.value_name);
    if (text.empty()) continue;
    std::string folder;
    switch (probe.join) {
      case Join::kAppend: folder = text + std::string(probe.suffix); break;
      case Join::kAfterBackslash: folder = AddTrailingBackslash(text) + std::string(probe.suffix); break;
      case Join::kDropFirstTwo:
        if (text.size() <= 2) continue;
        folder = text.substr(2);
        break;
    }
    StoreFoundFolder(platform.registry, probe.scratch_name, folder);
  }
}

void DetectWorkspaceFolders(const Platform& platform, const Workspace& workspace) {
  std::string last_used = ReadRegistryText(platform.registry, kHkcu, workspace.key_path, "LastWorkspaceUsed");
  if (last_used.empty()) return;
  // The workspace file's name less its extension names the folder the ini
  // lies in. Only a full path that the system can reach names one: a short
  // value would leave a bare file name, which the system looks for in the
  // Windows folder.
  std::string ini_path = AddTrailingBackslash(WithoutLast(last_used, 4)) + std::string(workspace.ini_name);
  if (!IsAbsolutePath(ini_path) || ini_path.size() > kMaxPathLength) return;
  for (int n = 1; n <= kWorkspaceFolderCount; ++n) {
    std::string number = std::to_string(n);
    std::string entry = platform.profile.ReadString(ini_path, "PluginFilters", "Dirs" + number, kSetupValueBufferSize);
    // The entry ends in three characters that are not part of the folder; a
    // shorter entry stores the empty text, which lists nothing.
    if (!entry.empty())
      StoreFoundFolder(platform.registry, std::string(workspace.scratch_prefix) + number, WithoutLast(entry, 3));
  }
}

}  // namespace

void DetectFreeHand8(const Platform& platform) {
  std::string install =
      ReadRegistryText(platform.registry, kHklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\Installation", "InstallPath");
  std::string xtras =
      ReadRegistryText(platform.registry, kHklm, "SOFTWARE\\Macromedia\\FreeHand\\8\\English", "XtrasDir");
  if (!install.empty() && !xtras.empty())
    StoreFoundFolder(platform.registry, "Fh8", AddTrailingBackslash(install) + xtras);
}

void DetectPhotoLine(const Platform& platform) { RunProbes(platform, kPhotoLineProbes); }

void DetectPhotoDraw(const Platform& platform) { RunProbes(platform, kPhotoDrawProbes); }

void DetectPhotoPaint9(const Platform& platform) { DetectWorkspaceFolders(platform, kPhotoPaint9); }

void DetectPhotoPaint12(const Platform& platform) { DetectWorkspaceFolders(platform, kPhotoPaint12); }

void DetectPhotoImpact(const Platform& platform) { RunProbes(platform, kPhotoImpactProbes); }

void DetectPainter(const Platform& platform) { RunProbes(platform, kPainterProbes); }

}  // namespace setup
