// Times the detection pass over the whole catalogue, every entry present,
// with a setup.ini whose [enabled] section has 150 keys. Built natively
// (portable back ends) and for Windows (the real ones, under Wine).

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/bare_registry_loop.h"
#include "bench/bench_platform.h"
#include "contract/contract_world.h"
#include "hosts/detection_pass.h"

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

  const int passes = 20;
  std::size_t listed = 0;
  auto start = std::chrono::steady_clock::now();
  for (int pass = 0; pass < passes; ++pass) listed = DetectHosts(platform, {}, found).size();
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("detection pass: %zu hosts listed, %.2f ms per pass (%d passes)\n", listed, ms / passes, passes);
#ifdef _WIN32
  // Beside the same keys opened and read in the same view, and nothing else.
  double bare = BareRegistryLoopMs(passes);
  std::printf("  bare registry loop %.2f ms: ratio %.2f (goal 1.5 or less)\n", bare, ms / passes / bare);
#endif
  return listed == kHostCount ? 0 : 1;
}
