#include "install/deployment.h"

#include "config/setup_config.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

void ReportFolderNotCreated(const DeploymentContext& context, const std::string& folder) {
  context.observer.ShowError(ReplacePlaceholder(StringText(kStrSubdirectoryFailed), "#d", folder));
}

void ReportCopyFailed(const DeploymentContext& context, const std::string& file, std::uint32_t code) {
  FileSystem& files = context.platform.files;
  std::optional<std::string> reason = files.ErrorText(code);
  std::string text = reason ? ReplacePlaceholder(StringText(kStrCopyFailed), "#f", file)
                            : ReplacePlaceholder(StringText(kStrCopyFailedUnknown), "#f", file);
  // "#e" is replaced in the text that already holds the file name.
  context.observer.ShowError(ReplacePlaceholder(text, "#e", reason ? *reason : std::to_string(code)));
}

// The folder the files of a target go to; empty when the host's folder is
// gone since it was listed, or is no folder a file could be written to by
// its full path (a relative one would put the files under the current folder).
std::string TargetFolder(const DeploymentContext& context, int target) {
  if (target == kCustomTarget)
    return AddTrailingBackslash(context.custom_folder) + context.install_subfolder + "\\";
  const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(target)];
  std::string folder = ReadHostFolder(context.platform.registry, entry.Root, entry.KeyPath, entry.ValueName);
  if (folder.empty() || !IsAbsolutePath(folder)) return {};
  if (entry.UseSubdir) return AddTrailingBackslash(folder) + context.install_subfolder + "\\";
  // Without the backslash the files would land beside the folder under joined names.
  return AddTrailingBackslash(folder);
}

}  // namespace

std::vector<std::string> BuildDeploymentList(const Platform& platform) {
  std::vector<std::string> list;
  std::string program_folder = ProgramFolder(platform.files);
  for (const std::string& key : ReadSetupKeys(platform, "files")) {
    std::string value = ReadSetupValue(platform, "files", key);
    std::size_t last = value.rfind('\\');
    std::string prefix = last == std::string::npos ? "" : value.substr(0, last + 1);
    std::string pattern = value.substr(prefix.size());
    std::unique_ptr<FolderListing> listing = platform.files.List(program_folder + prefix + pattern);
    if (!listing) continue;
    while (std::optional<FoundEntry> entry = listing->Next()) {
      if (entry->attributes & kAttrFolder) continue;
      list.push_back(prefix + entry->name);
    }
  }
  return list;
}

std::string DirectoryPart(std::string_view path) {
  std::size_t last = path.find_last_of("\\:");
  if (last == std::string_view::npos) return {};
  if (path[last] == '\\' && last > 0 && (path[last - 1] == ':' || path[last - 1] == '\\'))
    return std::string(path.substr(0, last + 1));
  return std::string(path.substr(0, last));
}

void DeployToTarget(const DeploymentContext& context, int target) {
  FileSystem& files = context.platform.files;
  InstallationObserver& observer = context.observer;
  std::vector<std::string> list = BuildDeploymentList(context.platform);
  int count = static_cast<int>(list.size());
  observer.FilesCounted(count);

  std::string target_folder = TargetFolder(context, target);
  if (target_folder.empty()) {
    observer.ShowError(ReplacePlaceholder(StringText(kStrHostFolderGone), "#h",
                                          HostCatalogue[static_cast<std::size_t>(target)].Description));
    return;
  }
  std::string folder = DirectoryPart(target_folder);
  if (!folder.empty() && !files.FolderExists(folder) && !files.CreateFolder(folder))
    ReportFolderNotCreated(context, folder);

  std::string program_folder = ProgramFolder(files);
  for (int n = 0; n < count; ++n) {
    const std::string& file = list[static_cast<std::size_t>(n)];
    observer.FileStarted(file, n, count);
    std::string destination = target_folder + file;
    std::string file_folder = DirectoryPart(destination);
    if (!file_folder.empty() && !files.CreateFolderTree(file_folder)) ReportFolderNotCreated(context, file_folder);
    if (!files.CopyReplacing(program_folder + file, destination)) ReportCopyFailed(context, file, files.LastError());
    observer.LetUserAct();
  }
}

}  // namespace setup
