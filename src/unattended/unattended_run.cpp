#include "unattended/unattended_run.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "app/maker.h"
#include "app/run_watcher.h"
#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/strings.h"
#include "config/text.h"
#include "hosts/detection_pass.h"
#include "hosts/package_host_places.h"
#include "hosts/unheld_folders.h"
#include "install/installation.h"
#include "scan/show_step.h"
#include "unattended/exit_code.h"
#include "unattended/files_check.h"
#include "unattended/install_log.h"
#include "unattended/install_record.h"
#include "unattended/package_place.h"
#include "unattended/removal.h"
#include "unattended/system_account.h"
#include "unattended/target_choice.h"
#include "unattended/temporary_copy.h"
#include "unattended/uninstall_entry.h"

namespace setup {

std::string UsageText() {
  return "Setup.exe [options]\n"
         "Setup.exe /UNINSTALL [/S] [/LOG=file]\n"
         "\n" +
         OptionLines() +
         "\n\n"
         "Exit codes: 0 done, 1 a file failed, 2 nothing to install,\n"
         "3 package or command line unusable, 4 agreement not accepted,\n"
         "5 unknown option, 3010 installed, restart needed.";
}

namespace {

// Nobody watches a silent scan, and Escape pressed at the machine must not
// cut a deployment short.
class UnwatchedScan : public ScanObserver {
 public:
  void FolderReached(const std::string&) override {}
  void LetUserAct() override {}
  bool StopRequested() override { return false; }
};

// Writes what the progress window and its error boxes show, and passes
// everything on to the window when there is one.
class LoggedInstallation : public InstallationObserver {
 public:
  LoggedInstallation(InstallLog& log, InstallationObserver* window) : log_(log), window_(window) {}

  void TargetStarted(const std::string& name, int k, int n) override {
    log_.Write("Target", Counted(name, k, n));
    if (window_) window_->TargetStarted(name, k, n);
  }
  void FilesCounted(int count) override {
    if (window_) window_->FilesCounted(count);
  }
  void FileStarted(const std::string& file, int n, int count) override {
    if (window_) window_->FileStarted(file, n, count);
  }
  void ShowError(const std::string& text) override {
    ++failed;
    log_.Write("Failed", text);
    if (window_) window_->ShowError(text);
  }
  void LetUserAct() override {
    if (window_) window_->LetUserAct();
  }
  bool CancelRequested() override {
    bool cancel = window_ && window_->CancelRequested();
    if (cancel && !cancel_logged_) log_.Write("Cancelled", "the user asked to cancel; the hosts left are not served");
    cancel_logged_ = cancel_logged_ || cancel;
    return cancel;
  }
  void FileCopied(const std::string& file, const std::string& destination) override {
    ++copied;
    log_.Write("Copied", file + " to " + destination);
    if (window_) window_->FileCopied(file, destination);
  }
  void FolderCreated(const std::string& folder) override {
    if (window_) window_->FolderCreated(folder);
  }
  void OriginalKept(const std::string& destination, const std::string& kept) override {
    log_.Write("Original kept", destination + " as " + kept);
  }
  void FileScheduled(const std::string& file, const std::string& destination, const std::string& pending) override {
    ++copied;
    ++scheduled;
    log_.Write("Restart needed", file + " to " + destination + ": the file there is in use; " + pending +
                                     " replaces it at the next restart");
  }

  int copied = 0;
  int failed = 0;
  int scheduled = 0;

 private:
  InstallLog& log_;
  InstallationObserver* window_;
  bool cancel_logged_ = false;
};

void LogHost(const Platform& platform, InstallLog& log, const ListedHost& host, std::string_view role) {
  std::string ids;
  for (const std::string& id : host.ids) ids += (ids.empty() ? "" : ", ") + id;
  log.Write("Host", host.description + " in " + CurrentFolderOf(platform, host) + " (" +
                        (host.ids.size() == 1 ? "id " : "ids ") + ids + "); " + std::string(role));
}

// The hosts left off the list for a folder name the system could only give
// as a look-alike: said, or the user would look for them in vain.
void LogUnheldHosts(const Platform& platform, InstallLog& log) {
  for (const UnheldHostFolder& host : HostsWithUnheldFolders(platform, ReadPackageHosts(platform).hosts))
    log.Write("Not listed", UnheldHostText(host));
}

// The log of a windowed run: the hosts each detection pass lists and every
// installation the user starts.
class WindowedLog : public RunWatcher {
 public:
  WindowedLog(const Platform& platform, InstallLog& log) : platform_(platform), log_(log) {}

