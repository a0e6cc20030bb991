// Times a start of Setup.exe to its main window shown and idle (a package
// without a drive scan, a machine with a few hosts) beside its floor: a
// program that only shows one window, plus the registry reads of a
// detection pass done bare. Windows builds only, under Wine on a display.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bare_registry_loop.h"
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
double TimeToIdle(const std::string& exe, const std::string& folder, Ready ready) {
  Clock::time_point start = Clock::now();
  ui::RunningProgram program(exe, "", folder);
  for (;;) {
    WaitForInputIdle(program.process(), 1000);
    if (ready(program.pid()) && WaitForInputIdle(program.process(), 0) == 0)
      return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (Clock::now() - start > std::chrono::seconds(30)) return -1;
    Sleep(1);
  }
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
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

  std::vector<double> setup_times, floor_times;
  for (int run = 0; run < kRuns; ++run) {
    floor_times.push_back(TimeToIdle(floor, package.folder(), [](DWORD pid) {
      HWND window = FindTopWindow(pid, "FloorWindow");
      return window && Visible(window);
    }));
    setup_times.push_back(TimeToIdle(package.Path("Setup.exe"), package.folder(), [](DWORD pid) {
      HWND main = FindTopWindow(pid, "TMainForm");
      if (!main || !Visible(main)) return false;
      HWND list = FindChild(main, "SysListView32");
      return list && ListItemCount(list) == kHostsPresent;
    }));
  }
  if (std::min(*std::min_element(setup_times.begin(), setup_times.end()),
               *std::min_element(floor_times.begin(), floor_times.end())) < 0) {
    std::printf("start-up: a window did not come within 30 s\n");
    return 1;
  }
  double setup_ms = Median(setup_times);
  double floor_ms = Median(floor_times);
  double bare_ms = BareRegistryLoopMs(kRuns);
  std::printf("start-up to an idle main window (%d hosts listed, median of %d): %.1f ms\n", kHostsPresent, kRuns,
              setup_ms);
  std::printf("  floor: one window %.1f ms + bare registry loop %.2f ms = %.1f ms\n", floor_ms, bare_ms,
              floor_ms + bare_ms);
  std::printf("  ratio %.2f (goal 1.2 or less)\n", setup_ms / (floor_ms + bare_ms));
  return 0;
}
