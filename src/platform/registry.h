#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

/// The two registry roots the program reads and writes.
enum class RootKey { kCurrentUser, kLocalMachine };

/// Registry value types, numbered as Windows numbers them.
enum RegistryType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegLink = 6,
  kRegMultiSz = 7,
  kRegQword = 11,
};

/// Which half of the registry a read sees on 64-bit Windows: the 32-bit view
/// (HKLM\Software as a 32-bit program sees it, which the catalogue is written
/// for) or the 64-bit view, where today's 64-bit hosts keep their places.
enum class RegistryView { k32Bit, k64Bit };

/// An open key. 0 is never a valid key.
using KeyHandle = std::uintptr_t;

/// One value: its type and its data bytes.
struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::string data;
};

/// The registry in the 32-bit view (the 64-bit view only where a method says
/// so), through the ANSI functions. Abstract so it can be replaced in tests;
/// the real one is Win32Registry, the test one PortableRegistry. Every method
/// is safe to call with a key of 0.
class Registry {
 public:
  virtual ~Registry() = default;

  /// Opens an existing key for reading; never creates one. 0 when it cannot.
  virtual KeyHandle OpenForReading(RootKey root, std::string_view path) = 0;
  /// Opens an existing key for reading in the given view; never creates one. 0 when it cannot.
  virtual KeyHandle OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) = 0;
  /// Opens an existing key with full access; never creates one. 0 when it cannot.
  virtual KeyHandle OpenForWriting(RootKey root, std::string_view path) = 0;
  /// Opens a key with full access, creating it and its missing parents. 0 when it cannot.
  virtual KeyHandle Create(RootKey root, std::string_view path) = 0;

  /// A value's type and data bytes as stored, whatever its size, in one
  /// read (empty name: the default value); nothing when it does not exist or
  /// cannot be read. Text types come in the code page, each character it
  /// cannot hold as kUnheldCharacter, never a look-alike.
  virtual std::optional<RegistryValue> ReadValue(KeyHandle key, std::string_view name) = 0;
  /// Sets a REG_SZ value to the text plus its terminating zero. False on failure.
  virtual bool SetString(KeyHandle key, std::string_view name, std::string_view text) = 0;
  /// Sets a REG_DWORD value. False on failure.
  virtual bool SetDword(KeyHandle key, std::string_view name, std::uint32_t number) = 0;

  /// Number of sub-keys of an open key; nothing when it cannot be asked.
  virtual std::optional<std::uint32_t> CountSubKeys(KeyHandle key) = 0;
  /// Name of the sub-key at a position; nothing past the end or on failure.
  /// A character the code page cannot hold is kUnheldCharacter.
  virtual std::optional<std::string> SubKeyName(KeyHandle key, std::uint32_t index) = 0;
  /// Deletes a key that has no sub-keys of its own. False when it fails.
  virtual bool DeleteKey(RootKey root, std::string_view path) = 0;

  /// Releases a key; 0 is ignored.
  virtual void Close(KeyHandle key) = 0;
};

/// Closes a key when it goes out of scope.
class ScopedKey {
 public:
  ScopedKey(Registry& registry, KeyHandle key) : registry_(registry), key_(key) {}
  ~ScopedKey() { registry_.Close(key_); }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  KeyHandle get() const { return key_; }
  explicit operator bool() const { return key_ != 0; }

 private:
  Registry& registry_;
  KeyHandle key_;
};

}  // namespace setup
