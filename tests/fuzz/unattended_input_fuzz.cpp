// What a run with arguments reads: the command line a deployment system
// hands it and the install record it finds on the machine. Any bytes parse;
// a record read back from its own text is the same record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "unattended/command_line.h"
#include "unattended/install_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  setup::ParseCommandLine(text);
  if (std::optional<setup::InstallRecord> record = setup::InstallRecord::FromText(text)) {
    std::optional<setup::InstallRecord> again = setup::InstallRecord::FromText(record->ToText());
    if (!again || again->files != record->files || again->folders != record->folders || again->roots != record->roots ||
        again->originals != record->originals)
      std::abort();
  }
  return 0;
}
