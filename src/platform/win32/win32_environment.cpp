#include "platform/win32/win32_environment.h"

#include <windows.h>

namespace setup {

std::optional<std::string> Win32Environment::Variable(std::string_view name) {
  std::string name_text(name);
  // The first call asks for the size with the terminator; a value that grows
  // before the read is asked for again.
  DWORD size = GetEnvironmentVariableA(name_text.c_str(), nullptr, 0);
  for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
    std::string value(size, '\0');
    DWORD got = GetEnvironmentVariableA(name_text.c_str(), value.data(), size);
    if (got < size) {
      value.resize(got);
      return value;
    }
    size = got;
  }
  return std::nullopt;
}

bool Win32Environment::RunsAsLocalSystem() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  // A TOKEN_USER with room for the largest SID.
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  bool system = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid);
  CloseHandle(token);
  return system;
}

}  // namespace setup
