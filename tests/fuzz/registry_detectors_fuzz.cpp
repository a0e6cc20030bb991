// The detectors' and the detection pass's reads of host registry values, each
// value of any type, size and content, and the PHOTO-PAINT workspace file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_machine.h"
#include "hosts/detection_pass.h"
#include "hosts/preference_detectors.h"
#include "hosts/registry_detectors.h"

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
  for (auto* detect : {DetectFreeHand8, DetectPhotoLine, DetectPhotoDraw, DetectPhotoPaint9, DetectPhotoPaint12,
                       DetectPhotoImpact, DetectPainter, DetectFireworks, DetectCanvas, DetectXara})
    detect(platform);
  FoundMarks found;
  DetectHosts(platform, {}, found);
  return 0;
}
