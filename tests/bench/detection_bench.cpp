// Times the detection pass over the whole catalogue, every entry present,
// with a setup.ini whose [enabled] section has 150 keys; then the same pass
// with two enumerating package hosts, one over a key of 1,000 subkeys in the
// 64-bit view and one whose folder pattern lies in a folder of 10,000
// entries, as a ratio to the pass without them. Built natively (portable
// back ends) and for Windows (the real ones, under Wine).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bare_registry_loop.h"
#include "bench/bench_platform.h"
#include "bench/median.h"
#include "contract/contract_world.h"
#include "hosts/detection_pass.h"
#include "hosts/package_host_places.h"

namespace setup {
namespace {

std::string MachineWithEveryHost() {
  std::string reg = "REGEDIT4\n";
  for (std::size_t i = 0; i < kHostCount; ++i) {
    const HostEntry& entry = HostCatalogue[i];
    reg += std::string("[") + (entry.Root == RootKey::kCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") +
           std::string(entry.KeyPath) + "]\n";
    if (entry.ValueName.empty()) {
      reg += "@";
    } else {
      reg += '"';
      reg += entry.ValueName;
      reg += '"';
    }
    reg += "=\"C:\\\\Hosts\\\\" + std::to_string(i) + "\"\n";
  }
  return reg;
}

std::string SetupIniWith150EnabledKeys() {
  std::string ini = "[options]\r\nsubdir=Bench\r\n[enabled]\r\n";
  for (int i = 0; i < 150; ++i) {
    const HostEntry& entry = HostCatalogue[static_cast<std::size_t>(i)];
    ini += std::string(i % 2 ? entry.VersionId : entry.HostId) + "=" + (i % 7 ? "1" : "yes") + "\r\n";
  }
  return ini + "[files]\r\n1=a.8bf\r\n";
}

std::string RegText(std::string_view text) {
  std::string escaped;
  for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

constexpr int kSubkeys = 1000;
constexpr int kInstalledVersions = 10;  // of the subkeys, those whose folder exists
constexpr int kEntries = 10000;
constexpr int kMatchingFolders = 50;  // of the entries, the folders the pattern matches

// Builds the machine of the package hosts under `base` and returns the
// [hosts] part of setup.ini that names them.
std::string MakePackageHostMachine(ContractWorld& world, const std::string& base) {
  std::string reg = "REGEDIT4\n";
  for (int i = 0; i < kSubkeys; ++i) {
    reg += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench\\Versions\\" + std::to_string(i) + ".0]\n\"Path\"=\"" +
           RegText(base + "Versions\\" + std::to_string(i)) + "\"\n";
  }
  world.RemoveRegistryTree(RootKey::kLocalMachine, "SOFTWARE\\Bench");
  world.LoadRegistry(reg, true);
  world.MakeFolder(base + "Versions");
  world.MakeFolder(base + "Many");
  for (int i = 0; i < kInstalledVersions; ++i)
    world.MakeFolder(base + "Versions\\" + std::to_string(i * (kSubkeys / kInstalledVersions)));
  for (int i = 0; i < kEntries; ++i) {
    if (i % (kEntries / kMatchingFolders) == 0)
      world.MakeFolder(base + "Many\\Brisk Paint " + std::to_string(i));
    else
      world.WriteFile(base + "Many\\plug-in " + std::to_string(i) + ".8bf", "");
  }
  return "[hosts]\r\nver=Version %KEY%\r\nbrisk=%FOLDER%\r\n"
         "[host.ver]\r\nregistry=HKLM\\SOFTWARE\\Bench\\Versions\\*|Path\r\nview=64\r\n"
         "[host.brisk]\r\nfolder=" +
         base + "Many\\Brisk Paint *\r\n";
}

}  // namespace
}  // namespace setup

int main() {
  using namespace setup;
  std::unique_ptr<ContractWorld> world = MakeContractWorld();
  world->LoadRegistry(MachineWithEveryHost());
  world->WriteFile(world->files().ExecutableFolder() + "setup.ini", SetupIniWith150EnabledKeys());
  NoKeyboard keyboard;
  SomeYear clock;
  NoEnvironment environment;
  Platform platform{world->registry(), world->profile(), world->files(), keyboard, clock, environment};
  FoundMarks found;

  // The pass as the show step runs it, setup.ini's package hosts read first.
  auto time_pass = [&](std::size_t& listed) {
    auto start = std::chrono::steady_clock::now();
    listed = DetectHosts(platform, {}, found, ReadPackageHosts(platform).hosts).size();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  auto median_of = [&](int passes, std::size_t& listed) {
    std::vector<double> times;
    for (int pass = 0; pass < passes; ++pass) times.push_back(time_pass(listed));
    return Median(times);
  };
  const int passes = 40;
  std::size_t listed = 0;
  std::vector<double> pass_times, bare_times;
  for (int pass = 0; pass < passes; ++pass) {
    pass_times.push_back(time_pass(listed));
#ifdef _WIN32
    // Beside the same keys opened and read in the same view, and nothing
    // else, taking turns with the pass: under Wine a round of registry calls
    // takes up to ten times longer from one moment to the next, and this way
    // both meet the same moments.
    bare_times.push_back(BareRegistryLoopMs(1));
#endif
  }
  double pass_ms = Median(pass_times);
  std::printf("detection pass: %zu hosts listed, median %.2f ms, best %.2f ms (%d passes)\n", listed, pass_ms,
              *std::min_element(pass_times.begin(), pass_times.end()), passes);
  if (listed != kHostCount) return 1;
#ifdef _WIN32
  double bare_ms = Median(bare_times);
  std::printf(
      "  bare registry loop in turn with it: median %.2f ms, best %.2f ms; ratio of the medians %.2f "
      "(goal 1.5 or less)\n",
      bare_ms, *std::min_element(bare_times.begin(), bare_times.end()), pass_ms / bare_ms);
#endif

  std::string hosts = MakePackageHostMachine(*world, world->Folder());
  world->WriteFile(world->files().ExecutableFolder() + "setup.ini", SetupIniWith150EnabledKeys() + hosts);
  std::size_t with_hosts = 0;
  double with_ms = median_of(passes / 2, with_hosts);
  // The pass without them again, the machine as warm as for the pass with them.
  world->WriteFile(world->files().ExecutableFolder() + "setup.ini", SetupIniWith150EnabledKeys());
  std::size_t again = 0;
  double without_ms = median_of(passes / 2, again);
  std::printf(
      "with package hosts over %d subkeys and a folder of %d entries: %zu hosts listed, median %.2f ms per pass "
      "(%d passes); without them again: %.2f ms; %.2f times the pass without them\n",
      kSubkeys, kEntries, with_hosts, with_ms, passes / 2, without_ms, with_ms / without_ms);
  return with_hosts == kHostCount + kInstalledVersions + kMatchingFolders ? 0 : 1;
}
