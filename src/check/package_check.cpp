#include "check/package_check.h"

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <tuple>

#include "app/agreement_form.h"
#include "app/main_form.h"
#include "check/ini_outline.h"
#include "check/nearest_names.h"
#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "hosts/host_catalogue.h"
#include "hosts/package_host_places.h"
#include "install/deployment.h"
#include "platform/ansi_text.h"
#include "ui/picture_format.h"

namespace setup {

int ExitStatusOf(const std::vector<Finding>& findings) {
  int status = 0;
  for (const Finding& finding : findings) status = std::max(status, finding.severity == Severity::kError ? 2 : 1);
  return status;
}

namespace {

// setup.ini is read whole for its outline; the program's reader takes any
// size, but no package's file comes near this.
constexpr std::size_t kSetupFileLimit = 16u << 20;
// Each file to install is read once for its size.
constexpr std::size_t kDeployedFileLimit = 256u << 20;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string NameList(const std::vector<std::string>& names, std::string_view before = {}, std::string_view after = {}) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += names.size() == 2 ? " or " : ", ";
    list += std::string(before) + name + std::string(after);
  }
  return list;
}

bool IsSwitchWord(std::string_view value, std::initializer_list<std::string_view> words) {
  for (std::string_view word : words)
    if (EqualIgnoringCase(value, word)) return true;
  return false;
}

class PackageChecker {
 public:
  explicit PackageChecker(const Platform& platform) : platform_(platform), folder_(ProgramFolder(platform.files)) {}

  PackageReport Run() {
    std::optional<std::string> text =
        platform_.files.ReadWholeFile(folder_ + std::string(kSetupFileName), kSetupFileLimit);
    if (!text) {
      Add(0, "", "", Severity::kError,
          "there is no setup.ini in the package folder (or it cannot be read): the program would show none of the "
          "package's texts and install no file",
          "");
    } else {
      outline_ = OutlineIni(*text);
      package_hosts_ = ReadPackageHosts(platform_);
      CheckStructure();
      CheckKnownKeys();
      CheckEnabled();
      CheckPackageHosts();
      CheckFiles();
    }
    std::stable_sort(report_.findings.begin(), report_.findings.end(), [](const Finding& a, const Finding& b) {
      // Whole-file findings after those with a line.
      auto order = [](const Finding& f) { return f.line == 0 ? INT_MAX : f.line; };
      return order(a) < order(b);
    });
    return std::move(report_);
  }

 private:
  void Add(int line, std::string_view section, std::string_view key, Severity severity, std::string message,
           std::string suggestion) {
    report_.findings.push_back({std::string(kSetupFileName), line, std::string(section), std::string(key), severity,
                                std::move(message), std::move(suggestion)});
  }
  std::string Value(std::string_view section, std::string_view key) { return ReadSetupValue(platform_, section, key); }

  // Every section the program reads, lower-cased: its own, one for each host
  // [hosts] names, and the files sections those hosts name.
  std::set<std::string> KnownSections() {
    std::set<std::string> sections;
    for (std::string_view section : kSetupSections) sections.insert(std::string(section));
    for (const std::string& id : HostIds()) sections.insert(LowerCased(HostSection(id)));
    for (const std::string& id : HostIds()) sections.insert(LowerCased(FilesSectionOf(id)));
    return sections;
  }

  // Sections and keys the reader never reads or reads only once.
  void CheckStructure() {
    for (const IniOutline::Stray& stray : outline_.before_first_section)
      Add(stray.line, "", "", Severity::kWarning, "a line before the first section is never read",
          "put it into a section, or start it with \";\" to mark it as a comment");
    std::map<std::string, int> first_line;
    for (const IniOutline::Section& section : outline_.sections) {
      std::string known_name = LowerCased(section.name);
      bool known = KnownSections().count(known_name) != 0;
      auto [first, fresh] = first_line.try_emplace(known_name, section.line);
      if (!fresh) {
        Add(section.line, section.name, "", Severity::kWarning,
            "section [" + section.name + "] appears again; only the first one (line " + std::to_string(first->second) +
                ") is read",
            "move its keys into the first one");
        continue;
      }
      if (!known) {
        std::set<std::string> sections = KnownSections();
        std::vector<std::string_view> names(sections.begin(), sections.end());
        std::vector<std::string> nearest = NearestNames(section.name, names);
        Add(section.line, section.name, "", Severity::kWarning, "section [" + section.name + "] is never read",
            nearest.empty()
                ? "the sections read are [messages], [options], [presentation], [enabled], [files] and [hosts]"
                : "did you mean " + NameList(nearest, "[", "]") + "?");
        continue;
      }
      std::map<std::string, int> key_lines;
      for (const IniOutline::Key& key : section.keys) {
        auto [first_key, fresh_key] = key_lines.try_emplace(LowerCased(key.name), key.line);
        if (!fresh_key) {
          Add(key.line, section.name, key.name, Severity::kWarning,
              "[" + section.name + "] " + key.name + " is given again; only the first one (line " +
                  std::to_string(first_key->second) + ") counts",
              "remove one of them");
        }
      }
      for (const IniOutline::Stray& stray : section.strays)
        Add(stray.line, section.name, "", Severity::kWarning,
            Quoted(stray.text) + " is no key=value line and is never read",
            "write key=value, or start the line with \";\" to mark it as a comment");
    }
  }

