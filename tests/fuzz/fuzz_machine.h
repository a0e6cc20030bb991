#pragma once

// What the fuzz targets share: one machine for the whole run (drive C: a
// temporary folder, the portable back ends) and a registry that answers
// every value with bytes from the input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "unit/test_world.h"

namespace setup {

/// The machine of the run: made once, its files rewritten by each input.
inline TestWorld& Machine() {
  static TestWorld* world = new TestWorld();  // never destroyed: inputs run until the process ends
  return *world;
}

/// A registry in which every key exists and every value is the next piece
/// of the input: a type byte, a length byte, then that many data bytes.
/// Writes are taken and forgotten.
class InputRegistry : public Registry {
 public:
  explicit InputRegistry(std::string_view input) : rest_(input) {}

  KeyHandle OpenForReading(RootKey, std::string_view) override { return 1; }
  KeyHandle OpenForReadingInView(RootKey, std::string_view, RegistryView) override { return 1; }
  KeyHandle OpenForWriting(RootKey, std::string_view) override { return 1; }
  KeyHandle Create(RootKey, std::string_view) override { return 1; }
  std::optional<RegistryValue> ReadValue(KeyHandle key, std::string_view) override {
    if (key == 0 || rest_.size() < 2) return std::nullopt;
    auto type = static_cast<std::uint8_t>(rest_[0]) % 12u;
    std::size_t length = std::min<std::size_t>(static_cast<std::uint8_t>(rest_[1]), rest_.size() - 2);
    RegistryValue value{type, std::string(rest_.substr(2, length))};
    rest_.remove_prefix(2 + length);
    return value;
  }
  bool SetString(KeyHandle, std::string_view, std::string_view) override { return true; }
  bool SetDword(KeyHandle, std::string_view, std::uint32_t) override { return true; }
  std::optional<std::uint32_t> CountSubKeys(KeyHandle) override { return 0u; }
  std::optional<std::string> SubKeyName(KeyHandle, std::uint32_t) override { return std::nullopt; }
  bool DeleteKey(RootKey, std::string_view) override { return true; }
  void Close(KeyHandle) override {}

 private:
  std::string_view rest_;
};

}  // namespace setup
