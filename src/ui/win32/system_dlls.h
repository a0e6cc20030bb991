#pragma once

// The DLLs the windows need beyond kernel32, user32 and gdi32 (common
// controls, COM, the shell) are loaded at run time from the system folder,
// never imported: imports are resolved before WinMain can restrict the DLL
// search, and the loader would look for them, and for everything they pull
// in, beside Setup.exe first.

#include <windows.h>
// commctrl.h and shlobj.h need windows.h before them.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace setup {

/// Loads a DLL from the system folder only (never from beside the program or
/// the working folder); throws ToolkitError naming it when it cannot.
/// A DLL the program's activation context redirects (the common controls 6.0
/// of the manifest) still comes from the side-by-side store.
HMODULE LoadSystemDll(const char* name);

/// A function of a DLL from LoadSystemDll; throws ToolkitError naming
/// both when the DLL lacks it.
FARPROC SystemFunction(HMODULE dll, const char* dll_name, const char* function_name);

/// What the Win32 toolkit calls of ole32 and shell32: only the folder
/// picker and the picture's link need them, so they are loaded when first
/// used and not at start-up.
struct ShellDlls {
  decltype(&::CoInitialize) co_initialize = nullptr;
  decltype(&::CoUninitialize) co_uninitialize = nullptr;
  decltype(&::CoTaskMemFree) co_task_mem_free = nullptr;
  decltype(&::SHBrowseForFolderA) sh_browse_for_folder = nullptr;
  decltype(&::SHGetPathFromIDListW) sh_get_path_from_id_list = nullptr;
  decltype(&::ShellExecuteA) shell_execute = nullptr;
};

/// Loads comctl32 and gives its InitCommonControlsEx; throws ToolkitError
/// with the user-facing text when either is missing.
decltype(&::InitCommonControlsEx) LoadCommonControls();

/// Loads ole32 and shell32 and resolves every function of ShellDlls; throws
/// ToolkitError with the user-facing text when one is missing.
ShellDlls LoadShellDlls();

}  // namespace setup
