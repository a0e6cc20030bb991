#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/profile_reader.h"
#include "platform/registry.h"

namespace setup {

/// One back end of the platform plus the means to prepare a machine for it:
/// the contract tests are written once against this and built once per back end.
class ContractWorld {
 public:
  virtual ~ContractWorld() = default;

  virtual Registry& registry() = 0;
  virtual ProfileReader& profile() = 0;
  virtual FileSystem& files() = 0;
  virtual Environment& environment() = 0;

  /// Sets an environment variable of this process for the back end to see.
  virtual void SetVariable(const std::string& name, const std::string& value) = 0;

  /// Applies .reg text in the 32-bit view (the one the program sees) or in the 64-bit view.
  virtual void LoadRegistry(std::string_view reg_text, bool sixty_four_bit_view = false) = 0;
  /// Removes a key tree in both views, so a test starts clean.
  virtual void RemoveRegistryTree(RootKey root, const std::string& path) = 0;

  /// A fresh empty folder for the running test: a Windows path ending in a backslash.
  virtual std::string Folder() = 0;
  /// Writes a file with these bytes, making its folders.
  virtual void WriteFile(const std::string& path, std::string_view bytes) = 0;
  virtual void MakeFolder(const std::string& path) = 0;
  /// Makes a folder the one relative paths start from, until the world ends.
  virtual void SetCurrentFolder(const std::string& path) = 0;
  /// Sets read-only (1), hidden (2) and system (4) bits of a file or folder.
  virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  /// The bytes of a file, read outside the back end under test.
  virtual std::string ReadFile(const std::string& path) = 0;
  /// Writes a file whose name is given in UTF-8, so that it may hold what
  /// the code page cannot.
  virtual void WriteFileNamedInUtf8(const std::string& folder, const std::string& utf8_name,
                                    std::string_view bytes) = 0;
  /// Sets a REG_SZ value of HKCU\path, and an environment variable, to texts
  /// given in UTF-8, and makes a sub-key so named. The portable registry and
  /// environment hold 8-bit texts: there the world stores what the code page
  /// gives (AnsiFromHostName), so only the Win32 back end is tried by these.
  virtual void SetUtf8Texts(const std::string& path, const std::string& utf8_value, const std::string& utf8_subkey,
                            const std::string& variable) = 0;
  /// Holds a file open without any sharing until the result is released.
  virtual std::shared_ptr<void> HoldOpen(const std::string& path) = 0;
};

/// The world of the back end this test program is built with.
std::unique_ptr<ContractWorld> MakeContractWorld();

}  // namespace setup