  void HostsListed(const std::vector<ListedHost>& listed) override {
    for (const ListedHost& host : listed) LogHost(platform_, log_, host, host.ticked ? "ticked" : "not ticked");
    if (listed.empty()) log_.Write("Host", "no host found");
    LogUnheldHosts(platform_, log_);
  }
  InstallationObserver& InstallStarting(InstallationObserver& window) override {
    installation_.emplace(log_, &window);
    return *installation_;
  }
  void InstallEnded() override {
    log_.Write("Installed", std::to_string(installation_->copied) + " files copied, " +
                                std::to_string(installation_->failed) + " failures");
  }

 private:
  const Platform& platform_;
  InstallLog& log_;
  std::optional<LoggedInstallation> installation_;
};

std::string StartDetails(const Platform& platform, std::string_view command_line) {
  return ReadSetupValue(platform, kPresentationSection, kTitleKey) + " " +
         ReadSetupValue(platform, kPresentationSection, kVersionKey) + "; command line: " + std::string(command_line);
}

int End(InstallLog& log, int code, std::string_view summary) {
  log.Write("End", std::string(summary) + (summary.empty() ? "" : "; ") + "exit code " + std::to_string(code));
  return code;
}

bool HasSetupIni(const Platform& platform) {
  return platform.files.FileExists(ProgramFolder(platform.files) + std::string(kSetupFileName));
}

// The record at the place; an empty one when there is none, nothing when
// it cannot be read or a link stands on the way to it.
std::optional<InstallRecord> LoadRecord(FileSystem& files, const PackagePlace& place) {
  std::string path = place.RecordPath();
  if (LinkOnTheWay(files, place.base, path)) return std::nullopt;
  if (!files.FileExists(path)) return InstallRecord{};
  std::optional<std::string> text = files.ReadWholeFile(path, kMaxHashedFileSize);
  if (!text) return std::nullopt;
  return InstallRecord::FromText(*text);
}

// The package files the recorded files came from, each once.
std::vector<std::string> RecordedSources(const InstallRecord& record) {
  std::vector<std::string> sources;
  for (const RecordedFile& file : record.files) {
    bool known = std::any_of(sources.begin(), sources.end(),
                             [&](const std::string& source) { return EqualIgnoringCase(source, file.source); });
    if (!known) sources.push_back(file.source);
  }
  return sources;
}

std::uint64_t RecordedBytes(const InstallRecord& record) {
  std::uint64_t bytes = 0;
  for (const RecordedFile& file : record.files) bytes += file.size;
  return bytes;
}

// Writes the record, the uninstall copy and the entry after an install;
// false (logged) when any could not be written.
bool KeepInstallRecord(const Platform& platform, const PackagePlace& place, const InstallRecord& record,
                       InstallLog& log) {
  FileSystem& files = platform.files;
  bool written = MakePlaceFolder(files, place) && files.WriteWholeFile(place.RecordPath(), record.ToText());
  if (!written) {
    log.Write("Error", "the install record " + place.RecordPath() +
                           " could not be written; /UNINSTALL will not find these files");
    return false;
  }
  log.Write("Record", place.RecordPath());
  std::vector<std::string> problems = WriteUninstallCopy(platform, place, RecordedSources(record));
  for (const std::string& problem : problems) log.Write("Error", "the uninstall copy is not whole: " + problem);
  if (problems.empty()) log.Write("Uninstall copy", place.CopyFolder());
  std::string key = std::string(place.machine ? "HKLM\\" : "HKCU\\") + UninstallKeyPath(platform, kMakerName);
  if (!WriteUninstallEntry(platform, place, kMakerName, RecordedBytes(record))) {
    log.Write("Error", "the Apps & features entry " + key + " could not be written");
    return false;
  }
  log.Write("Entry", key);
  return problems.empty();
}

// With nothing recorded any more: the entry and the uninstall copy go.
void ForgetPackage(const Platform& platform, const PackagePlace& place, const std::vector<std::string>& sources,
                   InstallLog& log) {
  if (!RemoveUninstallEntry(platform, place, kMakerName))
    log.Write("Error", "the Apps & features entry " + UninstallKeyPath(platform, kMakerName) + " could not be removed");
  for (const std::string& left : RemoveUninstallCopy(platform, place, sources)) log.Write("Left", left);
}

int Install(const Platform& platform, const CommandLine& arguments, InstallLog& log) {
  std::string start = ReadSetupValue(platform, kMessagesSection, kStartKey);
  if (!start.empty()) log.Write("Message", start);

  std::string agreement = ReadSetupValue(platform, kMessagesSection, kAgreementKey);
  if (!agreement.empty()) {
    if (!arguments.accept) {
      log.Write("Agreement",
                "not accepted: the package has an agreement (" + agreement + ") and /ACCEPT was not given");
      return End(log, kExitNotAccepted, "nothing installed");
    }
    // What /ACCEPT accepts must be there to be read, as the window needs it.
    std::string path = ProgramFolder(platform.files) + agreement;
    if (!platform.files.ReadWholeFile(path, kMaxHashedFileSize)) {
      log.Write("Error", "the agreement " + path + " cannot be read: " +
                             platform.files.ErrorText(platform.files.LastError()).value_or("unknown error"));
      return End(log, kExitUnusable, "nothing installed");
    }
    log.Write("Agreement", "accepted with /ACCEPT");
  }
  // A relative folder would follow whatever folder the deployment system
  // starts in, and a record of it could not be found again.
  if (arguments.dir && !IsAbsolutePath(*arguments.dir)) {
    log.Write("Error", "the folder of /DIR is not a full path: " + *arguments.dir);
    return End(log, kExitUnusable, "nothing installed");
  }
  if (arguments.dir && !platform.files.FolderExists(*arguments.dir)) {
    log.Write("Error", "the folder of /DIR does not exist: " + *arguments.dir);
    return End(log, kExitUnusable, "nothing installed");
  }

  FoundMarks found;
  std::vector<ListedHost> listed = RunShowStep(platform, SpecialDetectors(platform), found, [&] {
    log.Write("Scan", "scanning the fixed drives");
    bool image_explorer_pro_mark = false;
    UnwatchedScan unwatched;
    ScanDrivesForHosts(platform, unwatched, image_explorer_pro_mark);
  });
  TargetChoice targets = ChooseTargets(listed, arguments.hosts);
  for (std::size_t n = 0; n < listed.size(); ++n) {
    bool target = std::find(targets.hosts.begin(), targets.hosts.end(), n) != targets.hosts.end();
    LogHost(platform, log, listed[n], target ? "target" : "not a target");
  }
  if (listed.empty()) log.Write("Host", "no host found");
  LogUnheldHosts(platform, log);
  if (platform.environment.RunsAsLocalSystem()) {
    // Deployment services start the program as SYSTEM by default; most
    // hosts register for the user who installed them.
    log.Write("System",
              "running as LocalSystem: HKEY_CURRENT_USER is the system account's own, so hosts "
              "registered there for a user are not seen; install in the user's context to reach them");
    for (const UnseenPlace& place : PlacesUnseenAsSystem(platform, found, listed))
      log.Write("Not seen", place.description + " (" + place.ids + "): " + place.key);
  }
  for (const std::string& id : targets.unmatched) log.Write("Not found", "no listed host has the id " + id);

  InstallChoice choice;
  for (std::size_t n : targets.hosts) choice.hosts.push_back(listed[n]);
  choice.custom = arguments.dir.has_value();
  choice.custom_folder = arguments.dir.value_or("");
  choice.install_subfolder = ReadInstallSubfolder(platform);
  if (choice.hosts.empty() && !choice.custom) {
    log.Write("Nothing to install", "no target");
    return End(log, kExitNothingToDo, "nothing installed");
  }
  // An entry that matches nothing is a file the package lacks: a
  // deployment that installs the rest has not done what it was asked to.
  std::vector<std::string> sections = FilesSectionsUsed(choice);
  FilesSectionsCheck files_check = CheckFilesSections(platform, sections);
  for (const std::string& section : files_check.empty_sections)
    log.Write("Not matched", "[" + section + "] lists no file");
  for (const UnmatchedFilesEntry& entry : files_check.unmatched)
    log.Write("Not matched",
              "[" + entry.section + "] " + entry.key + "=" + entry.value + " matches no file of the package");
  bool all_matched = files_check.unmatched.empty() && files_check.empty_sections.empty();
  if (files_check.matched == 0) {
    std::string names;
    for (const std::string& section : sections) names += (names.empty() ? "[" : ", [") + section + "]";
    log.Write("Nothing to install", "no entry of " + names + " matches a file of the package");
    return End(log, kExitNothingToDo, "nothing installed");
  }

  std::optional<PackagePlace> place = ChoosePackagePlace(platform, kMakerName);
  std::optional<InstallRecord> record = place ? LoadRecord(platform.files, *place) : std::nullopt;
  // A record that cannot be read is not written over: what it names could
  // then never be removed.
  bool record_usable = record.has_value();
  if (!record) {
    log.Write("Error", place ? "the install record " + place->RecordPath() + " cannot be read"
                             : std::string("the system names no folder for the install record"));
    record.emplace();
  }
  LoggedInstallation logged(log, nullptr);
  RecordingObserver recording(platform.files, *record, record_usable ? &*place : nullptr, logged);
  choice.replace_at_restart = true;
  InstallFiles(platform, choice, recording);

  bool recorded = record_usable && !record->files.empty() && KeepInstallRecord(platform, *place, *record, log);
  for (const std::string& path : recording.unrecorded)
    log.Write("Error", path + " could not be read back for the install record; /UNINSTALL will leave it");
  recorded = recorded && recording.unrecorded.empty();
  bool nothing_recorded = record_usable && record->files.empty();
  int code = logged.failed > 0 || !(recorded || nothing_recorded) || !all_matched ? kExitSomeFailed
             : logged.scheduled > 0                                               ? kExitRestartNeeded
                                                                                  : kExitDone;
  return End(log, code,
             std::to_string(logged.copied) + " files copied, " + std::to_string(logged.failed) + " failures");
}

std::string CountText(int count, std::string_view what) { return std::to_string(count) + " " + std::string(what); }

}  // namespace

int RunSilentInstall(const Platform& platform, const CommandLine& arguments, std::string_view command_line) {
  InstallLog log(platform, arguments.log.value_or(""));
  if (!log.Write("Start", StartDetails(platform, command_line))) return kExitUnusable;
  if (!HasSetupIni(platform)) {
    log.Write("Error", "no setup.ini in " + ProgramFolder(platform.files));
    return End(log, kExitUnusable, "nothing installed");
  }
  try {
    return Install(platform, arguments, log);
  } catch (const std::exception& error) {
    log.Write("Error", error.what());
    return End(log, kExitUnusable, "");
  }
}

namespace {

// The removal itself, after the log is started and setup.ini found.
int Uninstall(const Platform& platform, const CommandLine& arguments,
              const std::function<bool(std::string_view question)>& ask,
              const std::function<void(std::string_view outcome)>& tell, InstallLog& log) {
  std::string title = ReadSetupValue(platform, kPresentationSection, kTitleKey);
  if (!ask("Remove the files that unattended installs of " + (title.empty() ? std::string("this package") : title) +
           " put on this computer?")) {
    return End(log, kExitDone, "removal declined; nothing removed");
  }
  std::optional<PackagePlace> place = ChoosePackagePlace(platform, kMakerName);
  if (!place) {
    log.Write("Error", "the system names no folder for the install record");
    tell("Nothing was removed: the system names no folder for the install record.");
    return End(log, kExitUnusable, "nothing removed");
  }
  std::string record_path = place->RecordPath();
  std::optional<InstallRecord> record = LoadRecord(platform.files, *place);
  if (!record) {
    log.Write("Error", "the install record " + record_path + " cannot be read");
    tell("Nothing was removed: the install record " + record_path + " cannot be read.");
    return End(log, kExitUnusable, "nothing removed");
  }
  if (!platform.files.FileExists(record_path)) {
    log.Write("Nothing to remove", "no install record at " + record_path);
    // An entry or a copy left without a record has nothing to remove.
    ForgetPackage(platform, *place, {}, log);
    tell("Nothing was removed: no unattended install of this package is recorded on this computer.");
    return End(log, kExitNothingToDo, "nothing removed");
  }
  log.Write("Record", record_path);
  std::vector<std::string> sources = RecordedSources(*record);
  RemovalBounds bounds{place->folder, platform.files.WindowsFolder()};
  RemovalCounts counts = RemoveRecorded(
      platform, bounds, *record, [&](std::string_view event, std::string_view details) { log.Write(event, details); });
  bool failed = false;
  if (record->empty()) {
    platform.files.RemoveFile(record_path);
    ForgetPackage(platform, *place, sources, log);
  } else if (!platform.files.WriteWholeFile(record_path, record->ToText())) {
    failed = true;
    log.Write("Error", "the install record " + record_path + " could not be updated");
  } else {
    WriteUninstallEntry(platform, *place, kMakerName, RecordedBytes(*record));
  }
  std::string summary = CountText(counts.removed, "files removed, ") + CountText(counts.kept, "kept, ") +
                        CountText(counts.failed, "failed, ") + CountText(counts.folders_removed, "folders removed");
  if (counts.restored > 0) summary += ", " + CountText(counts.restored, "originals put back");
  if (counts.refused > 0) summary += ", " + CountText(counts.refused, "refused");
  tell("Removal finished: " + summary + "." + (counts.kept > 0 ? "\nFiles changed since the install were kept." : "") +
       (counts.refused > 0 ? "\nSome recorded files were left where the program may not delete." : "") +
       (arguments.log ? "\nDetails are in " + *arguments.log + "." : ""));
  bool clean = counts.failed == 0 && counts.refused == 0 && !failed;
  return End(log, clean ? kExitDone : kExitSomeFailed, summary);
}

}  // namespace

int RunUninstall(const Platform& platform, const CommandLine& arguments, std::string_view command_line,
                 const std::function<bool(std::string_view question)>& ask,
                 const std::function<void(std::string_view outcome)>& tell) {
  InstallLog log(platform, arguments.log.value_or(""));
  if (!log.Write("Start", StartDetails(platform, command_line))) {
    tell("The log file " + *arguments.log + " cannot be written.");
    return kExitUnusable;
  }
  if (!HasSetupIni(platform)) {
    log.Write("Error", "no setup.ini in " + ProgramFolder(platform.files));
    tell("There is no setup.ini beside the program.");
    return End(log, kExitUnusable, "nothing removed");
  }
  // The running uninstall copy cannot delete itself: a temporary copy
  // removes the package instead, and this process hands on its exit code.
  if (std::optional<PackagePlace> place = ChoosePackagePlace(platform, kMakerName);
      place && NeedsTemporaryCopy(platform, *place)) {
    if (std::optional<int> code = RunTemporaryCopy(platform, command_line, log)) return *code;
  }
  int code = Uninstall(platform, arguments, ask, tell, log);
  if (IsTemporaryCopy(platform)) LeaveTemporaryCopy(platform);
  return code;
}

int RunWithArguments(const Platform& platform, Toolkit* toolkit, const CommandLine& arguments,
                     std::string_view command_line, const std::function<void(RunWatcher*)>& run_windows) {
  auto show = [&](std::string_view text, unsigned style) {
    if (!arguments.silent && toolkit) return toolkit->ShowMessage(nullptr, text, kApplicationTitle, style);
    return kIdOk;
  };
  // Said before anything else: the program's own path on the command line
  // would otherwise make it look unusable, and the package cannot be read.
  if (std::string problem = UnheldProgramFolderText(platform.files); !problem.empty()) {
    InstallLog log(platform, arguments.log.value_or(""));
    if (log.Write("Start", StartDetails(platform, command_line))) log.Write("Error", problem);
    show(problem, kMbIconError);
    return End(log, kExitUnusable, "nothing done");
  }
  if (!arguments.unknown.empty() || !arguments.unusable.empty()) {
    bool unknown = !arguments.unknown.empty();
    std::string what =
        unknown ? "Unknown option: " + arguments.unknown : "The command line cannot be used: " + arguments.unusable;
    InstallLog log(platform, arguments.log.value_or(""));
    if (log.Write("Start", StartDetails(platform, command_line))) log.Write("Error", what);
    show(what + "\n\n" + UsageText(), kMbIconError);
    return End(log, unknown ? kExitUnknownOption : kExitUnusable, "nothing done");
  }
  if (arguments.help) {
    show(UsageText(), kMbIconInformation);
    return kExitDone;
  }
  if (arguments.uninstall) {
    return RunUninstall(
        platform, arguments, command_line,
        [&](std::string_view question) {
          return arguments.silent || show(question, kMbYesNo | kMbIconWarning) == kIdYes;
        },
        [&](std::string_view outcome) { show(outcome, kMbIconInformation); });
  }
  if (arguments.silent) return RunSilentInstall(platform, arguments, command_line);
  if (!arguments.log) {
    run_windows(nullptr);
    return kExitDone;
  }
  InstallLog log(platform, *arguments.log);
  if (!log.Write("Start", StartDetails(platform, command_line))) {
    show("The log file " + *arguments.log + " cannot be written.", kMbIconError);
    return kExitUnusable;
  }
  WindowedLog watcher(platform, log);
  run_windows(&watcher);
  return End(log, kExitDone, "the window was closed");
}

}  // namespace setup
