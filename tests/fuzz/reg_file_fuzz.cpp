// The .reg text loader: any bytes load or fail with a line number, nothing else.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/portable/portable_registry.h"
#include "platform/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  setup::PortableRegistry registry;
  try {
    registry.Load(text);
  } catch (const setup::RegFileError&) {
  }
  return 0;
}
