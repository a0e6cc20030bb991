#include "platform/win32/win32_profile_reader.h"

#include <windows.h>

namespace setup {

std::string Win32ProfileReader::ReadString(const std::string& file, std::string_view section, std::string_view key,
                                           std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  std::string buffer(buffer_size, '\0');
  std::string section_text(section);
  std::string key_text(key);
  DWORD length = GetPrivateProfileStringA(section_text.c_str(), key_text.c_str(), "", buffer.data(),
                                          static_cast<DWORD>(buffer_size), file.c_str());
  buffer.resize(length < buffer_size ? length : buffer_size - 1);
  buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
  return buffer;
}

std::vector<std::string> Win32ProfileReader::ReadKeyNames(const std::string& file, std::string_view section,
                                                          std::size_t buffer_size) {
  std::vector<std::string> names;
  if (buffer_size < 2) return names;
  std::string buffer(buffer_size, '\0');
  std::string section_text(section);
  DWORD length = GetPrivateProfileStringA(section_text.c_str(), nullptr, "", buffer.data(),
                                          static_cast<DWORD>(buffer_size), file.c_str());
  // Each name ends in a zero; when the buffer was too small the last one is
  // cut short and the length is buffer_size - 2.
  std::size_t end = length < buffer_size ? length : buffer_size - 2;
  std::size_t start = 0;
  while (start < end) {
    std::size_t zero = buffer.find('\0', start);
    if (zero == std::string::npos || zero > end) zero = end;
    names.push_back(buffer.substr(start, zero - start));
    start = zero + 1;
  }
  return names;
}

}  // namespace setup
