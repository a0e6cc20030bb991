#include "platform/win32/win32_profile_reader.h"

#include <windows.h>

namespace setup {
namespace {

// The texts the system wrote into the buffer, each ending in a zero; when
// the buffer was too small the last one is cut short and the length is
// buffer_size - 2.
std::vector<std::string> ZeroEndedTexts(const std::string& buffer, DWORD length) {
  std::vector<std::string> texts;
  std::size_t end = length < buffer.size() ? length : buffer.size() - 2;
  std::size_t start = 0;
  while (start < end) {
    std::size_t zero = buffer.find('\0', start);
    if (zero == std::string::npos || zero > end) zero = end;
    texts.push_back(buffer.substr(start, zero - start));
    start = zero + 1;
  }
  return texts;
}

}  // namespace

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
  if (buffer_size < 2) return {};
  std::string buffer(buffer_size, '\0');
  std::string section_text(section);
  DWORD length = GetPrivateProfileStringA(section_text.c_str(), nullptr, "", buffer.data(),
                                          static_cast<DWORD>(buffer_size), file.c_str());
  return ZeroEndedTexts(buffer, length);
}

std::vector<std::string> Win32ProfileReader::ReadSection(const std::string& file, std::string_view section,
                                                         std::size_t buffer_size) {
  if (buffer_size < 2) return {};
  std::string buffer(buffer_size, '\0');
  std::string section_text(section);
  DWORD length =
      GetPrivateProfileSectionA(section_text.c_str(), buffer.data(), static_cast<DWORD>(buffer_size), file.c_str());
  return ZeroEndedTexts(buffer, length);
}

}  // namespace setup
