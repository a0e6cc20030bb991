#include "install/deployment.h"

#include <map>
#include <optional>
#include <set>

#include "config/setup_config.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/package_host_places.h"
#include "hosts/registry_access.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

void ReportFolderNotCreated(const DeploymentContext& context, const std::string& folder) {
  context.observer.ShowError(ReplacePlaceholder(StringText(kStrSubdirectoryFailed), "#d", folder));
}

// A package file whose name the system could only give as a look-alike: that
// name would copy another file of the package, or none.
void ReportUnheldName(const DeploymentContext& context, const std::string& file) {
  std::string text = ReplacePlaceholder(StringText(kStrCopyFailed), "#f", ShownName(file));
  context.observer.ShowError(
      ReplacePlaceholder(text, "#e", "its name holds a character that this system's code page cannot hold."));
}

void ReportCopyFailed(const DeploymentContext& context, const std::string& file, std::uint32_t code) {
  FileSystem& files = context.platform.files;
  std::optional<std::string> reason = files.ErrorText(code);
  std::string text = reason ? ReplacePlaceholder(StringText(kStrCopyFailed), "#f", file)
                            : ReplacePlaceholder(StringText(kStrCopyFailedUnknown), "#f", file);
  // "#e" is replaced in the text that already holds the file name.
  context.observer.ShowError(ReplacePlaceholder(text, "#e", reason ? *reason : std::to_string(code)));
}

// Where the files of a target go: the folder the user or the host chose,
// and below it the folder they are copied into.
struct Target {
  std::string chosen;  // ends in a backslash
  std::string folder;  // the chosen one, or with the install sub-folder
};

// A host's target from its folder as read now; nothing when the folder is
// gone since it was listed, or is no folder a file could be written to by
// its full path (a relative one would put the files under the current folder).
std::optional<Target> HostTarget(const std::string& folder, bool use_subdir, const std::string& install_subfolder) {
  if (folder.empty() || !IsAbsolutePath(folder)) return std::nullopt;
  // Without the backslash the files would land beside the folder under joined names.
  std::string chosen = AddTrailingBackslash(folder);
  return Target{chosen, use_subdir ? chosen + install_subfolder + "\\" : chosen};
}

std::optional<Target> TargetOf(const DeploymentContext& context, int target) {
  if (target == kCustomTarget) {
    std::string chosen = AddTrailingBackslash(context.custom_folder);
    return Target{chosen, chosen + context.install_subfolder + "\\"};
  }
  const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(target)];
  return HostTarget(ReadHostFolder(context.platform.registry, entry.Root, entry.KeyPath, entry.ValueName),
                    entry.UseSubdir, context.install_subfolder);
}

// Finds links (junctions, symbolic links to folders or files) below a chosen
// folder. The program never writes through one: it may lead anywhere on the
// machine. Each folder is listed once per target.
class LinkGuard {
 public:
  LinkGuard(FileSystem& files, std::string chosen) : files_(files), chosen_(std::move(chosen)) {}

  /// True when a link stands at the destination or at a folder between the
  /// chosen folder and it.
  bool Crosses(const std::string& destination) {
    std::size_t at = chosen_.size();
    while (at < destination.size()) {
      std::size_t end = destination.find('\\', at);
      if (end == std::string::npos) end = destination.size();
      if (end > at && IsLink(destination.substr(0, at), destination.substr(at, end - at))) return true;
      at = end + 1;
    }
    return false;
  }

 private:
  bool IsLink(const std::string& folder, const std::string& name) {
    auto [links, fresh] = links_.try_emplace(UpperCased(folder));
    if (fresh) {
      if (std::unique_ptr<FolderListing> listing = files_.ListKinds(folder + "*")) {
        while (std::optional<FoundEntry> entry = listing->Next())
          if (entry->attributes & kAttrReparsePoint) links->second.insert(UpperCased(entry->name));
      }
    }
    return links->second.count(UpperCased(name)) != 0;
  }

  FileSystem& files_;
  std::string chosen_;
  std::map<std::string, std::set<std::string>> links_;  // by folder, upper-cased
};

// The levels of a folder that do not exist yet, the highest first.
std::vector<std::string> MissingLevels(FileSystem& files, const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string level = folder; !level.empty() && !files.FolderExists(level);) {
    missing.insert(missing.begin(), level);
    std::string parent = DirectoryPart(level);
    if (parent == level) break;
    level = std::move(parent);
  }
  return missing;
}

// A destination a running program holds open: the new file is copied beside
// it and the system asked to move it over at the next restart. False, with
// nothing left behind, when either fails.
bool ReplaceAtRestart(const DeploymentContext& context, const std::string& source, const std::string& destination,
                      const std::string& file) {
  FileSystem& files = context.platform.files;
  std::string pending = destination + ".pending";
  if (files.IsLink(pending) || !files.CopyReplacing(source, pending)) return false;
  if (!files.ReplaceAtRestart(pending, destination)) {
    files.RemoveFile(pending);
    return false;
  }
  context.observer.FileScheduled(file, destination, pending);
  return true;
}

}  // namespace

