// SetupCheck.exe: checks a plug-in package, or lists this machine's hosts,
// with the real registry (read only), private-profile reader and files.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check/package_file_system.h"
#include "check/setup_check_cli.h"
#include "config/text.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_profile_reader.h"
#include "platform/win32/win32_registry.h"

int main(int argc, char** argv) {
  setup::RestrictDllSearch();

  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  std::optional<setup::CheckCommand> command = setup::ParseCheckCommand(arguments, error);
  if (!command) {
    std::fprintf(stderr, "SetupCheck: %s\n\n%s", error.c_str(), setup::CheckUsage().c_str());
    return setup::kExitCannotCheck;
  }
  // The installer reads its package by full paths from its own folder.
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(command->package_folder.c_str(), MAX_PATH, full, nullptr);
  setup::Win32FileSystem files;
  if (length == 0 || length >= MAX_PATH || !files.FolderExists(full)) {
    std::fprintf(stderr, "SetupCheck: %s is no folder\n", command->package_folder.c_str());
    return setup::kExitCannotCheck;
  }
  setup::PackageFileSystem package(files, setup::AddTrailingBackslash(full));
  setup::Win32Registry registry;
  setup::Win32ProfileReader profile;
  setup::Win32Keyboard keyboard;
  setup::Win32Clock clock;
  setup::Win32Environment environment;
  setup::Platform platform{registry, profile, package, keyboard, clock, environment};

  std::string out;
  int status = setup::RunSetupCheck(platform, *command, out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return status;
}
