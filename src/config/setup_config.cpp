#include "config/setup_config.h"

#include <charconv>
#include <cstdint>

#include "config/setup_keys.h"
#include "config/text.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

std::string SetupFilePath(FileSystem& files) { return ProgramFolder(files) + std::string(kSetupFileName); }

}  // namespace

std::string ProgramFolder(FileSystem& files) { return AddTrailingBackslash(files.ExecutableFolder()); }

std::string UnheldProgramFolderText(FileSystem& files) {
  std::string folder = ProgramFolder(files);
  if (HeldExactly(folder)) return {};
  return "The name of this program's folder, " + ShownName(folder) +
         ", holds a character that this system's code page cannot hold, so the package in it cannot be read. "
         "Move the package to a folder with a plain name and start it again.";
}

std::string ReadSetupValue(const Platform& platform, std::string_view section, std::string_view key) {
  return platform.profile.ReadString(SetupFilePath(platform.files), section, key, kSetupValueBufferSize);
}

std::vector<std::string> ReadSetupKeys(const Platform& platform, std::string_view section) {
  std::vector<std::string> names =
      platform.profile.ReadKeyNames(SetupFilePath(platform.files), section, kSetupKeysBufferSize);
  // Names that fill the buffer end in one the system may have cut short,
  // which would then stand for another key (an id twice, another file).
  std::size_t used = 0;
  for (const std::string& name : names) used += name.size() + 1;
  if (!names.empty() && used + 1 >= kSetupKeysBufferSize) names.pop_back();
  return names;
}

std::vector<std::string> ReadSetupSection(const Platform& platform, std::string_view section) {
  return platform.profile.ReadSection(SetupFilePath(platform.files), section, kSetupSectionBufferSize);
}

std::string ReadInstallSubfolder(const Platform& platform) {
  std::string subfolder = ReadSetupValue(platform, kOptionsSection, kSubdirKey);
  // A sub-folder by a full path or one that climbs out of the target would
  // put the files outside it: the files go into the target itself instead.
  return StaysInside(subfolder) ? subfolder : std::string();
}

bool IsOnFlag(std::string_view text) { return text == "1"; }

bool IsOffFlag(std::string_view text) { return text == "0"; }

int ParseWholeNumber(std::string_view text, int default_number) {
  // from_chars takes a minus but no plus sign.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return default_number;
  }
  std::int32_t number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, 10);
  if (error != std::errc() || end != text.data() + text.size()) return default_number;
  return number;
}

}  // namespace setup
