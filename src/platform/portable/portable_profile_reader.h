#pragma once

#include "platform/portable/portable_file_system.h"
#include "platform/profile_reader.h"

namespace setup {

/// Reads initialisation files through a PortableFileSystem's drive map with the habits of the Windows private-profile
/// read: lines before the first section are ignored; section and key names are trimmed and matched regardless of case;
/// only the first section of a name counts and the first key of a name wins; a value loses its surrounding blanks and
/// then one pair of matching double or single quotes; a NUL ends a name or a
/// value; key lists leave out lines without "=" and names starting with ";",
/// and whole sections leave out the latter and keep quotes.
/// The file is read in blocks, so a huge file or line costs bounded memory.
class PortableProfileReader : public ProfileReader {
 public:
  explicit PortableProfileReader(const PortableFileSystem& files) : files_(files) {}

  std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t buffer_size) override;
  std::vector<std::string> ReadKeyNames(const std::string& file, std::string_view section,
                                        std::size_t buffer_size) override;
  std::vector<std::string> ReadSection(const std::string& file, std::string_view section,
                                       std::size_t buffer_size) override;

 private:
  const PortableFileSystem& files_;
};

}  // namespace setup
