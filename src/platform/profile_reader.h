#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

/// The private-profile read of initialisation files (GetPrivateProfileStringA).
/// Section and key names match regardless of case. Abstract so it can be
/// replaced in tests; the real one is Win32ProfileReader.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;

  /// The value of key in section, without the blanks around it, cut to
  /// buffer_size - 1 characters. Empty when the file, section or key is
  /// missing or unreadable. Never throws.
  virtual std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                                 std::size_t buffer_size) = 0;

  /// The key names of a section in file order, as many as fit in buffer_size
  /// bytes with a zero after each (the last may be cut short). Empty when the
  /// file or section is missing. Never throws.
  virtual std::vector<std::string> ReadKeyNames(const std::string& file, std::string_view section,
                                                std::size_t buffer_size) = 0;

  /// A whole section in one read, a line per key in file order as
  /// "name=value" with the blanks around both taken off, a line without "="
  /// as it stands; comment lines are left out and quotes are kept. As many
  /// lines as fit in buffer_size bytes with a zero after each (the last may
  /// be cut short). Empty when the file or section is missing. Never throws.
  virtual std::vector<std::string> ReadSection(const std::string& file, std::string_view section,
                                               std::size_t buffer_size) = 0;
};

}  // namespace setup
