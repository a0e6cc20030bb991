#include "scan/scan_hits.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "config/setup_config.h"
#include "config/text.h"
#include "hosts/preference_detectors.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

// Host initialisation files that hold one plug-in folder in one key.
struct IniValueTrigger {
  std::string_view name;  // lower-case file name
  std::string_view section;
  std::string_view key;
  std::string_view value_name;  // scratch value the folder is stored under
  bool marks_image_explorer_pro;
};

constexpr IniValueTrigger kIniValueTriggers[] = {
    {"pd.ini", "PhotoDeluxe 1.0", "PLUGINDIRECTORY", "PDL", false},
    {"photoshp.ini", "Photoshop", "PlugInDirectory", "PS2", false},
    {"photos30.ini", "Photoshop", "PlugInDirectory", "PS3", false},
    {"photos40.ini", "Photoshop", "PlugInDirectory", "PS4", false},
    {"iep.ini", "Settings", "Plugin Path", "IEP4", true},
    {"xres.ini", "Main", "PluginDirectory", "xR2", false},
};
static_assert(std::size(kIniValueTriggers) == 6);

// Host programs whose plug-in folder is a fixed sub-folder beside them,
// recognised only when that folder exists.
struct ProgramFolderTrigger {
  std::string_view name;        // lower-case file name
  std::string_view sub_folder;  // below the program's folder, no trailing backslash
  std::string_view value_name;
};

constexpr ProgramFolderTrigger kProgramFolderTriggers[] = {
    {"premiere.exe", "plugins", "Pm42"},
    {"afterfx.exe", "plug-ins", "AFX41"},
    {"darkroom.exe", "DDStuff\\Plugins", "DD"},
};
static_assert(std::size(kProgramFolderTriggers) == 3);

constexpr int kUleadPaths = 8;
constexpr int kImagenPaths = 8;
constexpr int kFireworksVersions = 7;

constexpr std::string_view kQfxKey = "PluginFilePath,";
constexpr std::string_view kAiPluginsLine = "/plugins {";
constexpr std::string_view kAiNameLine = "\t/name (";
constexpr std::string_view kFireworksKey = "(ExtraPhotoshopPluginsDir)";
// 1-based: the two characters between the key and the folder are not part
// of it, nor is the line's last character.
constexpr int kFireworksValueStart = static_cast<int>(kFireworksKey.size()) + 3;

