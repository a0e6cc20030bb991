// SetupCheck on Linux: checks a plug-in package folder through the portable
// back ends, the package mapped as drive P:. For --hosts, the machine is
// described by .reg files and drive folders, as the tests describe one.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "check/setup_check_cli.h"
#include "platform/portable/portable_environment.h"
#include "platform/portable/portable_file_system.h"
#include "platform/portable/portable_keyboard.h"
#include "platform/portable/portable_profile_reader.h"
#include "platform/portable/portable_registry.h"

namespace {

constexpr char kPackageDrive = 'P';
constexpr char kMachineOptions[] =
    "       options on Linux: --machine <file.reg> (the registry, repeatable),\n"
    "                         --drive <letter>=<folder> (a fixed drive, repeatable; P: is the package),\n"
    "                         --env <name>=<value> (an environment variable, repeatable)\n";

int CannotCheck(const std::string& error) {
  std::fprintf(stderr, "SetupCheck: %s\n\n%s", error.c_str(), setup::CheckUsage(kMachineOptions).c_str());
  return setup::kExitCannotCheck;
}

int CurrentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  std::vector<std::string> machines;
  std::vector<std::pair<char, std::filesystem::path>> drives;
  setup::PortableEnvironment environment;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if ((argument == "--machine" || argument == "--drive" || argument == "--env") && i + 1 < argc) {
      std::string value = argv[++i];
      if (argument == "--env") {
        std::size_t equals = value.find('=');
        if (equals == std::string::npos || equals == 0) return CannotCheck("--env takes <name>=<value>: " + value);
        environment.Set(value.substr(0, equals), value.substr(equals + 1));
        continue;
      }
      if (argument == "--machine") {
        machines.push_back(value);
        continue;
      }
      char letter = static_cast<char>(value.empty() ? 0 : (value[0] & ~0x20));
      if (value.size() < 3 || value[1] != '=' || letter < 'A' || letter > 'Z' || letter == kPackageDrive)
        return CannotCheck("--drive takes <letter>=<folder>, with a letter other than P: " + value);
      drives.emplace_back(letter, value.substr(2));
    } else {
      arguments.push_back(argument);
    }
  }
  std::string error;
  std::optional<setup::CheckCommand> command = setup::ParseCheckCommand(arguments, error);
  if (!command) return CannotCheck(error);
  std::error_code failed;
  if (!std::filesystem::is_directory(command->package_folder, failed))
    return CannotCheck(command->package_folder + " is no folder");

  setup::PortableFileSystem files(std::string(1, kPackageDrive) + ":\\");
  files.MapDrive(kPackageDrive, std::filesystem::absolute(command->package_folder));
  for (const auto& [letter, folder] : drives) files.MapDrive(letter, std::filesystem::absolute(folder));
  setup::PortableRegistry registry;
  for (const std::string& machine : machines) {
    std::ifstream stream(machine, std::ios::binary);
    std::stringstream text;
    text << stream.rdbuf();
    if (!stream) return CannotCheck("cannot read " + machine);
    try {
      registry.LoadExport(text.str());
    } catch (const std::exception& bad) {
      return CannotCheck(machine + ": " + bad.what());
    }
  }
  setup::PortableProfileReader profile(files);
  setup::ScriptedKeyboard keyboard;
  setup::FixedClock clock(CurrentYear());
  setup::Platform platform{registry, profile, files, keyboard, clock, environment};

  std::string out;
  int status = setup::RunSetupCheck(platform, *command, out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return status;
}
