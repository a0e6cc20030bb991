#include "platform/win32/win32_dll_search.h"

#include <windows.h>

namespace setup {

// That holds only because the programs import nothing but DLLs the loader
// always takes from the system folder; the windows load the rest later
// (ui/win32/system_dlls.h). SetDefaultDllDirectories is looked up since
// older systems lack it.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
}

}  // namespace setup
