// The Windows program: wires the real back ends to the application.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>

#include "app/setup_application.h"
#include "config/strings.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_profile_reader.h"
#include "platform/win32/win32_registry.h"
#include "ui/win32/win32_toolkit.h"

namespace {

// A package is often run from a downloads folder: a DLL planted beside
// Setup.exe must never be loaded, so the search is restricted to System32
// before anything else loads. That holds only because Setup.exe imports
// nothing but DLLs the loader always takes from the system folder; the
// windows load the rest later (ui/win32/system_dlls.h).
// SetDefaultDllDirectories is looked up since older systems lack it.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();

  setup::Win32Registry registry;
  setup::Win32ProfileReader profile;
  setup::Win32FileSystem files;
  setup::Win32Keyboard keyboard;
  setup::Win32Clock clock;
  setup::Win32Environment environment;
  setup::Platform platform{registry, profile, files, keyboard, clock, environment};
  // The toolkit loads the system DLLs the windows need; without them there
  // is no window to report through, only a plain message box.
  std::optional<setup::Win32Toolkit> toolkit;
  try {
    toolkit.emplace(instance, files);
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), std::string(setup::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }

  setup::SetupApplication application(*toolkit, platform);
  application.Run();
  return 0;
}
