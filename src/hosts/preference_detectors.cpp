#include "hosts/preference_detectors.h"

#include <memory>
#include <new>
#include <optional>

#include "config/setup_config.h"
#include "config/text.h"
#include "hosts/registry_access.h"
#include "platform/tree_walk.h"

namespace setup {
namespace {

constexpr std::string_view kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

constexpr int kNewestFireworks = 8;

// Each Canvas version keeps its settings in the user's application-data folder.
struct CanvasRow {
  std::string_view relative_file;  // appended to the application-data folder as it is
  std::string_view scratch_name;
};

constexpr CanvasRow kCanvasRows[] = {
    {"\\Deneba\\Canvas9\\CVAppData.set", "Cv9"},
    {"\\ACD Systems\\Canvas X\\CVAppData.set", "Cv10"},
    {"\\ACD Systems\\Canvas 11\\CVAppData.set", "Cv11"},
    {"\\ACD Systems\\Canvas 12\\CVAppData.set", "Cv12"},
};
static_assert(std::size(kCanvasRows) == 4);

struct XaraRow {
  std::string_view key_path;  // under HKEY_LOCAL_MACHINE, value "XaraX Root Dir"
  std::string_view scratch_name;
};

constexpr XaraRow kXaraRows[] = {
    {"Software\\Xara\\Xara Xtreme", "XX"},         {"Software\\Xara\\XtremePro\\1", "XXPrP1"},
    {"Software\\Xara\\XtremePro\\2", "XXPrP2"},    {"Software\\Xara\\XtremePro\\3", "XXPrP3"},
    {"Software\\Xara\\XtremePro\\4", "XXPrP4"},    {"Software\\Xara\\XtremePro\\5", "XXPrP5"},
    {"Software\\Xara\\XtremePro\\5.1", "XXPrP51"},
};
static_assert(std::size(kXaraRows) == 7);

// The root value carries its own trailing backslash, so none is inserted.
constexpr std::string_view kXaraPluginFolder = "Xara Picture Editor\\PSplug-ins";

constexpr std::string_view kSwitchKeyLine = "<key>UseExtraPhotoshopPluginsDir</key>";
constexpr std::string_view kSwitchOnLine = "<bool>true</bool>";
constexpr std::string_view kFolderKeyLine = "<key>ExtraPhotoshopPluginsDir</key>";
constexpr std::string_view kStringOpen = "<string>";
constexpr std::string_view kStringClose = "</string>";
constexpr int kStringOpenLength = static_cast<int>(kStringOpen.size());

constexpr std::string_view kCanvasFirstPath = "PPRF:plugInPath1";
constexpr std::string_view kCanvasAnyPath = "PPRF:plugInPath";

std::string ReadAppDataFolder(const Platform& platform) {
  return ReadRegistryText(platform.registry, RootKey::kCurrentUser, kShellFoldersKey, "AppData");
}

// Runs a reader over a preference file's text; empty when the file cannot be
// opened or read. A file too large to hold or to walk counts as unreadable,
// like a locked one, rather than ending the detection pass.
template <typename Reader>
std::string ReadPreferenceFile(const Platform& platform, const std::string& file_path, Reader reader) {
  try {
    std::optional<std::string> text = platform.files.ReadWholeFile(file_path, kHostTextFileLimit);
    return text ? reader(std::string_view(*text)) : std::string();
  } catch (const std::bad_alloc&) {
    return {};
  }
}

int ToInt(std::size_t size) { return static_cast<int>(size); }

// The length field of a Canvas entry: a whole decimal number after optional
// leading blanks. Anything else gives 0, which selects no characters, just
// as a stored length of 0 does.
int CanvasPathLength(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  return ParseWholeNumber(field, 0);
}

std::string CanvasEntryPath(std::string_view line) {
  int comma = PositionOf(",", line);
  int paren = PositionOf(")", line);
  int length = CanvasPathLength(PartOf(line, comma + 1, paren - comma - 1));
  int quote = PositionOf("\"", line);
  return PartOf(line, quote + 1, length);
}

}  // namespace

std::string FireworksMarkerKey(int version) {
  return "Software\\Macromedia\\Fireworks\\" + std::to_string(version) + "\\Installation";
}

void DetectFireworks(const Platform& platform) {
  int version = kNewestFireworks;
  while (
      version >= 1 &&
      ReadRegistryText(platform.registry, RootKey::kLocalMachine, FireworksMarkerKey(version), "InstallPath").empty())
    --version;
  if (version < 1) return;
  // Only the newest installed version counts, whatever its files say.
  std::string app_data = ReadAppDataFolder(platform);
  if (app_data.empty()) return;
  std::string number = std::to_string(version);
  std::string file = FindFileInTree(platform, app_data + "\\Macromedia\\Fireworks " + number,
                                    "Fireworks " + number + " Preferences.txt");
  if (file.empty()) return;
  std::string folder = ReadFireworksPluginFolder(platform, file);
  if (!folder.empty()) StoreFoundFolder(platform.registry, "Fw" + number, folder);
}

void DetectCanvas(const Platform& platform) {
  std::string app_data = ReadAppDataFolder(platform);
  if (app_data.empty()) return;
  for (const CanvasRow& row : kCanvasRows) {
    std::string file = app_data + std::string(row.relative_file);
    if (!platform.files.FileExists(file)) continue;
    std::string folder = ReadCanvasPluginFolder(platform, file);
    if (!folder.empty()) StoreFoundFolder(platform.registry, row.scratch_name, folder);
  }
}

void DetectXara(const Platform& platform) {
  for (const XaraRow& row : kXaraRows) {
    std::string root = ReadRegistryText(platform.registry, RootKey::kLocalMachine, row.key_path, "XaraX Root Dir");
    if (!root.empty()) StoreFoundFolder(platform.registry, row.scratch_name, root + std::string(kXaraPluginFolder));
  }
}

std::string FindFileInTree(const Platform& platform, const std::string& folder, std::string_view file_name) {
  class Search : public TreeVisitor {
   public:
    Search(Keyboard& keyboard, std::string_view file_name) : keyboard_(keyboard), file_name_(file_name) {}
    // Asked at every folder, so Escape held down winds the whole search down
    // and a short press skips the one folder that asks next.
    WalkStep EnterFolder(const std::string&, int) override {
      return keyboard_.EscapePressed() ? WalkStep::kSkip : WalkStep::kGoOn;
    }
    WalkStep VisitFile(const std::string& folder, std::string_view name) override {
      if (name != file_name_) return WalkStep::kGoOn;
      found_ = folder + std::string(name);
      return WalkStep::kStop;
    }
    std::string found_;

   private:
    Keyboard& keyboard_;
    std::string_view file_name_;
  } search(platform.keyboard, file_name);
  WalkTree(platform.files, AddTrailingBackslash(folder), search);
  return search.found_;
}

std::string ReadFireworksPluginFolder(const Platform& platform, const std::string& file_path) {
  return ReadPreferenceFile(platform, file_path, [](std::string_view text) {
    // Each key line is judged with the line after it; a key on the last line has none.
    bool enabled = false;
    std::string folder;
    LineCursor lines(text);
    std::optional<std::string_view> key_line = lines.Next();
    for (std::optional<std::string_view> value_line; key_line && (value_line = lines.Next()); key_line = value_line) {
      std::string key = Trimmed(*key_line);
      if (key == kSwitchKeyLine && Trimmed(*value_line) == kSwitchOnLine) enabled = true;
      if (key == kFolderKeyLine) {
        int open = PositionOf(kStringOpen, *value_line);
        int close = PositionOf(kStringClose, *value_line);
        folder = PartOf(*value_line, open + kStringOpenLength, close - (open + kStringOpenLength));
      }
    }
    return enabled ? folder : std::string();
  });
}

std::string ReadCanvasPluginFolder(const Platform& platform, const std::string& file_path) {
  return ReadPreferenceFile(platform, file_path, [](std::string_view text) {
    // The key starts at the second character of its line. The first path's
    // entry wins wherever it stands; without one, the first entry of any number.
    std::optional<std::string_view> any_path;
    LineCursor lines(text);
    while (std::optional<std::string_view> line = lines.Next()) {
      if (PartOf(*line, 2, ToInt(kCanvasFirstPath.size())) == kCanvasFirstPath) return CanvasEntryPath(*line);
      if (!any_path && PartOf(*line, 2, ToInt(kCanvasAnyPath.size())) == kCanvasAnyPath) any_path = line;
    }
    return any_path ? CanvasEntryPath(*any_path) : std::string();
  });
}

}  // namespace setup
