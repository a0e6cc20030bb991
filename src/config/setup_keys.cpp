#include "config/setup_keys.h"

#include "platform/ansi_text.h"

namespace setup {

const SetupKey* FindSetupKey(std::string_view section, std::string_view key) {
  for (const SetupKey& row : kSetupKeys)
    if (EqualIgnoringCase(row.section, section) && EqualIgnoringCase(row.key, key)) return &row;
  return nullptr;
}

}  // namespace setup
