#pragma once

#include "platform/profile_reader.h"

namespace setup {

/// The real private-profile read, GetPrivateProfileStringA and
/// GetPrivateProfileSectionA.
class Win32ProfileReader : public ProfileReader {
 public:
  std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t buffer_size) override;
  std::vector<std::string> ReadKeyNames(const std::string& file, std::string_view section,
                                        std::size_t buffer_size) override;
  std::vector<std::string> ReadSection(const std::string& file, std::string_view section,
                                       std::size_t buffer_size) override;
};

}  // namespace setup
