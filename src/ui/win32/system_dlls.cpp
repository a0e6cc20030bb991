#include "ui/win32/system_dlls.h"

#include <string>

#include "ui/toolkit.h"

namespace setup {
namespace {

// The LOAD_LIBRARY_SEARCH_* flags came with the loader update that also
// brought AddDllDirectory; where that is missing, LoadLibraryExA rejects them.
bool SearchFlagsSupported() { return GetProcAddress(GetModuleHandleA("kernel32.dll"), "AddDllDirectory") != nullptr; }

// Whether the active activation context sends this name to the side-by-side
// store: a load by name then never searches the folders, and a load by full
// path would bypass the redirection.
bool RedirectedSideBySide(const char* name) {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  return FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != 0;
}

HMODULE LoadFromSystemFolder(const char* name) {
  if (SearchFlagsSupported()) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (RedirectedSideBySide(name)) return LoadLibraryA(name);
  char folder[MAX_PATH] = "";
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

template <typename Function>
void Resolve(Function& function, HMODULE dll, const char* dll_name, const char* function_name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(dll, dll_name, function_name)));
}

}  // namespace

HMODULE LoadSystemDll(const char* name) {
  HMODULE dll = LoadFromSystemFolder(name);
  if (!dll) {
    DWORD error = GetLastError();
    throw ToolkitError("The system file " + std::string(name) + " could not be loaded (error " + std::to_string(error) +
                       ").");
  }
  return dll;
}

FARPROC SystemFunction(HMODULE dll, const char* dll_name, const char* function_name) {
  FARPROC function = GetProcAddress(dll, function_name);
  if (!function) {
    throw ToolkitError("The system file " + std::string(dll_name) + " has no function " + std::string(function_name) +
                       ".");
  }
  return function;
}

decltype(&::InitCommonControlsEx) LoadCommonControls() {
  decltype(&::InitCommonControlsEx) init_common_controls_ex = nullptr;
  Resolve(init_common_controls_ex, LoadSystemDll("comctl32.dll"), "comctl32.dll", "InitCommonControlsEx");
  return init_common_controls_ex;
}

ShellDlls LoadShellDlls() {
  ShellDlls dlls;
  HMODULE ole32 = LoadSystemDll("ole32.dll");
  Resolve(dlls.co_initialize, ole32, "ole32.dll", "CoInitialize");
  Resolve(dlls.co_uninitialize, ole32, "ole32.dll", "CoUninitialize");
  Resolve(dlls.co_task_mem_free, ole32, "ole32.dll", "CoTaskMemFree");
  HMODULE shell32 = LoadSystemDll("shell32.dll");
  Resolve(dlls.sh_browse_for_folder, shell32, "shell32.dll", "SHBrowseForFolderA");
  Resolve(dlls.sh_get_path_from_id_list, shell32, "shell32.dll", "SHGetPathFromIDListW");
  Resolve(dlls.shell_execute, shell32, "shell32.dll", "ShellExecuteA");
  return dlls;
}

}  // namespace setup
