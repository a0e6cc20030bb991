// SetupCheck.exe: checks a plug-in package, or lists this machine's hosts,
// with the real registry (read only), private-profile reader and files.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check/package_file_system.h"
#include "check/setup_check_cli.h"
#include "config/text.h"
#include "platform/ansi_text.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_profile_reader.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_wide_text.h"

namespace {

void RefuseUnheldFolder(const std::string& folder) {
  std::fprintf(stderr,
               "SetupCheck: the name of the folder %s holds a character that this system's code page cannot hold, "
               "so the installer could not read its package there either; move the package to a folder with a "
               "plain name\n",
               setup::ShownName(folder).c_str());
}

}  // namespace

// The wide entry point: the ANSI arguments would give a folder whose name
// the code page cannot hold as a look-alike naming another folder.
int wmain(int argc, wchar_t** argv) {
  setup::RestrictDllSearch();

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(setup::NarrowExactly(argv[i]));
  std::string error;
  std::optional<setup::CheckCommand> command = setup::ParseCheckCommand(arguments, error);
  if (!command) {
    std::fprintf(stderr, "SetupCheck: %s\n\n%s", error.c_str(), setup::CheckUsage().c_str());
    return setup::kExitCannotCheck;
  }
  if (!setup::HeldExactly(command->package_folder)) {
    RefuseUnheldFolder(command->package_folder);
    return setup::kExitCannotCheck;
  }
  // The installer reads its package by full paths from its own folder; the
  // current folder a relative one starts from may hold what the code page cannot.
  wchar_t wide_full[MAX_PATH];
  DWORD length = GetFullPathNameW(setup::Widened(command->package_folder).data(), MAX_PATH, wide_full, nullptr);
  std::string full = length == 0 || length >= MAX_PATH ? std::string() : setup::NarrowExactly(wide_full);
  if (!full.empty() && !setup::HeldExactly(full)) {
    RefuseUnheldFolder(full);
    return setup::kExitCannotCheck;
  }
  setup::Win32FileSystem files;
  if (full.empty() || !files.FolderExists(full)) {
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
