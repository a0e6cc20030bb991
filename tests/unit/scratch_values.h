#pragma once

#include <map>
#include <string>

#include "hosts/host_catalogue.h"
#include "hosts/registry_access.h"
#include "platform/registry.h"

namespace setup {

/// Every value under the scratch key that a catalogue row can read, by name,
/// empty texts included: what the detectors have stored, and nothing else.
inline std::map<std::string, std::string> ScratchValues(Registry& registry) {
  std::map<std::string, std::string> values;
  ScopedKey key(registry, registry.OpenForReading(RootKey::kCurrentUser, kScratchKeyPath));
  if (!key) return values;
  for (const HostEntry& entry : HostCatalogue) {
    if (entry.KeyPath != kScratchKeyPath || !registry.ReadValue(key.get(), entry.ValueName)) continue;
    values[std::string(entry.ValueName)] =
        ReadRegistryText(registry, RootKey::kCurrentUser, kScratchKeyPath, entry.ValueName);
  }
  return values;
}

}  // namespace setup