  // [messages], [options] and [presentation]: names, then values.
  void CheckKnownKeys() {
    for (std::string_view section_name : {kMessagesSection, kOptionsSection, kPresentationSection}) {
      const IniOutline::Section* section = outline_.Find(section_name);
      if (!section) continue;
      std::vector<std::string_view> keys;
      for (const SetupKey& row : kSetupKeys)
        if (row.section == section_name) keys.push_back(row.key);
      std::set<std::string> keys_done;
      for (const IniOutline::Key& key : section->keys) {
        if (FindSetupKey(section_name, key.name) || !keys_done.insert(LowerCased(key.name)).second) continue;
        std::string suggestion;
        for (const SetupKey& row : kSetupKeys)
          if (EqualIgnoringCase(row.key, key.name)) suggestion = "it belongs in [" + std::string(row.section) + "]";
        if (suggestion.empty()) {
          std::vector<std::string> nearest = NearestNames(key.name, keys);
          if (!nearest.empty()) suggestion = "did you mean " + NameList(nearest) + "?";
        }
        Add(key.line, section->name, key.name, Severity::kWarning,
            "[" + section->name + "] " + key.name + " is never read", suggestion);
      }
    }
    for (const SetupKey& row : kSetupKeys) {
      int line = outline_.LineOf(row.section, row.key);
      if (line == 0) continue;
      std::string value = Value(row.section, row.key);
      switch (row.kind) {
        case SetupValueKind::kOnSwitch:
        case SetupValueKind::kOffSwitch: CheckSwitch(row.section, row.key, row.kind, value, line); break;
        case SetupValueKind::kNumber: CheckNumber(row, value, line); break;
        case SetupValueKind::kText:
        case SetupValueKind::kFileName: break;
      }
    }
    CheckSubfolder();
    CheckAgreement();
    CheckPicture();
  }

  void CheckSwitch(std::string_view section, std::string_view key, SetupValueKind kind, const std::string& value,
                   int line) {
    bool on_word = IsSwitchWord(value, {"yes", "true", "on"});
    bool off_word = IsSwitchWord(value, {"no", "false", "off"});
    if (!on_word && !off_word) return;
    std::string setting = "[" + std::string(section) + "] " + std::string(key) + "=" + value;
    bool turns_on = kind == SetupValueKind::kOnSwitch;
    std::string message;
    if (turns_on && on_word) {
      message = setting + " does not switch it on: only \"1\" does";
    } else if (!turns_on && off_word) {
      message = setting + " does not switch it off: only \"0\" does";
    } else {
      message = setting + ": only \"1\" and \"0\" are switch values (" + Quoted(value) + " reads as " +
                (turns_on ? "off" : "on") + ", by chance as meant)";
    }
    Add(line, section, key, Severity::kWarning, message, "write " + std::string(key) + "=" + (on_word ? "1" : "0"));
  }

