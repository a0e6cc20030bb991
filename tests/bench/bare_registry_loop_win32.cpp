#include "bench/bare_registry_loop.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "hosts/host_catalogue.h"

namespace setup {

double BareRegistryLoopMs(int loops) {
  double best = 1e30;
  for (int loop = 0; loop < loops; ++loop) {
    auto start = std::chrono::steady_clock::now();
    for (const HostEntry& entry : HostCatalogue) {
      HKEY root = entry.Root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
      HKEY key = nullptr;
      if (RegOpenKeyExA(root, std::string(entry.KeyPath).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        continue;
      char value[MAX_PATH];
      DWORD size = sizeof value;
      DWORD type = 0;
      RegQueryValueExA(key, std::string(entry.ValueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                       &size);
      RegCloseKey(key);
    }
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace setup
