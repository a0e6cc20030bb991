#include "check/setup_check_cli.h"

#include "check/check_output.h"
#include "check/host_report.h"
#include "check/package_check.h"

namespace setup {

std::optional<CheckCommand> ParseCheckCommand(std::span<const std::string> arguments, std::string& error) {
  CheckCommand command;
  bool folder_given = false;
  for (const std::string& argument : arguments) {
    if (argument == "--json") {
      command.json = true;
    } else if (argument == "--hosts") {
      command.hosts = true;
    } else if (argument.starts_with("--")) {
      error = "unknown option " + argument;
      return std::nullopt;
    } else if (folder_given) {
      error = "more than one package folder: " + command.package_folder + ", " + argument;
      return std::nullopt;
    } else {
      command.package_folder = argument;
      folder_given = true;
    }
  }
  if (!folder_given || command.package_folder.empty()) {
    error = "no package folder given";
    return std::nullopt;
  }
  return command;
}

std::string CheckUsage(std::string_view extra_options) {
  return "Usage: SetupCheck <package folder> [--json]\n"
         "       SetupCheck <package folder> --hosts [--json]\n" +
         std::string(extra_options) +
         "\n"
         "Checks the setup.ini of a plug-in package and the files it names: exit status 0 when\n"
         "nothing is found, 1 for warnings only, 2 when there is an error, 3 when nothing could\n"
         "be checked. With --hosts, lists the hosts the installer would show on this machine,\n"
         "without writing anything.\n";
}

int RunSetupCheck(const Platform& platform, const CheckCommand& command, std::string& out) {
  if (command.hosts) {
    std::vector<UnheldHostFolder> unheld;
    std::vector<HostRow> hosts = ListHostsReadOnly(platform, &unheld);
    out = command.json ? HostsJson(hosts, unheld) : HostsText(hosts, unheld);
    return 0;
  }
  PackageReport report = CheckPackage(platform);
  out = command.json ? FindingsJson(report) : FindingsText(report);
  return ExitStatusOf(report.findings);
}

}  // namespace setup