  void CheckNumber(const SetupKey& row, const std::string& value, int line) {
    if (value.empty()) return;
    std::string setting = "[" + std::string(row.section) + "] " + std::string(row.key) + "=" + value;
    // A text is a number when both defaults give way to it.
    if (ParseWholeNumber(value, INT_MIN) != ParseWholeNumber(value, INT_MAX)) {
      Add(line, row.section, row.key, Severity::kWarning,
          setting + " is not a whole number; the default " + std::to_string(row.default_number) + " applies",
          "write digits only, without units or blanks");
      return;
    }
    int number = ParseWholeNumber(value, row.default_number);
    // The window takes a size only above its minimum.
    if (row.key != "width" && row.key != "height") return;
    int minimum = row.key == "width" ? TMainForm::kMinWidth : TMainForm::kMinHeight;
    if (number <= minimum) {
      Add(line, row.section, row.key, Severity::kWarning,
          setting + " has no effect: only a " + std::string(row.key) + " above the window's minimum of " +
              std::to_string(minimum) + " is applied",
          "write more than " + std::to_string(minimum) + ", or leave the key out");
    }
  }

  void CheckSubfolder() {
    int line = outline_.LineOf(kOptionsSection, kSubdirKey);
    std::string value = Value(kOptionsSection, kSubdirKey);
    if (line == 0 || value.empty() || !ReadInstallSubfolder(platform_).empty()) return;
    Add(line, kOptionsSection, kSubdirKey, Severity::kWarning,
        "[options] subdir=" + value +
            " is a full path or climbs out of the host's folder: it is ignored and the files go into the folder "
            "itself",
        "write a plain folder name, such as the name of your filters");
  }

  void CheckAgreement() {
    int line = outline_.LineOf(kMessagesSection, kAgreementKey);
    std::string name = Value(kMessagesSection, kAgreementKey);
    if (line == 0 || name.empty()) return;
    if (platform_.files.ReadWholeFile(folder_ + name, kAgreementFileLimit)) return;
    std::string reason = platform_.files.FileExists(folder_ + name) ? "cannot be read" : "is missing";
    Add(line, kMessagesSection, kAgreementKey, Severity::kError,
        "the agreement file " + Quoted(name) + " " + reason +
            ": the program reports an error instead of asking for the agreement, and lists no host",
        platform_.files.FileExists(folder_ + name)
            ? "keep the agreement a readable text file under " + std::to_string(kAgreementFileLimit / 1024) + " KB"
            : "put the file into the package folder, or correct the name");
  }

  void CheckPicture() {
    int line = outline_.LineOf(kPresentationSection, kBitmapKey);
    std::string name = Value(kPresentationSection, kBitmapKey);
    if (line == 0 || name.empty()) return;
    std::string path = folder_ + name;
    if (!platform_.files.FileExists(path)) {
      Add(line, kPresentationSection, kBitmapKey, Severity::kError,
          "the picture " + Quoted(name) + " is missing: the window shows no picture",
          "put the file into the package folder, or correct the name");
      return;
    }
    // The same steps as the picture control's: extension, reading, layout.
    try {
      PictureFormat format = PictureFormatOf(path);
      if (PictureIsSound(format, ReadPictureFile(path, platform_.files))) return;
      throw PictureError(path, "the file is not a valid picture");
    } catch (const ToolkitError& error) {
      Add(line, kPresentationSection, kBitmapKey, Severity::kError,
          "the picture " + Quoted(name) +
              " cannot be loaded, which ends the program at start-up on every PC: " + error.what(),
          "save it as a Windows bitmap (.bmp), icon (.ico), metafile (.wmf) or enhanced metafile (.emf)");
    }
  }

  void CheckEnabled() {
    const IniOutline::Section* section = outline_.Find(kEnabledSection);
    if (!section) return;
    std::vector<std::string_view> ids{kEnabledAllKey};
    for (const HostEntry& entry : HostCatalogue) {
      for (std::string_view id : {entry.HostId, entry.VersionId})
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    }
    std::vector<std::string> host_ids = HostIds();
    ids.insert(ids.end(), host_ids.begin(), host_ids.end());
    std::set<std::string> keys_done;
    for (const IniOutline::Key& key : section->keys) {
      // A name given again is told once, as a repeated key.
      if (!keys_done.insert(LowerCased(key.name)).second) continue;
      bool known =
          std::any_of(ids.begin(), ids.end(), [&](std::string_view id) { return EqualIgnoringCase(id, key.name); });
      if (!known) {
        std::vector<std::string> nearest = NearestNames(key.name, ids);
        Add(key.line, section->name, key.name, Severity::kWarning,
            "[" + section->name + "] " + key.name + " is no host, version or package host id: it switches nothing",
            nearest.empty() ? "the ids are listed in the setup.ini reference"
                            : "did you mean " + NameList(nearest) + "?");
        continue;
      }
      CheckSwitch(section->name, key.name, SetupValueKind::kOffSwitch, Value(kEnabledSection, key.name), key.line);
    }
  }

