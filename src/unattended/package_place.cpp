#include "unattended/package_place.h"

#include <algorithm>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "install/deployment.h"
#include "platform/ansi_text.h"
#include "unattended/install_log.h"
#include "unattended/install_record.h"

namespace setup {
namespace {

std::string Reason(FileSystem& files) {
  std::uint32_t code = files.LastError();
  return OneLine(files.ErrorText(code).value_or("error " + std::to_string(code)));
}

}  // namespace

std::optional<PackagePlace> ChoosePackagePlace(const Platform& platform, std::string_view maker) {
  std::string title = FolderName(ReadSetupValue(platform, kPresentationSection, kTitleKey));
  if (title.empty() || title == "..") title = "Untitled";
  std::string maker_folder = FolderName(maker);
  if (maker_folder.empty()) maker_folder = "Plug-in Setup";
  std::string programs = platform.files.ProgramFilesFolder();
  bool machine = IsAbsolutePath(programs) && platform.files.CanWriteIn(programs);
  std::string base = machine ? programs : platform.files.LocalDataFolder();
  if (!IsAbsolutePath(base)) return std::nullopt;
  while (base.size() > 3 && base.back() == '\\') base.pop_back();
  return PackagePlace{base, AddTrailingBackslash(base) + maker_folder + "\\" + title, machine};
}

bool LinkOnTheWay(FileSystem& files, const std::string& base, const std::string& path) {
  std::size_t at = AddTrailingBackslash(base).size();
  if (!StartsWithIgnoringCase(path, AddTrailingBackslash(base))) return files.IsLink(path);
  while (at <= path.size()) {
    std::size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    if (end > at && files.IsLink(path.substr(0, end))) return true;
    at = end + 1;
  }
  return false;
}

bool MakePlaceFolder(FileSystem& files, const PackagePlace& place) {
  // Each level is looked at before it is used: a link planted at one would
  // lead the writes anywhere.
  if (LinkOnTheWay(files, place.base, place.folder)) return false;
  return files.CreateFolderTree(place.folder) && !LinkOnTheWay(files, place.base, place.folder);
}

std::vector<std::string> WriteUninstallCopy(const Platform& platform, const PackagePlace& place,
                                            const std::vector<std::string>& package_files) {
  FileSystem& files = platform.files;
  std::string program_folder = ProgramFolder(files);
  std::string copy = place.CopyFolder();
  // Run from the copy itself, it is whole already.
  if (EqualIgnoringCase(program_folder, copy)) return {};
  std::vector<std::string> problems;
  auto copy_one = [&](const std::string& from, const std::string& relative) {
    std::string to = copy + relative;
    std::string folder = DirectoryPart(to);
    if (!files.CreateFolderTree(folder) || LinkOnTheWay(files, place.base, to) || !files.CopyReplacing(from, to)) {
      problems.push_back(to + ": " + Reason(files));
    }
  };
  if (!MakePlaceFolder(files, place)) return {place.folder + ": not made, or a link stands on the way"};
  copy_one(files.ExecutablePath(), "Setup.exe");
  copy_one(program_folder + std::string(kSetupFileName), std::string(kSetupFileName));
  for (const std::string& file : package_files) copy_one(program_folder + file, file);
  return problems;
}

std::vector<std::string> RemoveUninstallCopy(const Platform& platform, const PackagePlace& place,
                                             const std::vector<std::string>& package_files) {
  FileSystem& files = platform.files;
  std::vector<std::string> left;
  std::string copy = place.CopyFolder();
  if (LinkOnTheWay(files, place.base, copy)) return {copy + " (a link stands on the way)"};
  std::vector<std::string> names = package_files;
  names.push_back(std::string(kSetupFileName));
  names.push_back("Setup.exe");
  std::vector<std::string> folders;
  for (const std::string& name : names) {
    std::string path = copy + name;
    for (std::string folder = DirectoryPart(path); folder.size() > copy.size(); folder = DirectoryPart(folder))
      folders.push_back(folder);
    if (!files.FileExists(path) || files.RemoveFile(path)) continue;
    // The running program: the system deletes it at the next restart.
    if (files.RemoveAtRestart(path))
      left.push_back(path + " (deleted at the next restart)");
    else
      left.push_back(path + ": " + Reason(files));
  }
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  folders.push_back(copy.substr(0, copy.size() - 1));
  folders.push_back(place.folder + "\\Originals");
  folders.push_back(place.folder);
  folders.push_back(DirectoryPart(place.folder));
  bool restart_pending = !left.empty();
  for (const std::string& folder : folders) {
    if (!files.FolderExists(folder) || files.RemoveFolder(folder)) continue;
    // A folder that holds the running program goes after it at the restart.
    if (restart_pending && files.RemoveAtRestart(folder)) continue;
  }
  return left;
}

}  // namespace setup
