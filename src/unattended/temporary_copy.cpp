#include "unattended/temporary_copy.h"

#include <string>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

// As the system chooses the user's temp folder: TMP first, then TEMP.
std::string TempFolder(Environment& environment) {
  for (std::string_view name : {"TMP", "TEMP"}) {
    std::optional<std::string> value = environment.Variable(name);
    if (value && IsAbsolutePath(*value)) return AddTrailingBackslash(*value);
  }
  return {};
}

// A folder that did not exist before: what another program put in the temp
// folder is never run.
std::string MakeFreshFolder(FileSystem& files, const std::string& temp) {
  for (int n = 1; n <= 100; ++n) {
    std::string folder = temp + "Plug-in Setup removal " + std::to_string(n);
    if (files.CreateFolder(folder) && !files.IsLink(folder)) return folder + "\\";
  }
  return {};
}

}  // namespace

bool NeedsTemporaryCopy(const Platform& platform, const PackagePlace& place) {
  return EqualIgnoringCase(ProgramFolder(platform.files), place.CopyFolder()) && !IsTemporaryCopy(platform) &&
         !platform.files.MayUseRestartList();
}

std::optional<int> RunTemporaryCopy(const Platform& platform, std::string_view command_line, InstallLog& log) {
  FileSystem& files = platform.files;
  std::string temp = TempFolder(platform.environment);
  std::string folder = temp.empty() ? std::string() : MakeFreshFolder(files, temp);
  if (folder.empty()) {
    log.Write("Error",
              "no fresh folder could be made in the temp folder " + temp + "; the running uninstall copy stays");
    return std::nullopt;
  }
  std::string program = folder + "Setup.exe";
  std::string ini = folder + std::string(kSetupFileName);
  auto undo = [&] {
    files.RemoveFile(program);
    files.RemoveFile(ini);
    files.RemoveFolder(folder.substr(0, folder.size() - 1));
  };
  if (!files.CopyReplacing(files.ExecutablePath(), program) ||
      !files.CopyReplacing(ProgramFolder(files) + std::string(kSetupFileName), ini)) {
    log.Write("Error", "the temporary copy " + folder + " could not be written; the running uninstall copy stays");
    undo();
    return std::nullopt;
  }
  log.Write("Temporary copy", program + " removes the package, so that the uninstall copy can be deleted");
  std::optional<std::uint32_t> code =
      platform.environment.RunAndWait(program, std::string(command_line), kTemporaryCopyVariable, folder);
  if (!code) {
    log.Write("Error", "the temporary copy " + program + " could not be started; the running uninstall copy stays");
    undo();
    return std::nullopt;
  }
  return static_cast<int>(*code);
}

bool IsTemporaryCopy(const Platform& platform) {
  std::optional<std::string> folder = platform.environment.Variable(kTemporaryCopyVariable);
  // The folder named must be the program's own: a variable left set by
  // accident never makes a package's own setup.ini go.
  return folder && !folder->empty() && EqualIgnoringCase(*folder, ProgramFolder(platform.files));
}

void LeaveTemporaryCopy(const Platform& platform) {
  FileSystem& files = platform.files;
  std::string folder = ProgramFolder(files);
  files.RemoveFile(folder + std::string(kSetupFileName));
  if (files.RemoveAtRestart(files.ExecutablePath())) files.RemoveAtRestart(folder.substr(0, folder.size() - 1));
}

}  // namespace setup
