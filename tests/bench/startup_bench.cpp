// Times a start of Setup.exe to its main window shown and idle (a package
// without a drive scan, a machine with a few hosts) beside its floor: a
// program that only shows one window, and the same program opening the
// detection pass's registry keys bare on its window's thread. Windows
// builds only, under Wine on a display.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bare_registry_loop.h"
#include "bench/median.h"
#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"
#include "wine/ui_harness.h"

namespace setup {
namespace {

constexpr int kRuns = 7;
constexpr int kHostsPresent = 5;

using Clock = std::chrono::steady_clock;

// Registry values of the first few entries that are read straight from a host's key.
std::string MachineWithAFewHosts() {
  std::string reg = "REGEDIT4\n";
  int present = 0;
  for (const HostEntry& entry : HostCatalogue) {
    if (entry.KeyPath == kScratchKeyPath || present == kHostsPresent) continue;
    reg += std::string("[") + (entry.Root == RootKey::kCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") +
           std::string(entry.KeyPath) + "]\n";
    reg += entry.ValueName.empty() ? std::string("@") : "\"" + std::string(entry.ValueName) + "\"";
    reg += "=\"C:\\\\Hosts\\\\" + std::to_string(present++) + "\"\n";
  }
  return reg;
}

// Milliseconds from the start of a program until `ready` holds of it while
// it waits for input; -1 when that takes more than 30 s.
template <typename Ready>
double TimeToIdle(const std::string& exe, const std::string& arguments, const std::string& folder, Ready ready) {
  Clock::time_point start = Clock::now();
  ui::RunningProgram program(exe, arguments, folder);
  for (;;) {
    WaitForInputIdle(program.process(), 1000);
    if (ready(program.pid()) && WaitForInputIdle(program.process(), 0) == 0)
      return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (Clock::now() - start > std::chrono::seconds(30)) return -1;
    Sleep(1);
  }
}

}  // namespace
}  // namespace setup

int main() {
  using namespace setup;
  using namespace setup::ui;
  ImportReg(MachineWithAFewHosts());
  Package package("startup_bench");
  package.AddSetup();
  package.Write("setup.ini", "[options]\r\nsubdir=Bench\r\n[files]\r\n1=a.8bf\r\n");
  package.Write("a.8bf", "a");
  std::string floor = TestFile("floor_window.exe");

  auto floor_ready = [](DWORD pid) {
    HWND window = FindTopWindow(pid, "FloorWindow");
    return window && Visible(window);
  };
  std::vector<double> setup_times, floor_times, floor_loop_times;
  for (int run = 0; run < kRuns; ++run) {
    floor_times.push_back(TimeToIdle(floor, "", package.folder(), floor_ready));
    floor_loop_times.push_back(TimeToIdle(floor, "/registry", package.folder(), floor_ready));
    setup_times.push_back(TimeToIdle(package.Path("Setup.exe"), "", package.folder(), [](DWORD pid) {
      HWND main = FindTopWindow(pid, "TMainForm");
      if (!main || !Visible(main)) return false;
      HWND list = FindChild(main, "SysListView32");
      return list && ListItemCount(list) == kHostsPresent;
    }));
  }
  for (const auto* times : {&setup_times, &floor_times, &floor_loop_times}) {
    if (*std::min_element(times->begin(), times->end()) < 0) {
      std::printf("start-up: a window did not come within 30 s\n");
      return 1;
    }
  }
  double setup_ms = Median(setup_times);
  double floor_ms = Median(floor_times);
  double floor_loop_ms = Median(floor_loop_times);
  std::printf("start-up to an idle main window (%d hosts listed, median of %d): %.1f ms\n", kHostsPresent, kRuns,
              setup_ms);
  std::printf("  floor: one window %.1f ms; with the bare registry loop run on its thread %.1f ms\n", floor_ms,
              floor_loop_ms);
  std::printf("  (the bare loop in a process without windows: best %.2f ms)\n", BareRegistryLoopMs(kRuns));
  std::printf("  ratio %.2f (goal 1.2 or less)\n", setup_ms / floor_loop_ms);
  return 0;
}