FilesEntryMatch MatchFilesEntry(const Platform& platform, const std::string& value) {
  FilesEntryMatch match;
  // Only files of the package: nothing by a full path or from above it.
  if (!StaysInside(value)) {
    match.outside = true;
    return match;
  }
  std::size_t last = value.rfind('\\');
  std::string prefix = last == std::string::npos ? "" : value.substr(0, last + 1);
  std::string pattern = value.substr(prefix.size());
  std::unique_ptr<FolderListing> listing = platform.files.List(ProgramFolder(platform.files) + prefix + pattern);
  if (!listing) return match;
  while (std::optional<FoundEntry> entry = listing->Next()) {
    if (entry->attributes & kAttrFolder) {
      ++match.folders;
      continue;
    }
    match.files.push_back(prefix + entry->name);
  }
  return match;
}

std::vector<std::string> BuildDeploymentList(const Platform& platform, std::string_view section) {
  std::vector<std::string> list;
  for (const std::string& key : ReadSetupKeys(platform, section)) {
    FilesEntryMatch match = MatchFilesEntry(platform, ReadSetupValue(platform, section, key));
    list.insert(list.end(), match.files.begin(), match.files.end());
  }
  return list;
}

namespace {

std::optional<Target> RowTarget(const Platform& platform, const ListedHost& row, const std::string& install_subfolder) {
  bool use_subdir =
      row.IsPackageHost() ? row.place.use_subdir : HostCatalogue[static_cast<std::size_t>(row.entry)].UseSubdir;
  return HostTarget(CurrentFolderOf(platform, row), use_subdir, install_subfolder);
}

}  // namespace

std::optional<std::string> TargetFolderOf(const Platform& platform, const ListedHost& row,
                                          const std::string& install_subfolder) {
  std::optional<Target> target = RowTarget(platform, row, install_subfolder);
  if (!target) return std::nullopt;
  return target->folder;
}

std::string DirectoryPart(std::string_view path) {
  std::size_t last = path.find_last_of("\\:");
  if (last == std::string_view::npos) return {};
  if (path[last] == '\\' && last > 0 && (path[last - 1] == ':' || path[last - 1] == '\\'))
    return std::string(path.substr(0, last + 1));
  return std::string(path.substr(0, last));
}

namespace {

// Copies the files a section lists into a target; a missing target (a
// host's folder gone) is reported under the host's name.
void DeployFiles(const DeploymentContext& context, std::string_view section, const std::optional<Target>& found,
                 std::string_view host_name) {
  FileSystem& files = context.platform.files;
  InstallationObserver& observer = context.observer;
  std::vector<std::string> list = BuildDeploymentList(context.platform, section);
  int count = static_cast<int>(list.size());
  observer.FilesCounted(count);

  if (!found) {
    observer.ShowError(ReplacePlaceholder(StringText(kStrHostFolderGone), "#h", host_name));
    return;
  }
  const std::string& target_folder = found->folder;
  observer.TargetFolder(found->chosen);
  std::string folder = DirectoryPart(target_folder);
  LinkGuard links(files, found->chosen);
  // A folder that cannot be made is said once, not again for each file in it.
  std::set<std::string> failed_folders;  // upper-cased
  auto report_not_created = [&](const std::string& failed) {
    if (failed_folders.insert(UpperCased(failed)).second) ReportFolderNotCreated(context, failed);
  };
  if (!folder.empty() && !files.FolderExists(folder) && !links.Crosses(folder)) {
    if (files.CreateFolder(folder))
      observer.FolderCreated(folder);
    else
      report_not_created(folder);
  }

  std::string program_folder = ProgramFolder(files);
  std::string known_folder;  // the folder the last file went into, which exists
  for (int n = 0; n < count; ++n) {
    const std::string& file = list[static_cast<std::size_t>(n)];
    observer.FileStarted(file, n, count);
    if (!HeldExactly(file)) {
      ReportUnheldName(context, file);
      observer.LetUserAct();
      continue;
    }
    std::string destination = target_folder + file;
    if (links.Crosses(destination)) {
      ReportCopyFailed(context, file, kErrorAccessDenied);
      observer.LetUserAct();
      continue;
    }
    std::string file_folder = DirectoryPart(destination);
    if (!file_folder.empty()) {
      // Most files go where the one before went: only a new folder is looked at.
      std::vector<std::string> missing;
      if (file_folder != known_folder) missing = MissingLevels(files, file_folder);
      if (!files.CreateFolderTree(file_folder)) {
        report_not_created(file_folder);
      } else {
        for (const std::string& level : missing) observer.FolderCreated(level);
        known_folder = file_folder;
      }
    }
    if (files.FileExists(destination) && !observer.MayReplace(destination)) {
      observer.LetUserAct();
      continue;
    }
    if (files.CopyReplacing(program_folder + file, destination)) {
      observer.FileCopied(file, destination);
    } else {
      std::uint32_t code = files.LastError();
      if (!(code == kErrorSharingViolation && context.replace_at_restart &&
            ReplaceAtRestart(context, program_folder + file, destination, file)))
        ReportCopyFailed(context, file, code);
    }
    observer.LetUserAct();
  }
}

}  // namespace

void DeployToTarget(const DeploymentContext& context, int target) {
  std::string_view name =
      target == kCustomTarget ? std::string_view() : HostCatalogue[static_cast<std::size_t>(target)].Description;
  DeployFiles(context, kDefaultFilesSection, TargetOf(context, target), name);
}

void DeployToHost(const DeploymentContext& context, const ListedHost& row) {
  if (!row.IsPackageHost()) {
    DeployToTarget(context, row.entry);
    return;
  }
  DeployFiles(context, row.files_section, RowTarget(context.platform, row, context.install_subfolder), row.description);
}

}  // namespace setup
