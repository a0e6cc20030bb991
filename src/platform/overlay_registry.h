#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/registry.h"

namespace setup {

/// A registry that reads through to another one and keeps every write in
/// memory: keys it creates and values it sets are seen by its own reads
/// (a value written here hides the one below), while the registry below is
/// only ever opened for reading. For runs that must leave the machine as
/// they found it. Sub-key listings are those of the registry below; deleting
/// a key is refused. Reads in the 64-bit view see the registry below alone.
class OverlayRegistry : public Registry {
 public:
  explicit OverlayRegistry(Registry& below) : below_(below) {}
  ~OverlayRegistry() override;

  /// One value set through this registry, in the order of the writes.
  struct Write {
    RootKey root;
    std::string key_path;
    std::string name;
    std::string text;
  };
  const std::vector<Write>& writes() const { return writes_; }

  KeyHandle OpenForReading(RootKey root, std::string_view path) override;
  /// The 64-bit view is read as it is below: writes go to the 32-bit view.
  KeyHandle OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) override;
  KeyHandle OpenForWriting(RootKey root, std::string_view path) override;
  KeyHandle Create(RootKey root, std::string_view path) override;
  std::optional<RegistryValue> ReadValue(KeyHandle key, std::string_view name) override;
  bool SetString(KeyHandle key, std::string_view name, std::string_view text) override;
  /// Refused: the overlay keeps text values only.
  bool SetDword(KeyHandle, std::string_view, std::uint32_t) override { return false; }
  std::optional<std::uint32_t> CountSubKeys(KeyHandle key) override;
  std::optional<std::string> SubKeyName(KeyHandle key, std::uint32_t index) override;
  bool DeleteKey(RootKey root, std::string_view path) override;
  void Close(KeyHandle key) override;

 private:
  struct OpenKey {
    RootKey root;
    std::string path;  // upper-cased, as names match regardless of case
    KeyHandle below;   // 0 when the key exists only here
    bool other_view;   // opened in the 64-bit view, where nothing is written
  };
  using KeyName = std::pair<RootKey, std::string>;
  using ValueName = std::tuple<RootKey, std::string, std::string>;

  KeyHandle Open(RootKey root, std::string_view path, bool create);
  const OpenKey* Lookup(KeyHandle key) const;
  // The text written here for a value, or null.
  const std::string* Written(const OpenKey& key, std::string_view name) const;

  Registry& below_;
  std::map<KeyHandle, OpenKey> open_;
  KeyHandle next_handle_ = 0x100;
  std::set<KeyName> created_;                // keys made here (with their parents)
  std::map<ValueName, std::string> values_;  // values set here
  std::vector<Write> writes_;
};

}  // namespace setup
