#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/reg_file.h"
#include "platform/registry.h"

namespace setup {

/// An in-memory registry for tests: one tree per root, key and value names
/// matched regardless of case (the first spelling is kept), sub-keys
/// enumerated in creation order. Loads .reg text. Records what it was asked
/// to delete so tests can check it. HKEY_LOCAL_MACHINE has a second tree for
/// the 64-bit view, whose Software\Wow6432Node is the 32-bit view's Software,
/// as on 64-bit Windows; HKEY_CURRENT_USER is the same in both views.
class PortableRegistry : public Registry {
 public:
  PortableRegistry();
  ~PortableRegistry() override;

  /// Applies .reg text; throws RegFileError naming a malformed line.
  void Load(std::string_view reg_text, RegistryView view = RegistryView::k32Bit);
  void Apply(const std::vector<RegOperation>& operations, RegistryView view = RegistryView::k32Bit);
  /// Applies a .reg file as a registry editor exported it: one that holds
  /// HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node came from a 64-bit editor and
  /// is read in the 64-bit view (that key is the 32-bit view); any other is
  /// read as the 32-bit view. Throws RegFileError as Load does.
  void LoadExport(std::string_view reg_text);
  /// Makes deleting the key at this path fail, as missing access would.
  void DenyDelete(RootKey root, std::string_view path);
  /// Makes every create or open for writing fail, as a read-only hive would.
  void DenyWrites(bool deny) { deny_writes_ = deny; }
  /// True when the key exists.
  bool KeyExists(RootKey root, std::string_view path) const;
  /// Number of keys currently open (a leak check for tests).
  std::size_t OpenKeyCount() const { return open_.size(); }

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

  std::vector<std::string> deleted_keys_;  // full paths, in deletion order

 private:
  struct Key;
  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
  };
  struct OpenKey {
    std::shared_ptr<Key> key;
    bool writable;
  };

  // The tree a path of a view lives in, and the path within it.
  std::pair<std::shared_ptr<Key>, std::string> TreeOf(RootKey root, std::string_view path, RegistryView view) const;
  std::shared_ptr<Key> Find(RootKey root, std::string_view path, RegistryView view = RegistryView::k32Bit) const;
  std::shared_ptr<Key> FindOrCreate(RootKey root, std::string_view path, RegistryView view = RegistryView::k32Bit);
  // Unlinks a key from its parent; false when it or its parent is missing.
  bool Unlink(RootKey root, std::string_view path, bool only_when_deletable, RegistryView view = RegistryView::k32Bit);
  static void MarkRemoved(Key& key);
  KeyHandle Register(std::shared_ptr<Key> key, bool writable);
  const OpenKey* Lookup(KeyHandle key) const;

  std::shared_ptr<Key> current_user_;
  std::shared_ptr<Key> local_machine_;
  std::shared_ptr<Key> local_machine_64_;
  std::map<KeyHandle, OpenKey> open_;
  KeyHandle next_handle_ = 0x100;
  bool deny_writes_ = false;
};

}  // namespace setup
