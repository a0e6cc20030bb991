#pragma once

#include "platform/registry.h"

namespace setup {

/// The real registry through the ANSI functions, in the 32-bit view
/// (KEY_WOW64_32KEY) so a 64-bit build sees what the 32-bit program sees;
/// only OpenForReadingInView reaches the 64-bit view (KEY_WOW64_64KEY, which
/// a 32-bit program on 64-bit Windows needs to see it). Text values and key
/// names are read wide and converted exactly.
class Win32Registry : public Registry {
 public:
  KeyHandle OpenForReading(RootKey root, std::string_view path) override;
  KeyHandle OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) override;
  KeyHandle OpenForWriting(RootKey root, std::string_view path) override;
  KeyHandle Create(RootKey root, std::string_view path) override;
  std::optional<RegistryValue> ReadValue(KeyHandle key, std::string_view name) override;
  bool SetString(KeyHandle key, std::string_view name, std::string_view text) override;
  bool SetDword(KeyHandle key, std::string_view name, std::uint32_t number) override;
  std::optional<std::uint32_t> CountSubKeys(KeyHandle key) override;
  std::optional<std::string> SubKeyName(KeyHandle key, std::uint32_t index) override;
  bool DeleteKey(RootKey root, std::string_view path) override;
  void Close(KeyHandle key) override;
};

}  // namespace setup