  // One files section's entries, and its part of the deployment list; the
  // number of files it gives.
  std::size_t CheckFilesSection(std::string_view section_name) {
    std::string shown = "[" + std::string(section_name) + "] ";
    std::map<std::string, int> seen;               // upper-cased file -> line of the entry that lists it first
    std::map<std::string, std::string> first_key;  // upper-cased file -> the key that lists it first
    std::set<std::string> keys_done;
    for (const std::string& key : ReadSetupKeys(platform_, section_name)) {
      // A name given again reads the first one's value: told once, as a repeated key.
      if (!keys_done.insert(LowerCased(key)).second) continue;
      int line = outline_.LineOf(section_name, key);
      std::string value = Value(section_name, key);
      std::string setting = shown + key + "=" + value;
      FilesEntryMatch match = MatchFilesEntry(platform_, value);
      if (match.outside) {
        Add(line, section_name, key, Severity::kError,
            setting + " points outside the package folder; nothing is taken from there",
            "name files relative to the package folder, without a drive and without \"..\"");
        continue;
      }
      if (value.empty()) {
        Add(line, section_name, key, Severity::kWarning, setting + " names no file", "remove the key");
        continue;
      }
      if (match.files.empty()) {
        if (match.folders > 0 && value.find_first_of("*?") == std::string::npos) {
          Add(line, section_name, key, Severity::kWarning, setting + " matches only a folder; folders are not copied",
              "write " + value + "\\* to install the files in it");
        } else if (match.folders > 0) {
          Add(line, section_name, key, Severity::kWarning, setting + " matches only folders; folders are not copied",
              "");
        } else {
          Add(line, section_name, key, Severity::kWarning, setting + " matches no file", NearestFile(value));
        }
        continue;
      }
      for (const std::string& file : match.files) {
        auto [first, fresh] = seen.try_emplace(UpperCased(file), line);
        first_key.try_emplace(UpperCased(file), key);
        if (!fresh) {
          Add(line, section_name, key, Severity::kWarning,
              setting + " lists " + file + " again (already listed on line " + std::to_string(first->second) +
                  "): it would be copied twice",
              "");
        }
      }
    }
    std::vector<std::string> list = BuildDeploymentList(platform_, section_name);
    std::set<std::string> told;
    for (const std::string& file : list) {
      bool held = HeldExactly(file);
      std::optional<std::string> bytes;
      if (held) bytes = platform_.files.ReadWholeFile(folder_ + file, kDeployedFileLimit);
      std::uint32_t error = bytes ? 0 : platform_.files.LastError();
      report_.deployment.push_back({std::string(section_name), ShownName(file),
                                    bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt});
      // A file the installer could not copy makes the package fail, not pass.
      // Too large to be read whole here is no fault: the installer copies it.
      if (bytes || error == kErrorFileTooLarge || !told.insert(UpperCased(file)).second) continue;
      int line = seen.count(UpperCased(file)) ? seen[UpperCased(file)] : 0;
      std::string key = first_key.count(UpperCased(file)) ? first_key[UpperCased(file)] : std::string();
      if (!held) {
        Add(line, section_name, key, Severity::kError,
            "the package file " + ShownName(file) +
                " has a name that this system's code page cannot hold: the installer cannot copy it",
            "rename it with plain letters (A to Z, digits, '-' and '_' are safe on every system)");
      } else {
        std::string reason = platform_.files.ErrorText(error).value_or("error " + std::to_string(error));
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
        Add(line, section_name, key, Severity::kError,
            "the package file " + file + " cannot be read (" + reason + "): the installer could not copy it", "");
      }
    }
    return list.size();
  }

