// The Windows program: wires the real back ends to the application.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "app/setup_application.h"
#include "config/strings.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_profile_reader.h"
#include "platform/win32/win32_registry.h"
#include "ui/win32/win32_toolkit.h"
#include "unattended/command_line.h"
#include "unattended/unattended_run.h"

namespace {

// The whole command line in the ANSI code page the program works in. Read
// as UTF-16 and converted without best-fit mapping: a character with no
// ANSI form must not silently become a look-alike that names another
// folder. `lossless` tells whether every character had one.
std::string AnsiCommandLine(bool& lossless) {
  const wchar_t* wide = GetCommandLineW();
  lossless = true;
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  BOOL used_default = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, text.data(), size, nullptr, &used_default);
  lossless = !used_default;
  text.resize(text.find('\0'));
  return text;
}

}  // namespace

// A program without a console has nowhere to print the name of an uncaught
// exception. The library's own handler would, and drags a demangler of some
// 40 KB into the file that every package ships.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  setup::RestrictDllSearch();

  setup::Win32Registry registry;
  setup::Win32ProfileReader profile;
  setup::Win32FileSystem files;
  setup::Win32Keyboard keyboard;
  setup::Win32Clock clock;
  setup::Win32Environment environment;
  setup::Platform platform{registry, profile, files, keyboard, clock, environment};

  bool lossless = true;
  std::string command_line = AnsiCommandLine(lossless);
  setup::CommandLine arguments = setup::ParseCommandLine(command_line);
  if (!lossless && arguments.unusable.empty())
    arguments.unusable = "it holds a character that this system's code page cannot hold";
  // A silent run makes no window and loads nothing the windows need. Nor
  // may the system show one: a drive without its disk or a file it cannot
  // open is an error the run reports, not a box waiting for a user.
  if (arguments.silent) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    return setup::RunWithArguments(platform, nullptr, arguments, command_line, {});
  }

  // The toolkit loads the system DLLs the windows need; without them there
  // is no window to report through, only a plain message box.
  std::optional<setup::Win32Toolkit> toolkit;
  try {
    toolkit.emplace(instance, files);
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), std::string(setup::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  auto run_windows = [&](setup::RunWatcher* watcher) {
    setup::SetupApplication application(*toolkit, platform);
    application.state().watcher = watcher;
    application.Run();
  };
  if (!arguments.any) {
    run_windows(nullptr);
    return 0;
  }
  return setup::RunWithArguments(platform, &*toolkit, arguments, command_line, run_windows);
}
