// setup.ini as a package may hold it, and the text helpers its values meet.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/setup_config.h"
#include "config/text.h"
#include "fuzz/fuzz_machine.h"
#include "hosts/package_host_places.h"
#include "install/deployment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace setup;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TestWorld& machine = Machine();
  machine.WriteSetupIni(text);
  const Platform& platform = machine.platform_;
  for (const char* section : {"messages", "options", "presentation", "enabled", "files"}) {
    for (const std::string& key : ReadSetupKeys(platform, section)) {
      std::string value = ReadSetupValue(platform, section, key);
      ParseWholeNumber(value, 0);
      IsOnFlag(value);
      IsOffFlag(value);
      ReplacePlaceholder(value, "#t", value);
      AddTrailingBackslash(value);
      PartOf(value, ParseWholeNumber(key, 1), static_cast<int>(value.size()));
      PositionOf(key, value);
      Trimmed(value);
      StaysInside(value);
      IsAbsolutePath(value);
      SplitLines(value);
    }
  }
  ReadInstallSubfolder(platform);
  BuildDeploymentList(platform);
  // The hosts a package names, their places (the environment echoes the
  // input) and the files section each one names.
  machine.environment_.Set("F", text.substr(0, 300));
  for (const PackageHost& host : ReadPackageHosts(platform).hosts) {
    InstallFolderOf(platform, host);
    ExpandVariables(host.folder, machine.environment_);
    BuildDeploymentList(platform, host.files_section);
  }
  return 0;
}
