// The detectors' and the detection pass's reads of host registry values, each
// value of any type, size and content, and the PHOTO-PAINT workspace file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_machine.h"
#include "hosts/detection_pass.h"
#include "hosts/special_detectors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace setup;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  TestWorld& machine = Machine();
  // A workspace value "C:\WS\Main.cpw" leads here; the input is its content too.
  machine.Write("C:\\WS\\Main\\photopnt.ini", input);
  machine.Write("C:\\WS\\Main\\CorelPP.ini", input);
  InputRegistry registry(input);
  Platform platform{registry,          machine.profile_, machine.files_,
                    machine.keyboard_, machine.clock_,   machine.environment_};
  // Every detector the pass runs, so that a new one is fuzzed without a word here.
  for (const NamedDetector& detector : kSpecialDetectors) detector.detect(platform);
  FoundMarks found;
  DetectHosts(platform, {}, found);
  return 0;
}
