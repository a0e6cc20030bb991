#include "install/deployment.h"

#include "app/strings.h"
#include "config/setup_config.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"

namespace setup {
namespace {

constexpr unsigned kErrorBox = kMbIconError;

void ShowError(const DeploymentContext& context, const std::string& text) {
  context.toolkit.ShowMessage(&context.progress, text, StringText(kStrError), kErrorBox);
}

void ReportFolderNotCreated(const DeploymentContext& context, const std::string& folder) {
  ShowError(context, ReplacePlaceholder(StringText(kStrSubdirectoryFailed), "#d", folder));
}

void ReportCopyFailed(const DeploymentContext& context, const std::string& file, std::uint32_t code) {
  FileSystem& files = context.platform.files;
  std::optional<std::string> reason = files.ErrorText(code);
  std::string text = reason ? ReplacePlaceholder(StringText(kStrCopyFailed), "#f", file)
                            : ReplacePlaceholder(StringText(kStrCopyFailedUnknown), "#f", file);
  // "#e" is replaced in the text that already holds the file name.
  ShowError(context, ReplacePlaceholder(text, "#e", reason ? *reason : std::to_string(code)));
}

// The folder the files of a target go to; empty when the host's folder is
// gone since it was listed.
std::string TargetFolder(const DeploymentContext& context, int target) {
  if (target == kCustomTarget)
    return AddTrailingBackslash(context.custom_folder) + context.install_subfolder + "\\";
  const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(target)];
  std::string folder = ReadRegistryText(context.platform.registry, entry.Root, entry.KeyPath, entry.ValueName);
  if (folder.empty()) return {};
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
  std::vector<std::string> list = BuildDeploymentList(context.platform);
  Window& progress = context.progress;
  progress.SetProgressMax(context.file_bar, static_cast<int>(list.size()));

  std::string target_folder = TargetFolder(context, target);
  if (target_folder.empty()) {
    // A relative target would put the files into the current folder.
    ShowError(context, ReplacePlaceholder(StringText(kStrHostFolderGone), "#h",
                                          HostCatalogue[static_cast<std::size_t>(target)].Description));
    return;
  }
  std::string folder = DirectoryPart(target_folder);
  if (!folder.empty() && !files.FolderExists(folder) && !files.CreateFolder(folder))
    ReportFolderNotCreated(context, folder);

  std::string program_folder = ProgramFolder(files);
  auto last_frame = std::chrono::steady_clock::now();
  for (std::size_t n = 0; n < list.size(); ++n) {
    const std::string& file = list[n];
    bool shown = false;
    auto show = [&] {
      progress.SetText(context.file_label,
                       file + " (" + std::to_string(n + 1) + "/" + std::to_string(list.size()) + ")");
      // Set before the copy: the bar counts the files already done.
      progress.SetProgressPosition(context.file_bar, static_cast<int>(n));
      progress.RepaintNow();
      shown = true;
      last_frame = std::chrono::steady_clock::now();
    };
    if (n == 0 || n + 1 == list.size() || std::chrono::steady_clock::now() - last_frame >= context.frame_interval)
      show();

    std::string destination = target_folder + file;
    std::string file_folder = DirectoryPart(destination);
    // A failure is reported with its file on the line above the box.
    if (!file_folder.empty() && !files.CreateFolderTree(file_folder)) {
      if (!shown) show();
      ReportFolderNotCreated(context, file_folder);
    }
    if (!files.CopyReplacing(program_folder + file, destination)) {
      std::uint32_t code = files.LastError();
      if (!shown) show();
      ReportCopyFailed(context, file, code);
    }
    // Lets the progress window take a Cancel click; the run reads it between targets.
    if (shown) progress.ProcessPendingMessages();
  }
}

}  // namespace setup
