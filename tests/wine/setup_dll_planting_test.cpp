// A package is often run from a downloads folder, where anyone can drop a DLL
// beside Setup.exe: none may be loaded, neither while the program starts nor
// by what its windows load later (the folder picker pulls in the shell).

#include <windows.h>
// tlhelp32.h needs windows.h before it.
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"
#include "ui/win32/system_dlls.h"
#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

// The DLLs the program imports, those they and its run-time loads pull in
// (as Wine loads them: the last two are its own), and those a Windows shell
// loads for the windows and the folder picker.
constexpr std::string_view kPlantedNames[] = {
    "kernel32.dll", "kernelbase.dll", "user32.dll",  "gdi32.dll",   "advapi32.dll", "msvcrt.dll",
    "ucrtbase.dll", "sechost.dll",    "win32u.dll",  "rpcrt4.dll",  "combase.dll",  "comctl32.dll",
    "ole32.dll",    "oleaut32.dll",   "shell32.dll", "shlwapi.dll", "shcore.dll",   "version.dll",
    "uxtheme.dll",  "dwmapi.dll",     "imm32.dll",   "msimg32.dll", "comdlg32.dll", "winmm.dll",
    "propsys.dll",  "cryptbase.dll",  "profapi.dll", "apphelp.dll", "zlib1.dll",    "winex11.drv",
};
static_assert(std::size(kPlantedNames) == 30);

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The paths of the modules a process has loaded.
std::vector<std::string> ModulesOf(DWORD pid) {
  std::vector<std::string> paths;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) throw HarnessError("cannot list the modules of process " + std::to_string(pid));
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
    paths.push_back(module.szExePath);
  CloseHandle(snapshot);
  return paths;
}

// The text of what a call throws; empty when it returns.
template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const ToolkitError& error) {
    return error.what();
  }
  return {};
}

struct DllPlantingTest : SetupTest {
  // The probe under each planted name; it marks its own loading beside itself.
  void PlantProbes() {
    std::string probe = TestFile("dll_probe.dll");
    for (std::string_view name : kPlantedNames) package_.CopyIn(probe, name);
  }

  // The names of the probes that were loaded, from their markers.
  std::vector<std::string> LoadedProbes() const {
    std::vector<std::string> loaded;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(package_.Path("*.loaded").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return loaded;
    do {
      std::string name = found.cFileName;
      loaded.push_back(name.substr(0, name.size() - std::string_view(".loaded").size()));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(loaded.begin(), loaded.end());
    return loaded;
  }

  // The glyph button beside the custom folder's edit: owner-drawn, no text.
  static HWND BrowseButton(HWND main) {
    RECT edit = WindowRect(Child(main, "Edit"));
    return FindChild(main, [&](HWND control) {
      RECT box = WindowRect(control);
      return ClassOf(control) == "Button" && Visible(control) &&
             (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW && box.left >= edit.right &&
             box.top < edit.bottom && box.bottom > edit.top;
    });
  }
};

TEST_F(DllPlantingTest, ProbeMarksItsLoading) {
  // The check below is only as good as the probe: loaded on purpose, it must say so.
  package_.CopyIn(TestFile("dll_probe.dll"), "probe.dll");
  HMODULE probe = LoadLibraryA(package_.Path("probe.dll").c_str());
  ASSERT_NE(probe, nullptr);
  FreeLibrary(probe);
  EXPECT_EQ(LoadedProbes(), std::vector<std::string>{"probe.dll"});
}

TEST_F(DllPlantingTest, NoDllBesideSetupIsLoaded) {
  PlantProbes();
  Start("");
  std::string failure;
  try {
    HWND main = MainWindow();
    HWND browse = BrowseButton(main);
    ASSERT_NE(browse, nullptr);
    Click(browse);
    HWND picker = WaitForWindow(pid(), "#32770");
    Click(GetDlgItem(picker, IDCANCEL));
    EXPECT_TRUE(WaitGone(picker));
    CloseAnswering(main, IDYES);
    ExpectEnded();
  } catch (const HarnessError& error) {
    failure = error.what();  // a planted DLL may well keep the program from its windows
  }
  EXPECT_EQ(LoadedProbes(), std::vector<std::string>{});
  EXPECT_EQ(failure, "");
}

TEST_F(DllPlantingTest, CommonControlsAreTheVersionTheManifestAsksFor) {
  // Loaded at run time, comctl32 must still come from the side-by-side store
  // (version 6.0), not from the system folder (version 5).
  Start("");
  MainWindow();
  std::vector<std::string> comctl32;
  for (const std::string& path : ModulesOf(pid()))
    if (Lower(path).ends_with("\\comctl32.dll")) comctl32.push_back(Lower(path));
  ASSERT_EQ(comctl32.size(), 1u);
  EXPECT_NE(comctl32[0].find("\\winsxs\\"), std::string::npos) << comctl32[0];
  EXPECT_NE(comctl32[0].find("common-controls_6595b64144ccf1df_6.0."), std::string::npos) << comctl32[0];
  CloseAnswering(MainWindow(), IDYES);
  ExpectEnded();
}

TEST(SystemDllTest, OnlyTheSystemFolderIsSearched) {
  // The probe lies beside this test program, where an unrestricted load finds it.
  TestFile("dll_probe.dll");
  EXPECT_NE(ErrorOf([] { LoadSystemDll("dll_probe.dll"); }), "");
  EXPECT_EQ(GetModuleHandleA("dll_probe.dll"), nullptr);
}

TEST(SystemDllTest, WhatIsMissingIsNamed) {
  EXPECT_EQ(ErrorOf([] { LoadSystemDll("setup_missing.dll"); }),
            "The system file setup_missing.dll could not be loaded (error 126).");
  EXPECT_EQ(ErrorOf([] { SystemFunction(LoadSystemDll("shell32.dll"), "shell32.dll", "SetupMissingFunction"); }),
            "The system file shell32.dll has no function SetupMissingFunction.");
  EXPECT_EQ(ErrorOf([] {
              LoadCommonControls();
              LoadShellDlls();
            }),
            "");
}

}  // namespace
}  // namespace setup::ui