  void CheckFiles() {
    std::size_t count = CheckFilesSection(kFilesSection);
    // Each files section once, however many hosts name it.
    std::set<std::string> sections_done{std::string(kFilesSection)};
    for (const std::string& id : HostIds()) {
      std::string files_section = FilesSectionOf(id);
      if (!sections_done.insert(LowerCased(files_section)).second) continue;
      int line = outline_.LineOf(HostSection(id), kHostFilesKey);
      if (!outline_.Find(files_section)) {
        Add(line, HostSection(id), kHostFilesKey, Severity::kWarning,
            "[" + HostSection(id) + "] files=" + files_section +
                " names a section that is not there: the host gets no file",
            "add [" + files_section + "] with one line per plug-in file");
        continue;
      }
      count += CheckFilesSection(files_section);
    }
    if (count > 0) return;
    if (const IniOutline::Section* section = outline_.Find(kFilesSection)) {
      Add(section->line, section->name, "", Severity::kError, "no file would be installed: [files] matches no file",
          "");
    } else {
      Add(0, kFilesSection, "", Severity::kError, "no file would be installed: there is no [files] section",
          "add [files] with one line per plug-in file, such as 1=MyFilter.8bf");
    }
  }

  static std::string HostSection(std::string_view id) { return std::string(kHostSectionPrefix) + std::string(id); }

  // The files section a host names, as the program reads it.
  std::string FilesSectionOf(std::string_view id) {
    std::string section = Value(HostSection(id), kHostFilesKey);
    return section.empty() ? std::string(kDefaultFilesSection) : section;
  }

  std::string Suggestion(const SkippedPackageHost& skipped) {
    std::string registry = Value(HostSection(skipped.id), "registry");
    switch (skipped.problem) {
      case PackageHostProblem::kBadRoot:
        return "start it with HKLM\\ (HKEY_LOCAL_MACHINE) or HKCU\\ (HKEY_CURRENT_USER)";
      case PackageHostProblem::kBadRegistry:
        if (registry.find('|') == std::string::npos)
          return "end the key path with |<value name>, or with | alone for the key's default value: registry=" +
                 registry + "|";
        return "name a key below the root, such as HKLM\\SOFTWARE\\Maker\\Host|Path";
      case PackageHostProblem::kManyWildcards: return "keep one \"*\" and write the other keys out";
      default: return "";
    }
  }
  // The hosts [hosts] names: why one is never listed, and their sections' keys.
  void CheckPackageHosts() {
    for (const SkippedPackageHost& skipped : package_hosts_.skipped) {
      // Told once, on the duplicate's own line, as a key given again.
      if (skipped.problem == PackageHostProblem::kDuplicateId) continue;
      std::string section = HostSection(skipped.id);
      int line = outline_.LineOf(kHostsSection, skipped.id);
      std::string key = skipped.id;
      std::string where = kHostsSection.data();
      auto at_key = [&](std::string_view host_key) {
        if (int key_line = outline_.LineOf(section, host_key)) {
          line = key_line;
          where = section;
          key = host_key;
        }
      };
      switch (skipped.problem) {
        case PackageHostProblem::kBadRoot:
        case PackageHostProblem::kBadRegistry:
        case PackageHostProblem::kManyWildcards: at_key("registry"); break;
        case PackageHostProblem::kBadAppend: at_key("append"); break;
        case PackageHostProblem::kNoPlace:
          if (const IniOutline::Section* found = outline_.Find(section)) {
            line = found->line;
            where = section;
            key.clear();
          }
          break;
        default: break;
      }
      Add(line, where, key, Severity::kWarning,
          "the host " + skipped.id + " of [hosts] is never listed: " + std::string(ProblemText(skipped.problem)),
          Suggestion(skipped));
    }
    for (const PackageHost& host : package_hosts_.hosts) CheckTakenHost(host);
    std::vector<std::string_view> keys;
    for (const SetupKey& row : kPackageHostKeys) keys.push_back(row.key);
    for (const std::string& id : HostIds()) {
      const IniOutline::Section* section = outline_.Find(HostSection(id));
      if (!section) continue;
      std::set<std::string> keys_done;
      for (const IniOutline::Key& key : section->keys) {
        if (!keys_done.insert(LowerCased(key.name)).second) continue;
        const SetupKey* row = nullptr;
        for (const SetupKey& candidate : kPackageHostKeys)
          if (EqualIgnoringCase(candidate.key, key.name)) row = &candidate;
        if (!row) {
          std::vector<std::string> nearest = NearestNames(key.name, keys);
          Add(key.line, section->name, key.name, Severity::kWarning,
              "[" + section->name + "] " + key.name + " is never read",
              nearest.empty() ? "" : "did you mean " + NameList(nearest) + "?");
          continue;
        }
        std::string value = Value(section->name, key.name);
        if (row->kind == SetupValueKind::kOffSwitch) CheckSwitch(section->name, key.name, row->kind, value, key.line);
        if (row->key == "view" && !value.empty() && value != "64" && value != "32")
          Add(key.line, section->name, key.name, Severity::kWarning,
              "[" + section->name + "] view=" + value + " reads the 32-bit view: only \"64\" selects the 64-bit one",
              "write view=64 or view=32");
      }
    }
  }