// From the last dot on, dot included; empty when the name has no dot.
std::string_view ExtensionOf(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string Numbered(std::string_view text, int number) { return std::string(text) + std::to_string(number); }

// What one recogniser works on: the file met, and where it stores.
struct Hit {
  const Platform& platform;
  const std::string& folder;
  std::string_view file_name;

  std::string Path() const { return folder + std::string(file_name); }
  std::string ReadIni(std::string_view section, std::string_view key) const {
    return platform.profile.ReadString(Path(), section, key, kHostIniValueBufferSize);
  }
  // Nothing when the file cannot be opened or read, or is too large: a host
  // may hold it open, and one such file must not cost the rest of the walk.
  std::optional<std::string> ReadText(const std::string& path) const {
    return platform.files.ReadWholeFile(path, kHostTextFileLimit);
  }
  void Store(std::string_view value_name, std::string_view found_folder) const {
    StoreFoundFolder(platform.registry, value_name, found_folder);
  }
};

void CheckUlead(const Hit& hit) {
  for (int i = 1; i <= kUleadPaths; ++i) {
    if (ParseHostNumber(hit.ReadIni("PLUG IN", Numbered("UseDir", i))) == 0) continue;
    std::string found = hit.ReadIni("PLUG IN", Numbered("PLUGINDIR", i));
    if (!found.empty()) hit.Store(Numbered("PiP", i), found);
  }
}

void CheckQfx(const Hit& hit) {
  std::optional<std::string> text = hit.ReadText(hit.Path());
  if (!text) return;
  LineCursor lines(*text);
  while (std::optional<std::string_view> line = lines.Next()) {
    if (!StartsWith(*line, kQfxKey)) continue;
    std::string_view rest = line->substr(kQfxKey.size());
    std::size_t semicolon = rest.find(';');
    std::string path = Trimmed(semicolon == std::string_view::npos ? std::string_view() : rest.substr(0, semicolon));
    // The path stands in quotes, which go; an empty result is stored all the same.
    hit.Store("QFX7", PartOf(path, 2, static_cast<int>(path.size()) - 2));
    return;
  }
}

void CheckIni(const Hit& hit, std::string_view name, bool& image_explorer_pro_mark) {
  for (const IniValueTrigger& trigger : kIniValueTriggers) {
    if (name != trigger.name) continue;
    std::string found = hit.ReadIni(trigger.section, trigger.key);
    if (found.empty()) return;
    hit.Store(trigger.value_name, found);
    if (trigger.marks_image_explorer_pro) image_explorer_pro_mark = true;
    return;
  }
  if (name == "ulead32.ini") return CheckUlead(hit);
  if (name == "qfxwin.ini") return CheckQfx(hit);
}

void CheckImagen(const Hit& hit) {
  std::string list = hit.folder + "plugdirs.cfg";
  if (!hit.platform.files.FileExists(list)) return;
  std::optional<std::string> text = hit.ReadText(list);
  if (!text) return;
  LineCursor lines(*text);
  // An empty line uses up its number all the same.
  for (int n = 1; n <= kImagenPaths; ++n) {
    std::optional<std::string_view> line = lines.Next();
    if (!line) return;
    if (!line->empty()) hit.Store(Numbered("INP", n), *line);
  }
}

void CheckProgram(const Hit& hit, std::string_view name, bool image_explorer_pro_mark) {
  for (const ProgramFolderTrigger& trigger : kProgramFolderTriggers) {
    if (name != trigger.name) continue;
    std::string plugins = hit.folder + std::string(trigger.sub_folder);
    if (hit.platform.files.FolderExists(plugins)) hit.Store(trigger.value_name, plugins + "\\");
    return;
  }
  if (name == "image explorer pro.exe") {
    // The folder is used as stored, with no install sub-folder, so it must end
    // in a backslash. Not tested for existence: the host makes it on demand.
    if (!image_explorer_pro_mark) hit.Store("IEP4", hit.folder + "Plugins\\");
    return;
  }
  if (name == "imagen.exe") CheckImagen(hit);
}

void CheckAiPrefs(const Hit& hit) {
  std::optional<std::string> text = hit.ReadText(hit.Path());
  if (!text) return;
  LineCursor lines(*text);
  bool in_plugins = false;
  while (std::optional<std::string_view> line = lines.Next()) {
    if (StartsWith(*line, kAiPluginsLine)) in_plugins = true;
    if (!in_plugins || !StartsWith(*line, kAiNameLine)) continue;
    std::string_view path = line->substr(kAiNameLine.size());
    if (!path.empty()) path.remove_suffix(1);  // the closing parenthesis
    // The preference file escapes backslashes by doubling; any run folds to one.
    std::string folded;
    for (char c : path) {
      if (c == '\\' && !folded.empty() && folded.back() == '\\') continue;
      folded += c;
    }
    hit.Store("I7", folded);
    return;
  }
}

void CheckFireworksPreferences(const Hit& hit) {
  std::optional<std::string> text = hit.ReadText(hit.Path());
  if (!text) return;
  LineCursor lines(*text);
  while (std::optional<std::string_view> line = lines.Next()) {
    if (!StartsWith(*line, kFireworksKey)) continue;
    std::string value = PartOf(*line, kFireworksValueStart, static_cast<int>(line->size()) - kFireworksValueStart);
    // Only the versions installed where this preference file lies; several can.
    for (int n = 1; n <= kFireworksVersions; ++n) {
      std::string install =
          ReadRegistryText(hit.platform.registry, RootKey::kLocalMachine, FireworksMarkerKey(n), "InstallPath");
      if (AddTrailingBackslash(install) == hit.folder) hit.Store(Numbered("Fw", n), value);
    }
    return;
  }
}

}  // namespace

int ParseHostNumber(std::string_view text) {
  bool negative = StartsWith(text, "-");
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  bool hexadecimal = false;
  if (StartsWith(digits, "$")) {
    digits.remove_prefix(1);
    hexadecimal = true;
  } else if (StartsWith(digits, "0x")) {
    digits.remove_prefix(2);
    hexadecimal = true;
  }
  if (!hexadecimal) return ParseWholeNumber(text, 0);
  // from_chars would take a second sign; only hexadecimal digits may follow.
  if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f');
      }))
    return 0;
  std::uint32_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  std::uint32_t signed_value = negative ? 0u - value : value;
  return static_cast<int>(static_cast<std::int32_t>(signed_value));
}

void CheckScanHit(const Platform& platform, bool& image_explorer_pro_mark, const std::string& folder,
                  std::string_view file_name) {
  Hit hit{platform, folder, file_name};
  std::string_view extension = ExtensionOf(file_name);
  if (EqualIgnoringCase(extension, ".ini")) return CheckIni(hit, LowerCased(file_name), image_explorer_pro_mark);
  if (EqualIgnoringCase(extension, ".exe")) return CheckProgram(hit, LowerCased(file_name), image_explorer_pro_mark);
  if (EqualIgnoringCase(file_name, "aiprefs")) return CheckAiPrefs(hit);
  if (EqualIgnoringCase(extension, ".txt") && StartsWithIgnoringCase(file_name, "fireworks"))
    CheckFireworksPreferences(hit);
}

}  // namespace setup
