// Every host file the detectors and the drive scan read, with any content.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_machine.h"
#include "hosts/preference_detectors.h"
#include "scan/scan_hits.h"

namespace {

// The file names the recognisers act on, as a scan would meet them.
constexpr const char* kHostFiles[] = {
    "pd.ini",
    "photoshp.ini",
    "photos30.ini",
    "photos40.ini",
    "iep.ini",
    "xres.ini",
    "ulead32.ini",
    "qfxwin.ini",
    "aiprefs",
    "plugdirs.cfg",
    "fireworks 4 preferences.txt",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace setup;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TestWorld& machine = Machine();
  const Platform& platform = machine.platform_;
  bool mark = false;
  for (const char* name : kHostFiles) {
    machine.Write(std::string("C:\\Hosts\\") + name, text);
    CheckScanHit(platform, mark, "C:\\Hosts\\", name);
  }
  // imageN's program is recognised by its configuration file beside it.
  CheckScanHit(platform, mark, "C:\\Hosts\\", "imagen.exe");
  ReadFireworksPluginFolder(platform, "C:\\Hosts\\aiprefs");
  ReadCanvasPluginFolder(platform, "C:\\Hosts\\aiprefs");
  return 0;
}