  // A host that is taken but may not do what its maker meant.
  void CheckTakenHost(const PackageHost& host) {
    std::string section = HostSection(host.id);
    int id_line = outline_.LineOf(kHostsSection, host.id);
    bool catalogue_id = std::any_of(std::begin(HostCatalogue), std::end(HostCatalogue), [&](const HostEntry& entry) {
      return EqualIgnoringCase(entry.HostId, host.id) || EqualIgnoringCase(entry.VersionId, host.id);
    });
    if (catalogue_id)
      Add(id_line, kHostsSection, host.id, Severity::kWarning,
          "the id " + host.id + " is also a catalogue host or version id: [enabled] " + host.id +
              "=0 would switch off both",
          "give the host an id of its own, such as " + host.id + "-64");
    std::string folder_pattern = host.folder;
    while (!folder_pattern.empty() && folder_pattern.back() == '\\') folder_pattern.pop_back();
    std::size_t last = folder_pattern.rfind('\\');
    bool folder_enumerates =
        !host.from_registry &&
        folder_pattern.find_first_of("*?", last == std::string::npos ? 0 : last) != std::string::npos;
    if ((EnumeratesKeys(host) || folder_enumerates) && !HasPlaceholder(host.description))
      Add(id_line, kHostsSection, host.id, Severity::kWarning,
          "the host " + host.id + " stands for every " + (folder_enumerates ? "folder" : "key") +
              " that matches, but its text has neither %KEY% nor %FOLDER%: only the first match is listed",
          host.id + "=" + host.description + " (%FOLDER%)");
    if (!host.from_registry) {
      for (auto [variable, for_64, for_32] :
           {std::tuple<std::string_view, std::string_view, std::string_view>{"%ProgramFiles%", "%ProgramW6432%",
                                                                             "%ProgramFiles(x86)%"},
            {"%CommonProgramFiles%", "%CommonProgramW6432%", "%CommonProgramFiles(x86)%"}}) {
        if (UpperCased(host.folder).find(UpperCased(variable)) == std::string::npos) continue;
        Add(outline_.LineOf(section, "folder"), section, "folder", Severity::kWarning,
            "[" + section + "] folder=" + host.folder + " uses " + std::string(variable) +
                ", which the 32-bit Setup.exe reads as the (x86) folder on a 64-bit PC: a 64-bit host written so is "
                "never listed there",
            "write " + std::string(for_64) + " for a 64-bit host, " + std::string(for_32) + " for a 32-bit one");
      }
    }
  }

  // The ids [hosts] lists, as written, once each.
  std::vector<std::string> HostIds() {
    std::vector<std::string> ids;
    std::set<std::string> done;
    if (const IniOutline::Section* section = outline_.Find(kHostsSection))
      for (const IniOutline::Key& key : section->keys)
        if (done.insert(LowerCased(key.name)).second) ids.push_back(key.name);
    return ids;
  }

  // For a name without wildcards: the files beside it with a similar name.
  std::string NearestFile(const std::string& value) {
    std::size_t last = value.rfind('\\');
    std::string prefix = last == std::string::npos ? "" : value.substr(0, last + 1);
    std::string name = value.substr(prefix.size());
    if (name.find_first_of("*?") != std::string::npos) return "";
    std::vector<std::string> names;
    if (std::unique_ptr<FolderListing> listing = platform_.files.List(folder_ + prefix + "*")) {
      while (std::optional<FoundEntry> entry = listing->Next())
        if (!(entry->attributes & kAttrFolder)) names.push_back(entry->name);
    }
    std::vector<std::string_view> views(names.begin(), names.end());
    std::vector<std::string> nearest = NearestNames(name, views);
    for (std::string& found : nearest) found = prefix + found;
    return nearest.empty() ? "" : "did you mean " + NameList(nearest) + "?";
  }

  const Platform& platform_;
  std::string folder_;
  IniOutline outline_;
  PackageHosts package_hosts_;
  PackageReport report_;
};

}  // namespace

PackageReport CheckPackage(const Platform& platform) { return PackageChecker(platform).Run(); }

}  // namespace setup
